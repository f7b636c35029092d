#include <gtest/gtest.h>

#include <string>

#include "support/Rig.h"

namespace tunx::test {
namespace {

// The output-stage controls record their settings for the next command sequence; a level
// text that is no 16-bit number leaves the level as it was. None of them sends anything.
TEST(OutputStageControls, RecordTheirSettingsAndSendNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    for (const auto& [box, flag] : {std::pair{"atten", &GeneratorState::sgatten},
                                    {"undersmon", &GeneratorState::undersmonflag},
                                    {"lowgain", &GeneratorState::lowgain},
                                    {"compon", &GeneratorState::compon}}) {
        for (const int value : {1, 0, 1, 2}) {  // 2, greyed, is not ticked
            rig.w().check(box, value);
            EXPECT_EQ(rig.s().gen.*flag, value == 1) << box << " " << value;
        }
    }
    for (const auto& [typed, level] : {std::pair{"12.5", 12},
                                       {"13.5", 14},
                                       {" 7 ", 7},
                                       {"-32768", -32768},
                                       {"1e3", 1000},
                                       {"", 555},
                                       {"abc", 555},
                                       {"-", 555},
                                       {"1e", 555},
                                       {"32768", 555},
                                       {"1e400", 555},
                                       {"nan", 555}}) {
        rig.s().gen.sgaten = 555;
        rig.w().typeText("tbsgaten", typed);
        EXPECT_EQ(rig.s().gen.sgaten, level) << '"' << typed << '"';
    }
    rig.w().typeText("ampgain", "-1e3");
    rig.w().typeText("ampgain", "x");
    EXPECT_EQ(rig.s().gen.ampgain, -1000);
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx::test
