#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/Rig.h"

namespace tunx::test {
namespace {

TEST(OutputStageControls, CheckBoxesSetTheirFlags) {
    struct Row {
        const char* box;
        bool GeneratorState::*flag;
    };
    for (const Row& r :
         {Row{"atten", &GeneratorState::sgatten}, Row{"undersmon", &GeneratorState::undersmonflag},
          Row{"lowgain", &GeneratorState::lowgain}, Row{"compon", &GeneratorState::compon}}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.w().check(r.box, 1);
        EXPECT_TRUE(rig.s().gen.*r.flag) << r.box;
        rig.w().check(r.box, 0);
        EXPECT_FALSE(rig.s().gen.*r.flag) << r.box;
        rig.w().check(r.box, 1);
        rig.w().check(r.box, 2);  // greyed is not ticked
        EXPECT_FALSE(rig.s().gen.*r.flag) << r.box;
    }
}

TEST(OutputStageControls, LevelBoxSetsSgatenFromARoundedNumber) {
    struct Row {
        const char* typed;
        std::optional<int> sgaten;  // nullopt: left as it was
    };
    const Row rows[] = {
        {"100", 100},
        {"2046", 2046},
        {"12.5", 12},
        {"13.5", 14},
        {" 7 ", 7},
        {"-32768", -32768},
        {"32767", 32767},
        {"1e3", 1000},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"1e", std::nullopt},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"1e10", std::nullopt},
        {"1e400", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
    };
    for (const Row& r : rows) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.s().gen.sgaten = 555;
        rig.w().typeText("tbsgaten", r.typed);
        EXPECT_EQ(rig.s().gen.sgaten, r.sgaten.value_or(555)) << '"' << r.typed << '"';
        EXPECT_TRUE(rig.messages().empty());
    }
}

TEST(OutputStageControls, GainBoxRecordsItsNumber) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w().typeText("ampgain", "2.5");
    EXPECT_EQ(rig.s().gen.ampgain, 2.5);
    rig.w().typeText("ampgain", "x");
    EXPECT_EQ(rig.s().gen.ampgain, 2.5);
    rig.w().typeText("ampgain", "");
    EXPECT_EQ(rig.s().gen.ampgain, 2.5);
    rig.w().typeText("ampgain", "-1e3");
    EXPECT_EQ(rig.s().gen.ampgain, -1000);
}

TEST(OutputStageControls, NoneSendsACommand) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    for (const char* box : {"atten", "undersmon", "lowgain", "compon"}) {
        rig.w().check(box, 1);
    }
    rig.w().typeText("tbsgaten", "300");
    rig.w().typeText("ampgain", "3");
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx::test
