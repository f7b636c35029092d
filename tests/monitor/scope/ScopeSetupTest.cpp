// The frames that arm an acquisition, for the settings that change them.
#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

using ScopeSetup = MonitorRig;

TEST(ScopeSetupFrames, TriggerAndRecordCommandsFollowThePanel) {
    struct Row {
        const char* settings;
        bool longRecord;
        Frame trigger;  // command 35
        Frame record;   // command 36 or 42
        std::uint32_t readTimeout;
    };
    const Row rows[] = {
        {"selmonmode=Scope CH1", false, {35, 0, 160, 0, 1, 2}, {36, 0, 0, 2, 113, 2}, 3000},
        // 1us/div: the 40 MHz clock, divider 0.
        {"seltimediv=1us/div", false, {35, 0, 160, 0, 1, 2}, {36, 0, 0, 0, 0, 2}, 3000},
        {"trigmode=Normal", false, {35, 0, 160, 1, 1, 2}, {36, 0, 0, 2, 113, 3}, 3000},
        {"selmonmode=Scope CH1+CH2|trigmode=Normal|trigeredge=Negative|trigsource=CH2",
         false,
         {35, 0, 160, 22, 1, 2},
         {36, 0, 0, 2, 113, 3},
         3000},
        {"trigmode=Auto", false, {35, 0, 160, 0, 1, 2}, {36, 0, 0, 2, 113, 2}, 3000},
        {"trigmode=Normal", true, {35, 0, 160, 1, 1, 2}, {36, 0, 0, 2, 113, 4}, 3000},
        {"selmonmode=Scope CH2", false, {35, 0, 160, 0, 1, 3}, {36, 0, 0, 2, 113, 2}, 3000},
        {"seltimediv=10ms/div", false, {35, 0, 160, 0, 1, 2}, {42, 0, 0, 24, 106, 2}, 3000},
        // The 12-bit trigger level: 320/512 of the span of 3996 codes, 2497.5, rounded up.
        {"adcselect=12 bit 480Ks", false, {35, 9, 194, 0, 1, 2}, {36, 0, 0, 2, 88, 66}, 3000},
        // 200ms/div streams, without the long record.
        {"adcselect=12 bit 480Ks|seltimediv=200ms/div",
         true,
         {35, 9, 194, 0, 1, 2},
         {42, 0, 1, 232, 72, 194},
         30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.settings);
        Rig rig;
        ASSERT_TRUE(rig.start());
        Form1& w = rig.program.monitor();
        chooseAll(rig, std::string("selmonmode=Scope CH1|") + row.settings);
        w.reclenght->value = row.longRecord ? 1 : 0;
        rig.program.dispatch(w, "cmdstartsweep_Click");
        const std::size_t from = rig.mark();
        rig.program.tick();
        const auto sent = rig.frames(from);
        EXPECT_EQ(lastOf(sent, 35), row.trigger);
        EXPECT_EQ(lastOf(sent, row.record[0]), row.record);
        EXPECT_EQ(rig.sim.readTimeout(), row.readTimeout);
        EXPECT_EQ(w.reclenght->value, row.longRecord && row.readTimeout != 30);
        EXPECT_EQ(rig.s().mon.monstate, "scope");
        EXPECT_TRUE(rig.messages().empty());
    }
}

// The fast time bases switch the converter's clock; the first set-up of a start synchronises
// the clock, the second of the same start does not.
TEST_F(ScopeSetup, TheFastTimeBasesSwitchTheAdcClockAndSynchroniseOnce) {
    set("selmonmode=Scope CH1|seltimediv=1us/div");
    EXPECT_FLOAT_EQ(mon().hexpand, 1.6f);
    EXPECT_EQ(m().fftmaxfrequency->text, "20,000,000 Hz");
    click("cmdstartsweep_Click");
    std::size_t from = mark();
    tick();
    EXPECT_EQ(mon().adcclk, 40);
    EXPECT_EQ(framesOf(from, 41).size(), 1u);
    EXPECT_EQ(lastOf(from, 32), (Frame{32, 4, 11, 1, 0, 0}));
    choose(m().seltimediv, "2us/div");  // the running scope starts over
    from = mark();
    tick();
    EXPECT_EQ(mon().adcclk, 20);
    EXPECT_EQ(framesOf(from, 41).size(), 1u);
}

// A refused choice changes nothing, and its list shows the choice in force again.
TEST_F(ScopeSetup, RefusedSettingsChangeNothing) {
    set("selmonmode=Scope CH1|adcselect=12 bit 480Ks");
    const std::int32_t divider = mon().adcdiv;
    const std::size_t from = mark();
    set("seltimediv=1ns/div|seltimediv=1ns/div|ch1vdiv=10mV|ch1vdiv=3V|seltimediv=fast");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Invalid time base for ADC Mode! 8 bit 40Ms mode will be selected",
                  "Invalid time base for Real time Mode!", "10mV/div works only with 12bit ADC",
                  "Invalid time base for Real time Mode!"}));
    EXPECT_EQ(m().adcselect->text, "8 bit 40Ms");
    EXPECT_EQ(m().ch1vdivtext->text, "1V");
    EXPECT_EQ(m().seltimediv->text + " " + m().ch1vdiv->text, "1ms/div 1V");
    EXPECT_EQ(mon().adcdiv, divider);
    // Only the position goes out again (the slider is applied first), with the same value.
    for (const Frame& f : frames(from)) {
        EXPECT_EQ(std::pair(f[0], f[3]), std::pair(31, 8));
    }
}

TEST_F(ScopeSetup, TheCalibrationVariantIsFreeRunningWithCommand36) {
    set("selmonmode=Scope CH1|seltimediv=10ms/div|trigmode=Normal");
    const std::size_t from = mark();
    click("Command2_Click");
    EXPECT_EQ(lastOf(from, 35)[3], 0);  // free-running whatever the trigger mode
    EXPECT_EQ(lastOf(from, 36), (Frame{36, 0, 0, 24, 106, 2}));
    // The read-out re-arms as the time base asks, without the "Normal" mode byte.
    EXPECT_EQ(lastOf(from, 42), (Frame{42, 0, 0, 24, 106, 2}));
}

}  // namespace
}  // namespace tunx::test
