// The oscilloscope judged physically on the virtual instrument: a known signal in, the
// expected picture out; and the read-out's answers to a record that does not come whole.
#include <algorithm>

#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

using Scope = MonitorRig;

// 1 kHz, 4 Vpp at 1 V/div and 1 ms/div: four divisions tall, a period per division, centred
// on the CH1 position; an input offset and the position move it.
TEST_F(Scope, AOneKilohertzFourVoltSineIsFourDivisionsTallWithAPeriodPerDivision) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 2);
    std::size_t from = mark();
    tick();
    const Trace s = shape(from, kRed);
    EXPECT_NEAR(s.pp, 4 * 64, 6);
    EXPECT_NEAR(s.mid, 512 - 256, 4);
    EXPECT_NEAR(s.period, 64, 1);
    EXPECT_EQ(m().textstatus->text, "Running");

    instruct("offset CH1 250");  // a quarter division up at 1 V/div
    from = mark();
    tick();
    EXPECT_NEAR(shape(from, kRed).mid, 512 - 256 - 16, 2);
    instruct("offset CH1 0");
    tab(m().TabStrip2, 1);
    slide(700);  // position 350
    tick();
    from = mark();
    tick();
    EXPECT_NEAR(shape(from, kRed).mid, 512 - 350, 3);
}

// Samples are timed by the rate the converter really takes them at, which differs from 64 a
// division at some time bases (2us/div: 40 MHz / 6): the measured frequency, the spectrum's
// axis and the export's time step agree with the signal.
TEST_F(Scope, RecordsAreTimedByTheConvertersRealRate) {
    struct Row {
        const char *settings, *frek, *unit;
        double rate;
        const char *frequency, *highest;  // the measurement's, fftmaxfrequency
    };
    const Row rows[] = {
        {"seltimediv=2us/div", "200", "kHz", 40e6 / 6, "200 kHz", "3,333,333 Hz"},
        {"seltimediv=5us/div", "100", "kHz", 40e6 / 6, "100 kHz", "3,333,333 Hz"},
        {"seltimediv=50us/div", "20", "kHz", 40e6 / 32, "20.0 kHz", "625,000 Hz"},
        {"seltimediv=200us/div|adcselect=12 bit 480Ks", "2", "kHz", 40e6 / 124, "2.00 kHz",
         "161,290 Hz"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.settings);
        generatorSine(row.frek, row.unit, "4");
        set(std::string("selmonmode=Scope CH1|adcselect=8 bit 40Ms|") + row.settings);
        m().reclenght->value = 1;
        click("cmdstartsweep_Click");
        tick(3);
        EXPECT_TRUE(m().measch1->text.ends_with(std::string("  ") + row.frequency))
            << m().measch1->text;
        EXPECT_EQ(m().fftmaxfrequency->text, row.highest);
        ASSERT_TRUE(mon().capture);
        EXPECT_DOUBLE_EQ(mon().capture->interval, 1 / row.rate);
        click("cmdstop_Click");
    }
}

TEST_F(Scope, UndersamplingShowsTwentyMegahertzWithAPeriodEveryFiveDivisions) {
    generatorSine("20", "MHz", "2");
    set("selmonmode=Scope CH1|scopemode=Undersampling|seltimediv=10ns/div");
    EXPECT_EQ(m().tdivtext->text, "10ns");
    click("cmdstartsweep_Click");
    tick(2);
    const std::size_t from = mark();
    tick();
    EXPECT_NEAR(shape(from, kRed).period, 5 * 64, 3);
}

TEST_F(Scope, BothChannelsAreDrawnCh1FirstEachAtItsPosition) {
    generatorSine("1", "kHz", "2");
    runScope("Scope CH1+CH2", 2);
    const std::size_t from = mark();
    tick();
    EXPECT_NEAR(shape(from, kRed).mid, 512 - 256, 4);
    const Trace ch2 = shape(from, kYellow);
    EXPECT_NEAR(ch2.mid, 512 - 128, 4);
    EXPECT_NEAR(ch2.pp, 2 * 64, 6);
    const auto lines = drawn(from);
    const auto first = [&](const char* colour) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const Drawn& d) { return d.colour == colour; });
    };
    EXPECT_LT(first(kRed), first(kYellow));
}

// What a tick shows when the record does not come whole or the re-arm fails, and the tick
// after it.
TEST(ScopeRecords, ARecordThatDoesNotComeWholeIsNeverDrawn) {
    struct Row {
        const char *settings, *bench, *fault;  // before START; after two ticks
        const char *status, *state, *message;  // after the next tick ("": no message)
        bool drawn;
        const char* then;  // the status a tick later
    };
    const Row rows[] = {
        {"", "", "cut 10", "Waiting for Trigger", "scope", "", false, "Running"},
        {"trigmode=Normal", "wire CH1 off", "", "Waiting for Trigger", "scope", "", false,
         "Waiting for Trigger"},
        {"trigmode=Single", "", "", "Stopped", "stoped", "", false, "Stopped"},
        // The record request passes, the re-arm is refused.
        {"", "", "nak 3 after 1", "TUNX ERROR", "idle", "Error Displaying scope", true,
         "TUNX ERROR"},
        {"", "", "mute 100", "TUNX ERROR", "idle", "Error Displaying scope", false, "TUNX ERROR"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.settings) + row.bench + row.fault);
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.wiring.recordingCanvas().setLines(true);
        Form1& w = rig.program.monitor();
        generatorSine(rig, "1", "kHz", "4");
        chooseAll(rig, std::string("selmonmode=Scope CH1|") + row.settings);
        if (*row.bench != 0) {
            instruct(rig, row.bench);
        }
        rig.program.dispatch(w, "cmdstartsweep_Click");
        rig.program.tick();
        rig.program.tick();
        if (*row.fault != 0) {
            instruct(rig, row.fault);
        }
        const std::size_t from = rig.mark();
        rig.program.tick();
        EXPECT_EQ(w.textstatus->text, row.status);
        EXPECT_EQ(rig.s().mon.monstate, row.state);
        EXPECT_EQ(rig.messages().empty() ? "" : rig.messages().back(), row.message);
        EXPECT_EQ(trace(rig, from, kRed).empty(), !row.drawn);  // stale bytes are never drawn
        const std::size_t next = rig.mark();
        rig.program.tick();
        EXPECT_EQ(w.textstatus->text, row.then);
        EXPECT_EQ(trace(rig, next, kRed).empty(), std::string(row.then) != "Running");
    }
}

TEST_F(Scope, TheRollingDisplayDrawsWhatStreamsAndAdvancesItsColumn) {
    generatorSine("1", "Hz", "4");
    choose(m().seltimediv, "200ms/div");
    runScope("Scope CH1", 1);
    ASSERT_TRUE(mon().vslowtb);
    EXPECT_EQ(frames(0).back()[5], 2 + 128);  // streaming record set-up
    const int before = mon().rolling.column;
    const std::size_t from = mark();
    tick();
    const int added = mon().rolling.column - before;
    EXPECT_GT(added, 0);
    EXPECT_LE(added, 50);  // 100 bytes at most, one CH1 byte in each pair
    EXPECT_EQ(static_cast<int>(trace(from, kRed).size()),
              std::max(0, mon().rolling.column - std::max(before, 4)));
}

}  // namespace
}  // namespace tunx::test
