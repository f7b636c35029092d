// The frequency counter: signals counted on the virtual bench on each range, the frames of the
// ranges and of a reading, and the counter's failures.
#include <algorithm>
#include <cctype>
#include <optional>

#include "monitor/MonitorRig.h"
#include "ports/Canvas.h"
#include "ports/Recording.h"
#include "support/UsbPassThrough.h"

namespace tunx::test {
namespace {

using FrequencyCounter = MonitorRig;

constexpr int kCountStart = 39;
constexpr int kSampleRequest = 37;

TEST_F(FrequencyCounter, CountsTheSignalAtCh2InOnEachRange) {
    struct Row {
        const char* what;
        const char* bench;  // a sim instruction, or the generator's frequency in MHz
        const char* range;
        const char* shown;
        double counts;  // the counter's own +-1 count, times the prescaler, where it shows
    };
    const Row rows[] = {
        {"1 MHz direct", "1", "1Hz - 20Mhz", "1,000,000", 0},
        {"12.345678 MHz direct", "12.345678", "1Hz - 20Mhz", "12,345,678", 1},
        {"100 MHz through the prescaler of 16", "100", "10-300Mhz", "100,000,000", 0},
        {"128 MHz through the prescaler of 128", "signal CH2 sine 128M 1", "200-2000Mhz",
         "128,000,000", 0},
        {"1.5 GHz through the prescaler of 128", "signal CH2 sine 1500M 1", "200-2000Mhz",
         "1,500,000,000", 128},
        {"a square wave", "signal CH2 square 12345 0.1", "1Hz - 20Mhz", "12,345", 1},
        {"15 mVpp is below the counter's input", "signal CH2 sine 1M 0.015", "1Hz - 20Mhz", "0", 0},
        {"nothing at CH2 IN", "wire CH2 off", "1Hz - 20Mhz", "0", 0},
        // Above a range the count says nothing of the frequency.
        {"100 MHz direct", "signal CH2 sine 100M 1", "1Hz - 20Mhz", "Over range", 0},
        {"400 MHz through the prescaler of 16", "signal CH2 sine 400M 1", "10-300Mhz", "Over range",
         0},
        {"2.2 GHz through the prescaler of 128", "signal CH2 sine 2200M 1", "200-2000Mhz",
         "Over range", 0},
    };
    choose(m().selmonmode, "Frequency Counter");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (std::isdigit(row.bench[0])) {
            generatorSine(row.bench, "MHz", "1");
        } else {
            instruct(row.bench);
        }
        choose(m().frangesel, row.range);
        click("cmdstartsweep_Click");
        for (int reading = 0; reading < 3; ++reading) {
            tick();
            if (std::isdigit(row.shown[0])) {
                EXPECT_NEAR(number(m().frcountertxt->text), number(row.shown), row.counts);
            } else {
                EXPECT_EQ(m().frcountertxt->text, row.shown);
            }
        }
        EXPECT_EQ(mon().monstate, "Frequency Counter");
        EXPECT_EQ(m().textstatus->text, "Running");
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(FrequencyCounter, RangesSendTheirCommandsAtOnce) {
    struct Row {
        const char* range;
        std::int32_t prescale;
        std::vector<Frame> frames;
    };
    const Row rows[] = {
        {"1Hz - 20Mhz", 1, {{32, 4, 8, 0, 0, 0}, {32, 4, 4, 1, 0, 0}}},
        {"10-300Mhz",
         16,
         {{32, 4, 8, 1, 0, 0}, {32, 4, 4, 0, 0, 0}, {40, 3, 128, 40, 0, 0}, {40, 0, 0, 129, 0, 0}}},
        {"200-2000Mhz",
         128,
         {{32, 4, 8, 1, 0, 0}, {32, 4, 4, 0, 0, 0}, {40, 3, 0, 40, 0, 0}, {40, 0, 2, 3, 0, 0}}},
        {"300Mhz", 128, {}},  // a typed text that names no range does nothing
    };
    // Choosing the mode applies the range shown, before START.
    std::size_t from = mark();
    choose(m().selmonmode, "Frequency Counter");
    EXPECT_EQ(frames(from), rows[0].frames);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.range);
        from = mark();
        choose(m().frangesel, row.range);
        EXPECT_EQ(frames(from), row.frames);
        EXPECT_EQ(mon().fcprescale, row.prescale);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(FrequencyCounter, OneReadingStartsWaitsAndReadsTheSamplesBack) {
    choose(m().selmonmode, "Frequency Counter");
    click("cmdstartsweep_Click");
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(frames(from), (std::vector<Frame>{{kCountStart, 3, 240, 0, 0, 0},
                                                {kSampleRequest, 7, 224, 0, 0, 0}}));
    EXPECT_EQ(mon().fcsamples, 1008);
    // Counting time, then the 3 s time-outs, then the samples.
    const std::vector<std::string> lines = rig.lines(from);
    const auto at = [&](const std::string& prefix) {
        return std::find_if(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.starts_with(prefix); });
    };
    EXPECT_LT(at("sleep 200"), at("timeouts 3000 3000"));
    EXPECT_LT(at("timeouts 3000 3000"), at("read 2016 -> "));
    EXPECT_NE(at("read 2016 -> "), lines.end());
}

// The program against the virtual instrument with a transport in between that can bend the
// counter's counting-done reply.
class CounterReplies : public UsbPassThrough {
  public:
    using UsbPassThrough::UsbPassThrough;

    std::optional<std::uint8_t> doneByte;  // replaces the first byte of the counting-done reply
    bool doneLost = false;                 // the counting-done reply never comes

    int SI_Write(DeviceHandle h, std::span<const std::uint8_t> data, std::uint32_t& n) override {
        if (data.size() == 8) {
            lastCode_ = data[1];
        }
        return UsbPassThrough::SI_Write(h, data, n);
    }
    int SI_Read(DeviceHandle h, std::span<std::uint8_t> buffer, std::uint32_t& n) override {
        const int status = UsbPassThrough::SI_Read(h, buffer, n);
        if (lastCode_ == kCountStart && buffer.size() == 2) {
            if (doneLost) {
                std::fill(buffer.begin(), buffer.end(), 0);
                n = 0;
                return usb::kReadTimedOut;
            }
            if (doneByte) {
                buffer[0] = *doneByte;
            }
        }
        return status;
    }

  private:
    int lastCode_ = 0;
};

struct BentCounter {
    BentCounter() { program.start(); }

    // The counter on `range`, started, one reading taken.
    void read(const std::string& range) {
        Form1& w = program.monitor();
        program.dispatch([&] { w.choose(*w.selmonmode, "Frequency Counter"); });
        program.dispatch([&] { w.choose(*w.frangesel, range); });
        program.dispatch(w, "cmdstartsweep_Click");
        program.tick();
    }

    HeadlessUi ui;
    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    CounterReplies usb{sim};
    BlankCanvas canvas;
    Program program{usb, clock, ui, canvas, TUNX_SHARE_DIR};
};

TEST(FrequencyCounterSamples, ACountingThatFailsStopsTheCounterWithItsMessage) {
    struct Row {
        const char* what;
        std::optional<std::uint8_t> doneByte;
        bool doneLost;
        int cut;  // bytes missing from the samples
    };
    const Row rows[] = {
        {"a first reply byte of 66", 66, false, 0},
        {"no counting-done reply", std::nullopt, true, 0},
        {"samples that arrive short", std::nullopt, false, 10},
        {"no sample at all", std::nullopt, false, 2016},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        BentCounter bench;
        ASSERT_EQ(bench.sim.instruct(splitWords("signal CH2 sine 1M 1")), std::nullopt);
        bench.read("1Hz - 20Mhz");  // a good reading first
        Form1& w = bench.program.monitor();
        const std::string before = w.frcountertxt->text;
        ASSERT_NE(before, "0");
        bench.usb.doneByte = row.doneByte;
        bench.usb.doneLost = row.doneLost;
        bench.sim.cutNextRecord(row.cut);
        bench.program.tick();
        EXPECT_EQ(bench.ui.texts(), std::vector<std::string>{"Freq Count error"});
        EXPECT_EQ(bench.program.state().mon.monstate, "idle");
        EXPECT_EQ(w.frcountertxt->text, before);  // nothing computed from stale bytes
        // The next tick shows the error state, not "Running" beside the last reading; the
        // counter stays stopped until START.
        bench.program.tick();
        EXPECT_EQ(bench.ui.texts().size(), 1u);
        EXPECT_EQ(w.textstatus->text, "TUNX ERROR");
        EXPECT_EQ(bench.program.state().mon.monstate, "stoped");
        bench.usb.doneByte.reset();
        bench.usb.doneLost = false;
        bench.program.dispatch(w, "cmdstartsweep_Click");
        bench.program.tick();
        EXPECT_EQ(w.frcountertxt->text, before);
        EXPECT_EQ(bench.program.state().mon.monstate, "Frequency Counter");
    }
}

TEST_F(FrequencyCounter, RefusedCommandsGiveTheirMessages) {
    choose(m().selmonmode, "Frequency Counter");
    rig.sim.nakNext(3, 2);  // the first code-40 command of the range is refused
    choose(m().frangesel, "10-300Mhz");
    EXPECT_EQ(messages(), (std::vector<std::string>{"_Relay_ON_CommError", "Error Sending Data.",
                                                    "Error seting Fr. Counter"}));
    EXPECT_EQ(mon().fcprescale, 16);  // already the new range's
    click("cmdstartsweep_Click");
    rig.sim.nakNext(3);  // the counting start is refused
    tick();
    EXPECT_EQ(messages().at(3), "_Set_Freq_CommError");
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
}

}  // namespace
}  // namespace tunx::test
