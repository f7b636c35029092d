// The frames that arm an acquisition, for the settings that change them.
#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

using ScopeSetup = MonitorRig;

// The last frame with code `code` since `from`.
Frame lastOf(const std::vector<Frame>& frames, int code) {
    for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        if ((*it)[0] == code) {
            return *it;
        }
    }
    return {};
}

struct Row {
    const char* what;
    const char* mode;
    std::vector<std::pair<Ctl Form1Controls::*, const char*>> settings;
    bool longRecord;
    Frame trigger;  // command 35
    Frame record;   // command 36 or 42
    int readTimeout;
};

TEST_F(ScopeSetup, TriggerAndRecordCommandsFollowThePanel) {
    const Row rows[] = {
        {"free-running at 1ms/div",
         "Scope CH1",
         {},
         false,
         {35, 0, 160, 0, 1, 2},
         {36, 0, 0, 2, 113, 2},
         3000},
        {"1us/div: 40 MHz clock, divider 0",
         "Scope CH1",
         {{&Form1Controls::seltimediv, "1us/div"}},
         false,
         {35, 0, 160, 0, 1, 2},
         {36, 0, 0, 0, 0, 2},
         3000},
        {"normal, positive, CH1",
         "Scope CH1",
         {{&Form1Controls::trigmode, "Normal"}},
         false,
         {35, 0, 160, 1, 1, 2},
         {36, 0, 0, 2, 113, 3},
         3000},
        {"CH2 source, 8-bit, negative, normal",
         "Scope CH1+CH2",
         {{&Form1Controls::trigmode, "Normal"},
          {&Form1Controls::trigeredge, "Negative"},
          {&Form1Controls::trigsource, "CH2"}},
         false,
         {35, 0, 160, 22, 1, 2},
         {36, 0, 0, 2, 113, 3},
         3000},
        {"auto sends no trigger code and mode 2",
         "Scope CH1",
         {{&Form1Controls::trigmode, "Auto"}},
         false,
         {35, 0, 160, 0, 1, 2},
         {36, 0, 0, 2, 113, 2},
         3000},
        {"normal with the long record is mode 4",
         "Scope CH1",
         {{&Form1Controls::trigmode, "Normal"}},
         true,
         {35, 0, 160, 1, 1, 2},
         {36, 0, 0, 2, 113, 4},
         3000},
        {"CH2 alone names its source",
         "Scope CH2",
         {},
         false,
         {35, 0, 160, 0, 1, 3},
         {36, 0, 0, 2, 113, 2},
         3000},
        {"10ms/div records with command 42",
         "Scope CH1",
         {{&Form1Controls::seltimediv, "10ms/div"}},
         false,
         {35, 0, 160, 0, 1, 2},
         {42, 0, 0, 24, 106, 2},
         3000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        Form1& w = fresh.program.monitor();
        const auto choose = [&](Ctl c, const char* text) {
            fresh.program.dispatch(w, [&] { w.choose(*c, text); });
        };
        choose(w.selmonmode, row.mode);
        for (const auto& [control, text] : row.settings) {
            choose(w.*control, text);
        }
        w.reclenght->value = row.longRecord ? 1 : 0;
        fresh.program.dispatch(w, "cmdstartsweep_Click");
        const std::size_t from = fresh.mark();
        fresh.program.tick();
        const auto sent = fresh.frames(from);
        EXPECT_EQ(lastOf(sent, 35), row.trigger);
        EXPECT_EQ(lastOf(sent, row.record[0]), row.record);
        EXPECT_EQ(fresh.s().mon.monstate, "scope");
        EXPECT_TRUE(fresh.messages().empty());
    }
}

TEST_F(ScopeSetup, TheFastTimeBasesSwitchTheAdcClockAndSynchroniseOnce) {
    choose(m().selmonmode, "Scope CH1");
    choose(m().seltimediv, "1us/div");
    EXPECT_FLOAT_EQ(mon().hexpand, 1.6f);
    EXPECT_EQ(m().fftmaxfrequency->text, "20,000,000 Hz");
    click("cmdstartsweep_Click");
    std::size_t from = mark();
    tick();
    auto sent = frames(from);
    EXPECT_EQ(mon().adcclk, 40);
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const Frame& f) { return f[0] == 41; }),
              1);
    EXPECT_EQ(lastOf(sent, 32 /* 4.11 */), (Frame{32, 4, 11, 1, 0, 0}));

    choose(m().seltimediv, "2us/div");  // the running scope starts over
    from = mark();
    tick();
    sent = frames(from);
    EXPECT_EQ(mon().adcclk, 20);
    // The first set-up of the start synchronises; the second of the same start does not.
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const Frame& f) { return f[0] == 41; }),
              1);
}

TEST_F(ScopeSetup, TheTwelveBitConverterAtTwoHundredMillisecondsStreams) {
    choose(m().selmonmode, "Scope CH1");
    choose(m().adcselect, "12 bit 480Ks");
    choose(m().seltimediv, "200ms/div");
    m().reclenght->value = 1;
    click("cmdstartsweep_Click");
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(lastOf(frames(from), 42)[5], 2 + 64 + 128);
    EXPECT_EQ(m().reclenght->value, 0);  // no long record at the slow time bases
    EXPECT_EQ(rig.sim.readTimeout(), 30u);
}

TEST_F(ScopeSetup, TheTwelveBitTriggerLevelFollowsTheSpan) {
    choose(m().selmonmode, "Scope CH1");
    choose(m().adcselect, "12 bit 480Ks");
    choose(m().seltimediv, "1ms/div");
    click("cmdstartsweep_Click");
    const std::size_t from = mark();
    tick();
    const Frame trigger = lastOf(frames(from), 35);
    const long level = std::lround(320.0 / 512 * mon().spanadc);
    EXPECT_EQ(trigger[1] * 256 + trigger[2], level & 0xFFFF);
}

TEST_F(ScopeSetup, RefusedSettingsChangeNothing) {
    choose(m().selmonmode, "Scope CH1");
    choose(m().adcselect, "12 bit 480Ks");
    const std::int32_t divider = mon().adcdiv;
    rig.ui.messages.clear();
    choose(m().seltimediv, "1ns/div");
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Invalid time base for ADC Mode! 8 bit 40Ms mode will be selected"});
    EXPECT_EQ(m().adcselect->text, "8 bit 40Ms");
    EXPECT_EQ(mon().adcdiv, divider);
    rig.ui.messages.clear();
    choose(m().seltimediv, "1ns/div");
    EXPECT_EQ(messages(), std::vector<std::string>{"Invalid time base for Real time Mode!"});

    rig.ui.messages.clear();
    const std::size_t from = mark();
    choose(m().ch1vdiv, "10mV");
    EXPECT_EQ(messages(), std::vector<std::string>{"10mV/div works only with 12bit ADC"});
    EXPECT_EQ(m().ch1vdivtext->text, "1V");
    // Only the position goes out again (the slider is applied first), with the same value.
    const auto sentOnly = [&] {
        for (const Frame& f : frames(from)) {
            if (f[0] != 31 || f[3] != 8) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(sentOnly());

    // Nonsense typed into the lists sends nothing and keeps the values.
    rig.ui.messages.clear();
    choose(m().ch1vdiv, "3V");
    choose(m().seltimediv, "fast");
    EXPECT_EQ(messages(), std::vector<std::string>{"Invalid time base for Real time Mode!"});
    EXPECT_TRUE(sentOnly());
    EXPECT_EQ(mon().adcdiv, divider);
}

TEST_F(ScopeSetup, ARefusedSetupCommandShowsItsMessageAndTheTimerStops) {
    runScope("Scope CH1", 0);
    rig.sim.nakNext(3, 2);
    tick();
    ASSERT_GE(messages().size(), 1u);
    EXPECT_EQ(messages().back(), "Error setting scope");
    EXPECT_TRUE(rig.s().gen.sgerror);
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
}

TEST_F(ScopeSetup, TheCalibrationVariantIsFreeRunningWithCommand36) {
    choose(m().selmonmode, "Scope CH1");
    choose(m().seltimediv, "10ms/div");
    choose(m().trigmode, "Normal");
    const std::size_t from = mark();
    click("Command2_Click");
    const auto sent = frames(from);
    EXPECT_EQ(lastOf(sent, 35)[3], 0);  // free-running whatever the trigger mode
    EXPECT_EQ(lastOf(sent, 36), (Frame{36, 0, 0, 24, 106, 2}));
    // The read-out re-arms as the time base asks, without the "Normal" mode byte.
    EXPECT_EQ(lastOf(sent, 42), (Frame{42, 0, 0, 24, 106, 2}));
}

}  // namespace
}  // namespace tunx::test
