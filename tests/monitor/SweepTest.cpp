// The sweep analyser on the virtual bench: a device under test drawn as its response, levels
// read back as programmed, the frames of each step, and its answers to bad entries and to an
// instrument that stops answering.
#include <algorithm>
#include <cmath>
#include <map>

#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

constexpr const char* kRed = "255";
constexpr int kPoints = 639;  // columns 34 to 672

using SweepAnalyser = MonitorRig;

// The sweep points drawn since `from`: plot row by column (the line ends at the new point).
std::map<int, int> points(const std::vector<Drawn>& lines) {
    std::map<int, int> out;
    for (const Drawn& d : lines) {
        if (d.colour == kRed && d.width == 2) {
            out[static_cast<int>(d.x2)] = static_cast<int>(d.y2);
        }
    }
    return out;
}

double number(const std::string& text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c != ','; });
    return std::stod(digits);
}

TEST_F(SweepAnalyser, ABandPassOfQFiveIsDrawnAsItsResonance) {
    instruct("wire CH1 dut");
    instruct("dut bandpass 1.5M 5");
    type(m().textstarta, "100");
    choose(m().selrfrange, "5dBmV/Div");  // 12.8 rows per dB
    click("cmdstartsweep_Click");
    const std::size_t from = mark();
    tick(1 + kPoints);
    EXPECT_EQ(mon().monstate, "stoped");
    const std::map<int, int> trace = points(drawn(from));
    ASSERT_EQ(trace.size(), 637u);  // every point from column 36 on is joined to the one before
    EXPECT_EQ(trace.begin()->first, 36);
    EXPECT_EQ(trace.rbegin()->first, 672);

    // Column c carries 1 MHz + (c - 34) x 1562 Hz.
    const auto column = [](double hz) { return 34 + (hz - 1e6) / 1562; };
    int top = 544;
    for (const auto& [c, row] : trace) {
        top = std::min(top, row);
    }
    double sum = 0;
    int count = 0;
    for (const auto& [c, row] : trace) {
        if (row == top) {
            sum += c;
            ++count;
        }
    }
    EXPECT_NEAR(sum / count, column(1.5e6), 2);
    // 3 dB down at f0 (sqrt(1 + 1 / 4Q^2) -+ 1 / 2Q).
    const double spread = std::sqrt(1 + 1 / 100.0);
    const int threshold = top + static_cast<int>(3 * 12.8);
    int lower = 0, upper = 0;
    for (const auto& [c, row] : trace) {
        if (row <= threshold) {
            upper = c;
            if (lower == 0) {
                lower = c;
            }
        }
    }
    EXPECT_NEAR(lower, column(1.5e6 * (spread - 0.1)), 2);
    EXPECT_NEAR(upper, column(1.5e6 * (spread + 0.1)), 2);
}

// A level programmed through a plain wire reads back as itself on every scale, at the row of
// that scale.
TEST_F(SweepAnalyser, TheProgrammedLevelReadsBackOnEveryScaleAtItsRow) {
    struct Row {
        const char* amplitude;
        const char* unit;
        const char* scale;
        double readout;
        int row;
    };
    const Row rows[] = {
        {"100", "mVrms", "100mVrms/Div", 100, 448},
        {"500", "mVrms", "250mVrms/Div", 500, 384},
        {"40", "dBmV", "5dBmV/Div", 40, 320},
        {"-20", "dBV", "10dBV/Div", -20, 160},
        {"-7", "dBm", "10dBm/Div", -7, 205},
        {"-7", "dBm", "15dBm/Div", -7, 126},
        {"1", "Vpp", "10dBV/Div", 20 * std::log10(1 / (4 * 1.4142)), 128},
        {"1", "mVrms", "5dBmV/Div", 25, 512},       // 0 dBmV is raised to the 25 dBmV floor
        {"800", "mVrms", "100mVrms/Div", 800, 32},  // 0 on the scale, limited to the top
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.amplitude) + " " + row.unit + " on " + row.scale);
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        fresh.wiring.recordingCanvas().setLines(true);
        Form1& w = fresh.program.monitor();
        fresh.program.dispatch(w, [&] {
            w.typeText(*w.textstarta, row.amplitude);
            w.choose(*w.combstarta, row.unit);
            w.choose(*w.selrfrange, row.scale);
        });
        fresh.program.dispatch(w, "cmdstartsweep_Click");
        for (int i = 0; i < 4; ++i) {
            fresh.program.tick();
        }
        EXPECT_NEAR(number(w.Textpower->text), row.readout, std::abs(row.readout) * 0.01 + 0.1);
        EXPECT_NEAR(fresh.s().mon.sweepy, row.row, 1);
    }
}

TEST_F(SweepAnalyser, SetUpTakesTheLimitsStepAndCaptions) {
    struct Row {
        const char *start, *startUnit, *stop, *stopUnit;
        std::int32_t step;
        const char* centre;
        const char* first;
        Frame firstWord;   // tuning word of the first point
        const char* next;  // textfr after the first point
        bool lowMessage;
    };
    const Row rows[] = {
        // 1,000,000 / 640 lies between 1562 and 1563: the tie goes to the even one.
        {"1",
         "MHz",
         "2",
         "MHz",
         1562,
         "1,500,000 Hz",
         "1,000,000 Hz",
         {5, 0, 163, 215, 10, 0},
         "1,001,562",
         false},
        {"10000",
         "Hz",
         "10.96",
         "kHz",
         2,
         "10,480 Hz",
         "10,000 Hz",
         {5, 0, 1, 163, 110, 0},
         "10,002",
         false},  // 960 / 640 = 1.5 rounds up to the even 2
        {"1", "kHz", "10", "kHz", 14, "5,500 Hz", "1,000 Hz", {5, 0, 0, 41, 241, 0}, "1,014", true},
        {"2",
         "MHz",
         "1",
         "MHz",
         -1562,
         "1,500,000 Hz",
         "2,000,000 Hz",
         {5, 1, 71, 174, 20, 0},
         "1,998,438",
         false},  // start above stop sweeps downwards
        {"1.5",
         "MHz",
         "1500",
         "kHz",
         0,
         "1,500,000 Hz",
         "1,500,000 Hz",
         {5, 0, 245, 194, 143, 0},
         "1,500,000",
         false},
        {"0", "Hz", "0", "Hz", 0, "0 Hz", "0 Hz", {5, 0, 0, 0, 0, 0}, "0", false},
        {"200",
         "MHz",
         "210",
         "MHz",
         15625,
         "205,000,000 Hz",
         "200,000,000 Hz",
         {5, 128, 0, 0, 0, 0},
         "200,015,625",
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.start) + row.startUnit + " to " + row.stop + row.stopUnit);
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        Form1& w = fresh.program.monitor();
        fresh.program.dispatch(w, [&] {
            w.typeText(*w.startf, row.start);
            w.choose(*w.startfunit, row.startUnit);
            w.typeText(*w.stopf, row.stop);
            w.choose(*w.stopfunit, row.stopUnit);
            w.typeText(*w.textstarta, "100");
        });
        fresh.program.dispatch(w, "cmdstartsweep_Click");
        fresh.program.tick();
        const MonitorState& s = fresh.s().mon;
        EXPECT_EQ(s.monstate, "frsweeping");
        EXPECT_EQ(s.sweepstep, row.step);
        EXPECT_EQ(w.centerfr->text, row.centre);
        EXPECT_EQ(w.labstartfr->text, row.first);
        EXPECT_EQ(s.sweepstartf, number(row.first) + 1);
        EXPECT_EQ(fresh.messages().size(), row.lowMessage ? 1u : 0u);
        const std::size_t from = fresh.mark();
        fresh.program.tick();
        ASSERT_FALSE(fresh.frames(from).empty());
        EXPECT_EQ(fresh.frames(from).front(), row.firstWord);
        EXPECT_EQ(w.textfr->text, row.next);
        EXPECT_EQ(w.textstatus->text, "Running");
    }
}

TEST_F(SweepAnalyser, EachTickDrawsOnePointUntilTheLastColumn) {
    type(m().textstarta, "100");
    click("cmdstartsweep_Click");
    const std::size_t setUp = mark();
    tick();
    // The set-up: grid, sweep signal, sweep switches, then the amplitude for the centre.
    const std::vector<Frame> sent = frames(setUp);
    const std::vector<Frame> expected = {
        {1, 2, 0, 2, 64, 0}, {2, 0, 2, 164, 0, 0},  {32, 4, 2, 1, 0, 0},  {32, 4, 6, 0, 0, 0},
        {31, 0, 0, 3, 0, 0}, {31, 3, 255, 7, 0, 0}, {32, 3, 15, 0, 0, 0}, {32, 7, 2, 1, 0, 0},
        {32, 6, 4, 0, 0, 0}, {32, 6, 5, 0, 0, 0},   {3, 5, 28, 0, 0, 0}};  // 100 mVrms at 1.5 MHz
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(rig.s().gen.sgfreq, 1'500'000);
    for (int point = 0; point < kPoints; ++point) {
        const std::size_t from = mark();
        tick();
        const auto lines = points(drawn(from));
        ASSERT_EQ(lines.size(), point < 2 ? 0u : 1u) << "point " << point;
        if (!lines.empty()) {
            EXPECT_EQ(lines.begin()->first, 34 + point);
        }
        // One tuning word and one detector reading per point.
        EXPECT_EQ(framesOf(from, 5).size(), 1u);
        EXPECT_EQ(framesOf(from, 27).size(), 1u);
    }
    EXPECT_EQ(mon().monstate, "stoped");
    EXPECT_EQ(mon().sweepx, 673);
    // sgfreq follows the sweep every tenth column.
    EXPECT_EQ(rig.s().gen.sgfreq, 1'000'000 + 1562 * (670 - 34 + 1));
    EXPECT_EQ(m().textstatus->text, "Running");
    const std::size_t after = mark();
    tick();
    EXPECT_TRUE(frames(after).empty());
}

TEST_F(SweepAnalyser, TuningWordsFollowTheirRuleAndTheClockIsKnownFromTheStart) {
    struct Row {
        const char* mode;
        const char* start;
        double clkcorr;
        Frame word;
    };
    const Row rows[] = {
        {"Frequency Sweep", "1", 1.0001, {5, 0, 163, 219, 60, 0}},     // corrected
        {"Amplitude Sweep", "1", 1.0001, {5, 0, 163, 215, 10, 0}},     // not corrected
        {"Amplitude Sweep", "199.95", 1, {5, 127, 247, 206, 217, 0}},  // first sweep of the run
        {"Frequency Sweep", "199.95", 1.0001, {5, 127, 247, 206, 217, 0}},
        {"Frequency Sweep", "250", 1, {5, 128, 0, 0, 0, 0}},
        {"Amplitude Sweep", "250", 1, {5, 128, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + " at " + row.start + " MHz");
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        fresh.s().cal.clkcorr = row.clkcorr;
        Form1& w = fresh.program.monitor();
        fresh.program.dispatch(w, [&] {
            w.choose(*w.selmonmode, row.mode);
            w.typeText(*w.startf, row.start);
            w.typeText(*w.stopf, row.start);
            w.typeText(*w.textstarta, "100");
            w.typeText(*w.textstopa, "100");
        });
        const std::size_t from = fresh.mark();
        fresh.program.dispatch(w, "cmdstartsweep_Click");
        fresh.program.tick();
        fresh.program.tick();
        std::vector<Frame> words;
        for (const Frame& f : fresh.frames(from)) {
            if (f[0] == 5) {
                words.push_back(f);
            }
        }
        ASSERT_FALSE(words.empty());
        for (const Frame& word : words) {
            EXPECT_EQ(word, row.word);
        }
        EXPECT_TRUE(fresh.messages().empty());
    }
}

TEST_F(SweepAnalyser, AmplitudeOfEveryUnitAndItsLimits) {
    constexpr const char* kTooHigh =
        "Amplitude is too Hi for Frequency Entered! Amplitude will be set to Maximum.";
    struct Row {
        const char* entry;
        const char* unit;
        const char* mhz;  // the sweep's centre
        std::optional<Frame> amplitude;
        const char* message;
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
        {"3000", "mVpp", "150", Frame{3, 63, 255, 0, 0, 0}, kTooHigh},  // flatness 2.63
        {"-50", "mVpp", "1", Frame{3, 0, 0, 0, 0, 0}, nullptr},    // silence, not a wrapped word
        {"200", "dBV", "1", Frame{3, 46, 182, 0, 0, 0}, nullptr},  // limited to 5000 mVpp
        {"-100", "dBm", "1", Frame{3, 0, 0, 0, 0, 0}, nullptr},
        {"5501", "mVpp", "1", std::nullopt, nullptr},
        {"5501", "mVrms", "1", std::nullopt, nullptr},
        {"-101", "dBmV", "1", std::nullopt, nullptr},
        {"5501", "dBV", "1", std::nullopt, nullptr},
        {"-101", "dBm", "1", std::nullopt, nullptr},
        {"5.6", "Vpp", "1", std::nullopt, nullptr},
        {"-101", "mVpp", "1", std::nullopt, nullptr},
        {"1OO", "mVpp", "1", std::nullopt, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.entry) + " " + row.unit);
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        Form1& w = fresh.program.monitor();
        fresh.program.dispatch(w, [&] {
            w.typeText(*w.startf, row.mhz);
            w.typeText(*w.stopf, row.mhz);
            w.typeText(*w.textstarta, row.entry);
            w.choose(*w.combstarta, row.unit);
        });
        fresh.program.dispatch(w, "cmdstartsweep_Click");
        const std::size_t from = fresh.mark();
        fresh.program.tick();
        std::optional<Frame> amplitude;
        for (const Frame& f : fresh.frames(from)) {
            if (f[0] == 3) {
                amplitude = f;
            }
        }
        EXPECT_EQ(amplitude, row.amplitude);
        EXPECT_EQ(fresh.messages(),
                  row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
        fresh.program.tick();
        EXPECT_EQ(w.textstatus->text, row.amplitude ? "Running" : "TUNX ERROR");
        EXPECT_EQ(fresh.s().mon.monstate, row.amplitude ? "frsweeping" : "stoped");
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
    const std::vector<Frame> head(prepared.end() - 42, prepared.end() - 40);
    EXPECT_EQ(head, (std::vector<Frame>{{5, 0, 163, 215, 10, 0}, {3, 0, 1, 0, 0, 0}}));
    EXPECT_EQ(framesOf(from, 27).size(), 40u);
    EXPECT_EQ(m().textstatus->text, "Running");
    tick();
    EXPECT_EQ(mon().monstate, "ampsweeping");
    EXPECT_FLOAT_EQ(mon().sweepampstep, 1.40625f);
    EXPECT_EQ(m().textfr->text, "1,000,000");
    from = mark();
    tick(3);
    // 100, 101.40625 and 102.8125 mVrms.
    EXPECT_EQ(framesOf(from, 3),
              (std::vector<Frame>{{3, 5, 27, 0, 0, 0}, {3, 5, 46, 0, 0, 0}, {3, 5, 64, 0, 0, 0}}));
    EXPECT_TRUE(framesOf(from, 5).empty());  // the frequency stays
    from = mark();
    tick(kPoints - 3);
    EXPECT_EQ(mon().monstate, "stoped");
    // The level climbs on the straight line of the scale until the output's 5000 mVpp
    // (884 mVrms at the matched input) limits it.
    const std::map<int, int> trace = points(drawn(from));
    EXPECT_NEAR(trace.at(353), 512 - (100 + 319 * 1.40625) / 3.906, 2);
    EXPECT_NEAR(number(m().Textpower->text), 5000 / (4 * 1.4142), 9);
    EXPECT_NEAR(trace.at(672), 512 - 5000 / (4 * 1.4142) / 3.906, 3);
}

TEST_F(SweepAnalyser, BadEntriesGiveTheirMessageAndTheErrorState) {
    struct Row {
        const char* mode;
        const char* control;
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {"Frequency Sweep", "startf", "-1", "Sweep frequencies cannot be negative."},
        {"Frequency Sweep", "stopf", "-2", "Sweep frequencies cannot be negative."},
        {"Frequency Sweep", "stopf", "two", "Type mismatch"},
        {"Frequency Sweep", "startf", "", "Type mismatch"},
        {"Frequency Sweep", "startf", "30000", "Overflow"},  // 30 GHz does not fit a step
        {"Amplitude Sweep", "textstopa", "x", "Type mismatch"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.control) + " = '" + row.text + "'");
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        Form1& w = fresh.program.monitor();
        fresh.program.dispatch(w, [&] {
            w.choose(*w.selmonmode, row.mode);
            w.typeText(w[row.control], row.text);
        });
        fresh.program.dispatch(w, "cmdstartsweep_Click");
        const std::size_t from = fresh.mark();
        fresh.program.tick();
        EXPECT_EQ(fresh.messages(), std::vector<std::string>{row.message});
        if (row.mode == std::string("Frequency Sweep")) {
            const std::vector<Frame> sent = fresh.frames(from);
            EXPECT_TRUE(
                std::none_of(sent.begin(), sent.end(), [](const Frame& f) { return f[0] == 5; }));
        }
        fresh.program.tick();
        EXPECT_EQ(w.textstatus->text, "TUNX ERROR");
        EXPECT_EQ(fresh.s().mon.monstate, "stoped");
    }
}

TEST_F(SweepAnalyser, ALostDetectorReadingKeepsTheLevelAndASilentInstrumentStopsTheSweep) {
    type(m().textstarta, "100");
    choose(m().selrfrange, "5dBmV/Div");
    click("cmdstartsweep_Click");
    tick(11);
    const int level = mon().sweepy;
    // The next point's tuning word passes, its detector reading gets no answer.
    rig.sim.muteNext(1, 1);
    instruct("dut attenuate 6");
    instruct("wire CH1 dut");
    std::size_t from = mark();
    tick();
    EXPECT_EQ(mon().sweepy, level);  // drawn with the last level that came
    EXPECT_EQ(points(drawn(from)).begin()->second, level);
    EXPECT_TRUE(messages().empty());
    tick();
    EXPECT_NEAR(mon().sweepy, level + 6 * 12.8, 1);  // the next reading measures again
    EXPECT_EQ(mon().monstate, "frsweeping");

    rig.sim.muteNext(1000);
    from = mark();
    tick();
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().front(), "SetFreq_FTW_Comm timed out");
    EXPECT_TRUE(points(drawn(from)).empty());
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
}

TEST_F(SweepAnalyser, AnotherScaleDuringASweepRelabelsTheGridAndDrawsTheNextPointsWithIt) {
    type(m().textstarta, "100");
    click("cmdstartsweep_Click");
    tick(5);
    EXPECT_NEAR(mon().sweepy, 448, 1);
    choose(m().selrfrange, "10dBV/Div");
    EXPECT_EQ(m().ldiv8->text, "0");
    EXPECT_EQ(m().ldiv0->text, "-80");
    EXPECT_EQ(m().ldivunit->text, "dBV");
    EXPECT_EQ(mon().monstate, "frsweeping");
    tick();
    EXPECT_NEAR(mon().sweepy, 160, 1);
    EXPECT_EQ(m().Textpower->text, "-20.0");
}

}  // namespace
}  // namespace tunx::test
