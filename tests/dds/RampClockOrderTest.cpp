#include <gtest/gtest.h>

#include <string>

#include "dds/Ramp.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

// The ramp shows its step rate only after the clock setting was taken, and keeps it in clklabel
// only after control register 2 was taken: a refused command leaves the older texts.
class RampClockOrder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.s().host.groupSeparator = ',';
        rig.s().gen.clklabel = "previous";
        rig.w()["lmainclk"].text = "shown before";
        rig.w()["Frek"].text = "1000";
        rig.w()["frequnit"].text = "Hz";
        rig.w()["multi2"].text = "10";
        rig.ui.messages.clear();
    }

    Rig rig;
};

TEST_F(RampClockOrder, RefusedClockSettingKeepsTheShownClock) {
    rig.sim.nakNext(3, 1);  // the output path passes, the clock setting is refused three times
    SetRampUp(rig.w(), rig.link());
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.w()["lmainclk"].text, "shown before");
    EXPECT_EQ(rig.s().gen.clklabel, "previous");
}

TEST_F(RampClockOrder, RefusedControlRegisterShowsTheRateButKeepsClklabel) {
    rig.sim.nakNext(3, 2);  // output path and clock setting pass, code 24 is refused
    const std::size_t mark = rig.mark();
    SetRampUp(rig.w(), rig.link());
    EXPECT_TRUE(rig.s().gen.sgerror);
    const auto frames = rig.frames(mark);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames.back(), (Frame{24, 0, 2, 60, 0, 0}));
    EXPECT_EQ(rig.w()["lmainclk"].text, "30,000,000Hz");
    EXPECT_EQ(rig.s().gen.clklabel, "previous");
}

}  // namespace
}  // namespace tunx::test
