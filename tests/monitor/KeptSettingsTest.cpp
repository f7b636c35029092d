// The monitor's settings kept from one run for the next, and "Restore defaults".
#include <gtest/gtest.h>

#include "MonitorRig.h"
#include "monitor/KeptSettings.h"

namespace tunx::test {
namespace {

using Remembered = MonitorRig;

constexpr const char* kUsersChoices =
    "selmonmode=Scope CH1|seltimediv=10us/div|ch1vdiv=0.2V|trigmode=Auto|trigeredge=Negative|"
    "fftwindow=Hann|combstarta=Vpp|stopfunit=kHz|frangesel=10-300Mhz";

// A user's settings come back in the next run through the handlers, with no message shown: the
// scope runs at once at the kept time base and V/div (a 25 kHz, 1 Vpp sine: 5 divisions tall at
// 0.2 V/div; at 10 us/div a record takes 5.714 MS/s, one sample a point: a period every 228.6).
TEST_F(Remembered, SettingsOfOneRunComeBackInTheNextAndMeasureAsChosen) {
    set(kUsersChoices);
    type(m().stopf, "500");
    generatorSine("25", "kHz", "1");
    click("cmdstartsweep_Click");
    tick(2);
    const KeptSettings kept = keptSettings(m());
    EXPECT_EQ(kept.at("seltimediv"), "10us/div");
    EXPECT_EQ(kept.at("stopf"), "500");
    EXPECT_EQ(kept.count("textstatus"), 0U);  // a readout, not a setting

    Rig next;
    ASSERT_TRUE(next.start());
    Form1& w = next.program.monitor();
    ASSERT_TRUE(next.program.restoreMonitor(kept));
    EXPECT_EQ(keptSettings(w), kept);
    EXPECT_EQ(w.tdivtext->text, "10us");
    EXPECT_EQ(w.ch1vdivtext->text, "0.2V");
    EXPECT_TRUE(next.messages().empty());

    tunx::test::generatorSine(next, "25", "kHz", "1");
    next.wiring.recordingCanvas().setLines(true);
    next.program.dispatch(w, "cmdstartsweep_Click");
    next.program.tick();
    next.program.tick();
    const std::size_t from = next.mark();
    next.program.tick();
    const Trace s = Trace([&] {
        std::vector<double> rows;
        for (const auto& point : tunx::test::trace(next, from, kRed)) {
            rows.push_back(point.second);
        }
        return rows.empty() ? std::vector<double>{-1} : rows;
    }());
    EXPECT_NEAR(s.pp, 5 * 64, 12);
    EXPECT_NEAR(s.period, 228.6, 3);
}

// A kept value that does not fit (an edited or damaged settings file), or that its handler
// refuses, leaves the control as it starts, silently.
TEST_F(Remembered, AValueThatDoesNotFitOrIsRefusedLeavesTheStartValueWithoutAMessage) {
    struct Row {
        const char* name;
        std::string value;
        const char* stays;
    };
    const Row rows[] = {
        {.name = "selmonmode", .value = "Scope CH9", .stays = "Frequency Sweep"},
        {.name = "seltimediv", .value = "3ms/div", .stays = "1ms/div"},
        {.name = "reclenght", .value = "2", .stays = "0"},
        {.name = "measstats", .value = "", .stays = "0"},
        {.name = "startf", .value = "abc", .stays = "1"},
        {.name = "startf", .value = "1e999", .stays = "1"},
        {.name = "stopf", .value = std::string(4000, '9'), .stays = "2"},
        // 10 mV/div needs the 12-bit converter: refused by its handler.
        {.name = "ch1vdiv", .value = "10mV", .stays = "1V"},
    };
    for (const Row& row : rows) {
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        const KeptSettings before = keptSettings(fresh.program.monitor());
        ASSERT_TRUE(fresh.program.restoreMonitor({{row.name, row.value}}));
        const KeptSettings after = keptSettings(fresh.program.monitor());
        EXPECT_EQ(after.at(row.name), row.stays) << row.name << "=" << row.value;
        EXPECT_EQ(after, before) << row.name << "=" << row.value;
        EXPECT_TRUE(fresh.messages().empty()) << row.name << "=" << row.value;
    }
}

// The 12-bit converter with a time base it cannot take: the converter stays 8 bit.
TEST_F(Remembered, AConverterThatCannotTakeTheKeptTimeBaseStaysAtItsStart) {
    ASSERT_TRUE(rig.program.restoreMonitor(
        {{"selmonmode", "Scope CH1"}, {"seltimediv", "10us/div"}, {"adcselect", "12 bit 480Ks"}}));
    EXPECT_EQ(m().adcselect->text, "8 bit 40Ms");
    EXPECT_EQ(m().tdivtext->text, "10us");
    EXPECT_TRUE(messages().empty());
}

// "Restore defaults" stops a measurement and brings back the monitor of the first start: its
// settings, positions and cursors.
TEST_F(Remembered, RestoreDefaultsBringsBackTheFirstStart) {
    const KeptSettings atStart = keptSettings(m());
    set(kUsersChoices);
    tab(m().TabStrip2, 1);
    slide(700);
    click("cmdstartsweep_Click");
    tick(2);
    ASSERT_NE(keptSettings(m()), atStart);
    ASSERT_TRUE(rig.program.restoreMonitorDefaults());
    EXPECT_EQ(keptSettings(m()), atStart);
    EXPECT_EQ(mon().ch1pos, 256);
    EXPECT_NE(m().textstatus->text, "Running");
    const std::size_t from = mark();
    tick(3);
    EXPECT_TRUE(frames(from).empty());  // nothing measures until START
}

// Before the monitor window has started (no instrument), nothing is put back.
TEST(RememberedWithoutInstrument, NothingIsRestoredBeforeTheMonitorStarts) {
    Rig none(std::vector<std::string>{});
    none.start();
    EXPECT_FALSE(none.program.restoreMonitor({{"selmonmode", "Scope CH1"}}));
    EXPECT_FALSE(none.program.restoreMonitorDefaults());
    EXPECT_EQ(none.program.monitor().selmonmode->text, "Frequency Sweep");
}

}  // namespace
}  // namespace tunx::test
