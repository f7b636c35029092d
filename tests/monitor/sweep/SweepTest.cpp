// The sweep analyser on the virtual bench: a device under test drawn as its response, levels
// read back as programmed, the frames of each step, and its answers to bad entries and to an
// instrument that stops answering.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"
#include "monitor/sweep/SweepLevel.h"

namespace tunx::test {
namespace {

constexpr int kPoints = 639;  // columns 34 to 672

class SweepAnalyser : public MonitorRig {
  protected:
    // The sweep points drawn since `from`: plot row by column (a line ends at its new point).
    std::map<int, int> points(std::size_t from) const {
        std::map<int, int> out;
        for (const Drawn& d : drawn(from)) {
            if (d.colour == "255" && d.width == 2) {
                out[static_cast<int>(d.x2)] = static_cast<int>(d.y2);
            }
        }
        return out;
    }
    // START and the set-up tick.
    void start() {
        click("cmdstartsweep_Click");
        tick();
    }
};

TEST_F(SweepAnalyser, ABandPassOfQFiveIsDrawnAsItsResonance) {
    instruct("wire CH1 dut");
    instruct("dut bandpass 1.5M 5");
    type(m().textstarta, "100");
    choose(m().selrfrange, "5dBmV/Div");  // 12.8 rows per dB
    const std::size_t from = mark();
    start();
    tick(kPoints);
    EXPECT_EQ(mon().monstate, "stoped");
    const std::map<int, int> trace = points(from);
    ASSERT_EQ(trace.size(), 637u);  // every point from column 36 on is joined to the one before
    EXPECT_EQ(trace.begin()->first, 36);

    // Column c carries 1 MHz + (c - 34) x 1562 Hz; the peak's columns share its row.
    const auto column = [](double hz) { return 34 + (hz - 1e6) / 1562; };
    const int top = std::min_element(trace.begin(), trace.end(), [](auto& a, auto& b) {
                        return a.second < b.second;
                    })->second;
    std::vector<int> peak, passband;  // columns at the top, and within 3 dB of it
    for (const auto& [c, row] : trace) {
        if (row == top) {
            peak.push_back(c);
        }
        if (row <= top + 3 * 12.8) {
            passband.push_back(c);
        }
    }
    EXPECT_NEAR((peak.front() + peak.back()) / 2.0, column(1.5e6), 2);
    // 3 dB down at f0 (sqrt(1 + 1 / 4Q^2) -+ 1 / 2Q).
    const double spread = std::sqrt(1 + 1 / 100.0);
    EXPECT_NEAR(passband.front(), column(1.5e6 * (spread - 0.1)), 2);
    EXPECT_NEAR(passband.back(), column(1.5e6 * (spread + 0.1)), 2);
}

// A level programmed through a plain wire reads back as itself on every scale, drawn where the
// mouse readout reads that level; a scale chosen during the sweep relabels the grid and draws
// the next points.
TEST_F(SweepAnalyser, TheProgrammedLevelReadsBackOnEveryScaleAtItsRow) {
    struct Row {
        const char *amplitude, *unit, *scale;
        double readout;
        int row;
        const char *bottom, *top, *gridUnit;
    };
    const Row rows[] = {
        {"100", "mVrms", "100mVrms/Div", 100, 480, "0", "800", "mVrms"},
        {"500", "mVrms", "250mVrms/Div", 500, 416, "0", "2000", "mVrms"},
        {"40", "dBmV", "5dBmV/Div", 40, 352, "25", "65", "dBmV"},
        {"-20", "dBV", "10dBV/Div", -20, 160, "-80", "0", "dBV"},
        {"-7", "dBm", "10dBm/Div", -7, 205, "-60", "20", "dBm"},
        {"-7", "dBm", "15dBm/Div", -7, 126, "-105", "15", "dBm"},
        {"1", "Vpp", "10dBV/Div", 20 * std::log10(1 / (4 * 1.4142)), 128, "-80", "0", "dBV"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.amplitude) + " " + row.unit + " on " + row.scale);
        type(m().textstarta, row.amplitude);
        choose(m().combstarta, row.unit);
        start();
        tick();
        choose(m().selrfrange, row.scale);
        EXPECT_EQ(std::tuple(m().ldiv0->text, m().ldiv8->text, m().ldivunit->text),
                  std::tuple(row.bottom, row.top, row.gridUnit));
        EXPECT_EQ(mon().monstate, "frsweeping");
        tick(2);
        const double tolerance = std::abs(row.readout) * 0.01 + 0.1;
        EXPECT_NEAR(number(m().Textpower->text), row.readout, tolerance);
        EXPECT_NEAR(mon().sweepy, row.row, 1);
        rig.program.dispatch([&] { m().Picture1_MouseMove(0, 0, 100, mon().sweepy); });
        const std::string mouse = m().labstartfr->text;
        EXPECT_NEAR(number(mouse.substr(0, mouse.find(' '))), row.readout,
                    tolerance + findDisplayScale(row.scale)->mousePerRow);
    }
}

// A scale chosen after the sweep draws the kept points again as a sweep on that scale would
// have drawn them, and converts the readout.
TEST_F(SweepAnalyser, AnotherScaleAfterTheSweepRedrawsItsPointsAndConvertsTheReadout) {
    instruct("wire CH1 dut");
    instruct("dut bandpass 1.5M 5");
    type(m().textstarta, "100");
    start();
    tick(kPoints);
    const double mvrms = number(m().Textpower->text);
    std::size_t from = mark();
    choose(m().selrfrange, "5dBmV/Div");
    const std::map<int, int> redrawn = points(from);
    const std::string readout = m().Textpower->text;
    EXPECT_NEAR(number(readout), 20 * std::log10(mvrms), 0.1);
    from = mark();
    start();
    tick(kPoints);
    EXPECT_EQ(redrawn, points(from));
    EXPECT_EQ(readout, m().Textpower->text);
}

// The sweep puts out the generator's sine itself: while it runs and after it, the generator
// window names it instead of showing its own settings running; RUN sends them again.
TEST_F(SweepAnalyser, TheGeneratorWindowNamesTheSweepUntilRunSendsItsOwnSettings) {
    generatorSine("1", "kHz", "2");
    for (const char* mode : {"Frequency Sweep", "Amplitude Sweep"}) {
        SCOPED_TRACE(mode);
        choose(m().selmonmode, mode);
        type(m().textstarta, "100");
        type(m().textstopa, "200");
        start();
        EXPECT_EQ(rig.w().StatusBar->text, std::string("Output taken by the monitor's ") + mode);
        tick(kPoints);
        EXPECT_EQ(rig.w().StatusBar->text, std::string("Output taken by the monitor's ") + mode);
        EXPECT_TRUE(rig.w().RUN->text.empty());
        ASSERT_TRUE(rig.run("RUN_Click"));
        EXPECT_EQ(rig.w().StatusBar->text, "Running Single Tone Sine");
        EXPECT_EQ(rig.w().RUN->text, "RUNNING");
        const std::vector<std::string> shown = rig.sim.describe();
        EXPECT_NE(std::find_if(shown.begin(), shown.end(),
                               [](const std::string& l) {
                                   return l.starts_with("frequency 999.9") ||
                                          l.starts_with("frequency 1000.0");
                               }),
                  shown.end())
            << ::testing::PrintToString(shown);
    }
    // Fast SWEEP runs the generator's own sweep with its panel, and draws one record.
    choose(m().selmonmode, "Frequency Sweep");
    click("cmdfastsweep_Click");
    EXPECT_EQ(rig.w().StatusBar->text, "Output taken by the monitor's Fast SWEEP");
    EXPECT_EQ(m().textstatus->text, "Stopped");
    EXPECT_EQ(mon().kept.sweep.size(), 640u);
}

TEST_F(SweepAnalyser, SetUpTakesTheLimitsStepAndCaptions) {
    struct Row {
        const char *start, *startUnit, *stop, *stopUnit;
        std::int32_t step;
        const char *centre, *first, *next;  // in Hz; textfr after the first point
        bool lowMessage;
    };
    const Row rows[] = {
        // 1,000,000 / 640 lies between 1562 and 1563: the tie goes to the even one.
        {"1", "MHz", "2", "MHz", 1562, "1,500,000", "1,000,000", "1,001,562", false},
        // 960 / 640 = 1.5 rounds up to the even 2.
        {"10000", "Hz", "10.96", "kHz", 2, "10,480", "10,000", "10,002", false},
        {"1", "kHz", "10", "kHz", 14, "5,500", "1,000", "1,014", true},
        // Start above stop sweeps downwards.
        {"2", "MHz", "1", "MHz", -1562, "1,500,000", "2,000,000", "1,998,438", false},
        {"1.5", "MHz", "1500", "kHz", 0, "1,500,000", "1,500,000", "1,500,000", false},
        {"0", "Hz", "0", "Hz", 0, "0", "0", "0", false},
        // Up to the generator's 200 MHz.
        {"199.9", "MHz", "200", "MHz", 156, "199,950,000", "199,900,000", "199,900,156", false},
    };
    type(m().textstarta, "100");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.start) + row.startUnit + " to " + row.stop + row.stopUnit);
        type(m().startf, row.start);
        choose(m().startfunit, row.startUnit);
        type(m().stopf, row.stop);
        choose(m().stopfunit, row.stopUnit);
        const std::size_t said = messages().size();
        start();
        EXPECT_EQ(mon().monstate, "frsweeping");
        EXPECT_EQ(mon().sweepstep, row.step);
        EXPECT_EQ(m().centerfr->text, std::string(row.centre) + " Hz");
        EXPECT_EQ(m().labstartfr->text, std::string(row.first) + " Hz");
        EXPECT_EQ(mon().sweepstartf, number(row.first) + 1);
        EXPECT_EQ(messages().size() - said, row.lowMessage ? 1u : 0u);
        tick();
        EXPECT_EQ(m().textfr->text, row.next);
        EXPECT_EQ(m().textstatus->text, "Running");
    }
}

// A whole sweep: its set-up, one point per tick with its progress, each point kept and
// exported as it was measured.
TEST_F(SweepAnalyser, EachTickDrawsOnePointUntilTheLastColumnAndKeepsIt) {
    EXPECT_TRUE(m().sweepprogress->visible);
    type(m().textstarta, "100");
    click("cmdstartsweep_Click");
    const std::size_t setUp = mark();
    tick();
    // The set-up: sweep signal, sweep switches, then the amplitude for the centre.
    const std::vector<Frame> expected = {
        {1, 2, 0, 2, 64, 0}, {2, 0, 2, 164, 0, 0},  {32, 4, 2, 1, 0, 0},  {32, 4, 6, 0, 0, 0},
        {31, 0, 0, 3, 0, 0}, {31, 3, 255, 7, 0, 0}, {32, 3, 15, 0, 0, 0}, {32, 7, 2, 1, 0, 0},
        {32, 6, 4, 0, 0, 0}, {32, 6, 5, 0, 0, 0},   {3, 5, 28, 0, 0, 0}};  // 100 mVrms at 1.5 MHz
    EXPECT_EQ(frames(setUp), expected);
    EXPECT_EQ(rig.s().gen.sgfreq, 1'500'000);
    for (int point = 0; point < kPoints; ++point) {
        const std::size_t from = mark();
        tick();
        const auto lines = points(from);
        ASSERT_EQ(lines.size(), point < 2 ? 0u : 1u) << "point " << point;
        if (!lines.empty()) {
            EXPECT_EQ(lines.begin()->first, 34 + point);
        }
        // One tuning word and one detector reading per point.
        EXPECT_EQ(framesOf(from, 5).size(), 1u);
        EXPECT_EQ(framesOf(from, 27).size(), 1u);
        if (point == 9) {
            EXPECT_EQ(m().sweepprogress->value, 10);
            EXPECT_TRUE(m().sweepprogress->text.starts_with("10 / 639 points, ") &&
                        m().sweepprogress->text.ends_with(" s left"))
                << m().sweepprogress->text;
        }
    }
    EXPECT_EQ(mon().monstate, "stoped");
    EXPECT_EQ(m().sweepprogress->text, "639 / 639 points");
    // sgfreq follows the sweep every tenth column.
    EXPECT_EQ(rig.s().gen.sgfreq, 1'000'000 + 1562 * (670 - 34 + 1));
    EXPECT_EQ(m().textstatus->text, "Stopped");
    const std::size_t after = mark();
    tick();
    EXPECT_TRUE(frames(after).empty());

    const auto& kept = mon().kept.sweep;
    ASSERT_EQ(kept.size(), 639u);
    EXPECT_DOUBLE_EQ(kept.front().at, 1'000'000);
    EXPECT_DOUBLE_EQ(kept[1].at - kept[0].at, 1562);
    ASSERT_TRUE(kept.front().dbv);
    const double first = std::pow(10.0, (double(*kept.front().dbv) + 60) / 20);
    EXPECT_NEAR(first, 100, 5);  // 100 mVrms through a plain wire
    const std::string path = writeTempFile("sweep.csv", "");
    std::string why;
    ASSERT_EQ(exportTo(m(), ExportKind::Sweep, path, why), 639u) << why;
    std::ifstream in(path);
    std::string header, row;
    std::getline(in, header);
    std::getline(in, row);
    EXPECT_EQ(header, "frequency_Hz,level_mVrms");
    EXPECT_TRUE(row.starts_with("1000000,")) << row;
    EXPECT_DOUBLE_EQ(std::stod(row.substr(8)), first);
    choose(m().selmonmode, "Scope CH1");
    EXPECT_FALSE(m().sweepprogress->visible);
}

TEST_F(SweepAnalyser, TuningWordsFollowTheirRuleAndTheClockIsKnownFromTheStart) {
    struct Row {
        const char *mode, *mhz;
        double clkcorr;
        Frame word;
    };
    const Row rows[] = {
        {"Amplitude Sweep", "199.95", 1, {5, 127, 247, 206, 217, 0}},  // first sweep of the run
        {"Frequency Sweep", "1", 1.0001, {5, 0, 163, 219, 60, 0}},     // corrected
        {"Amplitude Sweep", "1", 1.0001, {5, 0, 163, 215, 10, 0}},     // not corrected
    };
    type(m().textstarta, "100");
    type(m().textstopa, "100");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + " at " + row.mhz + " MHz");
        rig.s().cal.clkcorr = row.clkcorr;
        choose(m().selmonmode, row.mode);
        type(m().startf, row.mhz);
        type(m().stopf, row.mhz);
        const std::size_t from = mark();
        start();
        tick();
        const std::vector<Frame> words = framesOf(from, 5);
        ASSERT_FALSE(words.empty());
        EXPECT_EQ(words, std::vector<Frame>(words.size(), row.word));
    }
    EXPECT_TRUE(messages().empty());
}

// The amplitude of every unit with its limits, and the entries START refuses: the amplitude
// frame sent (none for a refused entry), the message, and the state on the next tick.
TEST_F(SweepAnalyser, AmplitudeOfEveryUnitItsLimitsAndBadEntries) {
    constexpr const char* kTooHigh =
        "Amplitude is too Hi for Frequency Entered! Amplitude will be set to Maximum.";
    constexpr const char* kNegative = "Sweep frequencies cannot be negative.";
    constexpr const char* kAbove =
        "Sweep frequencies above 200 MHz cannot be generated: enter 200 MHz or less.";
    struct Row {
        const char *entry, *unit, *mhz;  // the sweep's centre
        std::optional<Frame> amplitude;
        const char* message;
        const char* bad = "";  // "control=text" typed last, in the mode after '@'
    };
    const Row rows[] = {
        {"1000", "mVpp", "1", Frame{3, 9, 7, 0, 0, 0}, nullptr},
        {"1", "Vpp", "1", Frame{3, 9, 7, 0, 0, 0}, nullptr},
        {"100", "mVrms", "1", Frame{3, 5, 27, 0, 0, 0}, nullptr},  // 4 x 1.4142 x 100 mVpp
        {"40", "dBmV", "1", Frame{3, 5, 27, 0, 0, 0}, nullptr},
        {"-20", "dBV", "1", Frame{3, 5, 27, 0, 0, 0}, nullptr},
        {"-7", "dBm", "1", Frame{3, 5, 27, 0, 0, 0}, nullptr},
        {"5400", "mVpp", "1", Frame{3, 46, 182, 0, 0, 0}, nullptr},  // 5000, boosted x 1.035
        {"5.5", "Vpp", "1", Frame{3, 46, 182, 0, 0, 0}, nullptr},
        {"200", "dBV", "1", Frame{3, 46, 182, 0, 0, 0}, nullptr},
        {"-100", "dBm", "1", Frame{3, 0, 0, 0, 0, 0}, nullptr},
        {"3000", "mVpp", "150", Frame{3, 63, 255, 0, 0, 0}, kTooHigh},  // flatness 2.63
        {"-50", "mVpp", "1", Frame{3, 0, 0, 0, 0, 0}, nullptr},  // silence, not a wrapped word
        {"5501", "mVpp", "1", std::nullopt, nullptr},
        {"5.6", "Vpp", "1", std::nullopt, nullptr},
        {"5501", "mVrms", "1", std::nullopt, nullptr},
        {"-101", "dBmV", "1", std::nullopt, nullptr},
        {"5501", "dBV", "1", std::nullopt, nullptr},
        {"-101", "dBm", "1", std::nullopt, nullptr},
        {"1OO", "mVpp", "1", std::nullopt, nullptr},
        {"100", "mVpp", "1", std::nullopt, kNegative, "startf=-1"},
        {"100", "mVpp", "1", std::nullopt, kNegative, "stopf=-2"},
        {"100", "mVpp", "1", std::nullopt, "Type mismatch", "stopf=two"},
        {"100", "mVpp", "1", std::nullopt, "Type mismatch", "startf="},
        {"100", "mVpp", "1", std::nullopt, kAbove, "startf=30000"},
        {"100", "mVpp", "1", std::nullopt, kAbove, "stopf=200.001"},
        {"100", "mVpp", "1", std::nullopt, kAbove, "stopf=1e300"},
        // The amplitude sweep silences the output before it reads its levels.
        {"100", "mVpp", "1", Frame{3, 0, 1, 0, 0, 0}, "Type mismatch",
         "textstopa=x@Amplitude Sweep"},
        {"100", "mVpp", "1", Frame{3, 0, 1, 0, 0, 0}, kAbove, "startf=250@Amplitude Sweep"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.entry) + " " + row.unit + " " + row.bad);
        const std::string bad = row.bad;
        const std::string mode =
            bad.find('@') == std::string::npos ? "Frequency Sweep" : bad.substr(bad.find('@') + 1);
        choose(m().selmonmode, mode);
        type(m().startf, row.mhz);
        type(m().stopf, row.mhz);
        type(m().textstarta, row.entry);
        choose(m().combstarta, row.unit);
        if (!bad.empty()) {
            const std::string field = bad.substr(0, bad.find('@'));
            type(Ctl(m()[field.substr(0, field.find('='))]), field.substr(field.find('=') + 1));
        }
        const std::size_t said = messages().size();
        const std::size_t from = mark();
        start();
        const std::vector<Frame> sent = framesOf(from, 3);
        EXPECT_EQ(sent.empty() ? std::nullopt : std::optional(sent.back()), row.amplitude);
        EXPECT_EQ(messagesAfter(said),
                  row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
        if (!bad.empty() && mode == "Frequency Sweep") {
            EXPECT_TRUE(framesOf(from, 5).empty());
        }
        const bool runs = row.amplitude && bad.empty();
        tick();
        EXPECT_EQ(m().textstatus->text, runs ? "Running" : "TUNX ERROR");
        EXPECT_EQ(mon().monstate, runs ? "frsweeping" : "stoped");
    }
}

TEST_F(SweepAnalyser, AnAmplitudeSweepStepsTheLevelAtOneFrequency) {
    choose(m().selmonmode, "Amplitude Sweep");
    type(m().textstarta, "100");
    type(m().textstopa, "1000");
    choose(m().selrfrange, "250mVrms/Div");
    std::size_t from = mark();
    click("cmdstartsweep_Click");
    // START prepares: the frequency, a silent output, forty detector readings.
    std::vector<Frame> prepared = frames(from);
    ASSERT_GE(prepared.size(), 42u);
    EXPECT_EQ(std::vector<Frame>(prepared.end() - 42, prepared.end() - 40),
              (std::vector<Frame>{{5, 0, 163, 215, 10, 0}, {3, 0, 1, 0, 0, 0}}));
    EXPECT_EQ(framesOf(from, 27).size(), 40u);
    tick();
    EXPECT_EQ(mon().monstate, "ampsweeping");
    EXPECT_FLOAT_EQ(mon().sweepampstep, 1.40625f);
    EXPECT_EQ(m().textfr->text, "1,000,000");
    from = mark();
    tick(3);
    // 100, 101.40625 and 102.8125 mVrms; the frequency stays.
    EXPECT_EQ(framesOf(from, 3),
              (std::vector<Frame>{{3, 5, 27, 0, 0, 0}, {3, 5, 46, 0, 0, 0}, {3, 5, 64, 0, 0, 0}}));
    EXPECT_TRUE(framesOf(from, 5).empty());
    from = mark();
    tick(kPoints - 3);
    EXPECT_EQ(mon().monstate, "stoped");
    // The level climbs on the straight line of the scale until the output's 5000 mVpp
    // (884 mVrms at the matched input) limits it.
    const std::map<int, int> trace = points(from);
    EXPECT_NEAR(trace.at(353), 544 - (100 + 319 * 1.40625) / 3.906, 2);
    EXPECT_NEAR(number(m().Textpower->text), 5000 / (4 * 1.4142), 9);
    EXPECT_NEAR(trace.at(672), 544 - 5000 / (4 * 1.4142) / 3.906, 3);
}

// A detector reading that does not come is a gap in the curve and the export, counted in the
// progress; the sweep goes on.
TEST_F(SweepAnalyser, AMissedReadingIsAGapAndASilentInstrumentStopsTheSweep) {
    type(m().textstarta, "100");
    choose(m().selrfrange, "5dBmV/Div");
    start();
    tick(10);
    // The next point's tuning word passes, its detector reading gets no answer.
    rig.sim.muteNext(1, 1);
    std::size_t from = mark();
    tick();
    EXPECT_TRUE(points(from).empty());
    EXPECT_EQ(m().Textpower->text, "\u2014");
    EXPECT_TRUE(m().sweepprogress->text.starts_with("11 / 639 points, 1 point not measured, "))
        << m().sweepprogress->text;
    from = mark();
    tick();
    EXPECT_TRUE(points(from).empty());  // nothing joins the gap
    from = mark();
    tick();
    EXPECT_EQ(points(from).size(), 1u);
    EXPECT_TRUE(messages().empty());
    std::string why;
    EXPECT_EQ(exportTo(m(), ExportKind::Sweep, writeTempFile("gap.csv", ""), why), 12u);
    EXPECT_EQ(mon().monstate, "frsweeping");

    rig.sim.muteNext(1000);
    from = mark();
    tick();
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().front(), "SetFreq_FTW_Comm timed out");
    EXPECT_TRUE(points(from).empty());
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
}

}  // namespace
}  // namespace tunx::test
