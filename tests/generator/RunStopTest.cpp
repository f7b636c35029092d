#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using Frames = std::vector<Frame>;

const Frame kRelayOffA{31, 3, 252, 3, 0, 0};
const Frame kRelayOffB{31, 0, 3, 7, 0, 0};
const Frame kClose{30, 0, 0, 0, 0, 0};
const Frame kLevel0A{31, 0, 0, 3, 0, 0};
const Frame kLevel0B{31, 3, 255, 7, 0, 0};
const Frame kAttenOff{32, 3, 15, 0, 0, 0};
const Frame kTrigger{25, 0, 0, 0, 0, 0};
// The frames with the command code `code`.
long count(const Frames& f, int code) {
    return std::ranges::count_if(f, [=](auto& x) { return x[0] == code; });
}
const char* const kSinglePulse = "outmode=Single|Vpp=1|Pulse=100|PulseUnit=ns";

// A started program with the calibration the arithmetic below is worked out for.
struct RunStop : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        Calibration& c = rig.s().cal;
        std::tie(c.clkcorr, c.ampfullscale, c.flat1M, c.offzero, c.offgain, c.adcref) =
            std::tuple(1.0, 7090.0F, 1.0F, -10.0F, 1.0F, 3600);
    }
    // Lays the panel out for `mode`, then sets the entries ("name=text|...").
    void panel(const std::string& mode, const std::string& fields) {
        rig.w().ModeSelect->text = mode;
        ASSERT_TRUE(rig.run("ModeSelect_Click"));
        setTexts(rig.w(), fields);
    }
    // The frames a handler sends.
    Frames press(const std::string& handler) {
        const auto from = rig.mark();
        EXPECT_TRUE(rig.run(handler));
        return rig.frames(from);
    }
    // What the user sees: status bar, RUN caption, RUN colour and picture.
    Texts look() {
        const Control& run = *rig.w().RUN;
        return {rig.w().StatusBar->text, run.text, std::to_string(run.back), run.picture};
    }
    Rig rig;
    const std::string runPicture = rig.w().installFile("run_btn.bmp");
    const std::string neutral = std::to_string(colour::kActiveBorder);
};

TEST_F(RunStop, OneKilohertzSineSendsTheWholeRequestInOrder) {
    panel("Single Tone Sine", "Frek=1|frequnit=kHz|Vpp=1|VppUnit=Vpp|VBias=0");
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    // clang-format off
    const Frames expected = {
        kRelayOffA, kRelayOffB, kClose,                                        // stage closed
        kRelayOffA, kRelayOffB, kAttenOff,                                     // SetBias: stage on
        {13, 2, 128, 2, 128, 0},                                               // offset 0 mV
        kLevel0A, kLevel0B, kAttenOff,                                         // stage on, sgaten 0
        {32, 6, 4, 1, 0, 0}, {32, 6, 5, 0, 0, 0}, {27, 255, 255, 85, 85, 85},  // bias read
        {32, 4, 2, 1, 0, 0}, {32, 4, 6, 0, 0, 0},                              // output path
        {26, 0, 0, 1, 1, 0}, {2, 0, 2, 164, 0, 0},                             // 400 MHz clock
        {5, 0, 0, 41, 241, 0}, {6, 0, 0, 0, 0, 0},                             // FTW 10737
        {3, 9, 7, 0, 0, 0},                                                    // ASF 2311
        kLevel0A, kLevel0B, kAttenOff};                                        // output on
    // clang-format on
    EXPECT_EQ(rig.frames(from), expected);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(look(),
              (Texts{"Running Single Tone Sine", "RUNNING", std::to_string(colour::kGreen), ""}));
    EXPECT_EQ(rig.w().STOP->back, colour::kActiveBorder);
    // 22 acknowledged commands at 20 ms, the clock switch, the FTW pause, the offset
    // settle and the bias read.
    EXPECT_EQ(rig.sleptMs(from), 22 * 20 + 300 + 10 + 50 + 2);
}

// Invalid entries send nothing for the mode; a refused offset stops the sequence.
TEST_F(RunStop, AFailedRefreshClosesTheOutput) {
    panel("Single Tone Sine", "Frek=abc");
    EXPECT_EQ(press("RefreshBtn_Click"), (Frames{kRelayOffA, kRelayOffB, kClose}));
    EXPECT_EQ(rig.messages(),
              Texts{"Frequency must be a numeric value between 0.1 Hz and 200 MHz"});
    EXPECT_EQ(rig.ui.messages.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(rig.w().StatusBar->text, "Error Single Tone Sine");

    panel("Single Tone Sine", "Frek=1|Vpp=1");
    rig.ui.messages.clear();
    // The first six frames (close, then the stage on in SetBias) pass; the offset is refused.
    rig.sim.nakNext(2, 6);
    const Frames frames = press("RefreshBtn_Click");
    EXPECT_EQ(count(frames, 5) + count(frames, 3), 0);  // no SetFrequency, no SetVpp
    EXPECT_EQ(frames.back(), kClose);
    EXPECT_EQ(rig.messages(),
              (Texts{"Set_Offset_CommError", "Error Sending Data.", "Error calculating Offset!"}));
    EXPECT_EQ(look(), (Texts{"Error Single Tone Sine", "", neutral, runPicture}));

    // A close that is not taken leaves nothing to set up: the refresh closes again and fails.
    rig.ui.messages.clear();
    rig.sim.nakNext(3);
    EXPECT_EQ(press("RefreshBtn_Click"),
              (Frames{kRelayOffA, kRelayOffA, kRelayOffA, kRelayOffA, kRelayOffB, kClose}));
    EXPECT_EQ(rig.messages(), (Texts{"_Relay_ON_CommError", "Error Sending Data."}));
    EXPECT_EQ(look(), (Texts{"Error Single Tone Sine", "", neutral, runPicture}));
}

// The first run of a single-shot output fires twice, every later press once; a stop leaves the
// output unarmed, so the run after it sends the configuration again before it fires. A trigger
// that is not answered is tried once and says so.
TEST_F(RunStop, SingleShotPulseFiresTwiceOnTheFirstRunThenOncePerPress) {
    panel("Pulse Generator", kSinglePulse);
    for (int run = 0; run < 2; ++run) {
        const Frames first = press("RUN_Click");
        EXPECT_EQ(count(first, 25), 2);
        EXPECT_GT(count(first, 18), 0);  // the configuration was sent
        EXPECT_EQ(rig.w().RUN->text, "TRIGGER");
        EXPECT_EQ(rig.w().StatusBar->text,
                  "Running Pulse Generator In Single Mode! Clik TRIGGER or Use TRIGGER Input");
        EXPECT_EQ(press("RUN_Click"), Frames{kTrigger});
        press("STOP_Click");
        EXPECT_EQ(look(), (Texts{"Stopped", "", neutral, runPicture}));
    }
    EXPECT_EQ(rig.sim.model().triggerCount, 6);
    press("RUN_Click");
    EXPECT_EQ(press("RUN_Click"), Frames{kTrigger});
    EXPECT_TRUE(rig.messages().empty());
    rig.sim.muteNext(1);
    EXPECT_EQ(press("RUN_Click").size(), 1U);
    EXPECT_EQ(rig.messages(),
              (Texts{"Sending Trigger_Comm timed out", "Error Sending Data.", "RUN_Error"}));
}

// After a failed validation the output stage is closed: RUN shows the stopped look, whatever it
// showed before (running or armed).
TEST_F(RunStop, AFailedValidationShowsTheStoppedLook) {
    // Mode, entries that run, the entry that then fails validation, RUN's caption while running.
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"Single Tone Sine", "Vpp=1", "Frek=abc", "RUNNING"},
        {"Pulse Generator", kSinglePulse, "Vpp=x", "TRIGGER"},
        {"Sweep Sine Generator", "Vpp=1|steptime=100", "stepcnt=1", "RUNNING"}};
    for (const auto& [mode, fields, bad, caption] : rows) {
        panel(mode, fields);
        press("RUN_Click");
        EXPECT_EQ(rig.w().RUN->text, caption) << mode;
        setTexts(rig.w(), bad);
        const Frames frames = press("RefreshBtn_Click");
        EXPECT_EQ(frames, (Frames{kRelayOffA, kRelayOffB, kClose})) << mode;
        EXPECT_EQ(look(), (Texts{std::string("Error ") + mode, "", neutral, runPicture})) << mode;
    }
}

// Continuous outputs never trigger; a sweep is single-shot only with "Single Sweep" ticked.
TEST_F(RunStop, ContinuousOutputsNeverTrigger) {
    panel("Single Tone Sine", "Vpp=1|outmode=Single");  // outmode is disabled here
    EXPECT_EQ(count(press("RUN_Click"), 25), 0);
    EXPECT_EQ(rig.w().RUN->text, "RUNNING");
    panel("Sweep Sine Generator", "Vpp=1|steptime=100");
    rig.w().singlesw->value = 1;
    EXPECT_EQ(count(press("RUN_Click"), 25), 2);
    rig.w().singlesw->value = 0;
    EXPECT_EQ(count(press("RefreshBtn_Click"), 25) + count(press("RUN_Click"), 25), 0);
    EXPECT_EQ(rig.w().RUN->text, "RUNNING");
}

TEST_F(RunStop, AFailedRefreshOrSequenceInSingleShotModeFiresNoTrigger) {
    panel("Pulse Generator", "outmode=Single|Vpp=x");  // validation fails
    EXPECT_EQ(count(press("RUN_Click"), 25), 0);
    EXPECT_EQ(count(press("RefreshBtn_Click"), 25), 0);
    EXPECT_EQ(rig.w().StatusBar->text, "Error Pulse Generator");
    // Now valid and continuous; arbmode is not enabled in this mode.
    setTexts(rig.w(), "Vpp=1|Pulse=200|PulseUnit=ns|Pause=100|PauseUnit=ns");
    setTexts(rig.w(), "outmode=Continuous|arbmode=Single");
    EXPECT_EQ(count(press("RefreshBtn_Click"), 25), 0);

    panel("Pulse Generator", kSinglePulse);
    rig.sim.nakNext(2, 6);  // the offset command fails
    EXPECT_EQ(count(press("RUN_Click"), 25), 0);
    EXPECT_EQ(rig.w().StatusBar->text, "Error Pulse Generator");
    EXPECT_NE(rig.w().RUN->text, "TRIGGER");
    // The failed output is not armed: the next press sends the configuration again first.
    const Frames again = press("RUN_Click");
    EXPECT_GT(count(again, 18), 0);
    EXPECT_EQ(count(again, 25), 2);
}

TEST_F(RunStop, ModulatedSineSwitchesTheStageOnOnceAndRampTwice) {
    const auto stageOnCount = [](const Frames& f) {
        long n = 0;
        for (std::size_t i = 0; i + 2 < f.size(); ++i) {
            n += f[i] == kLevel0A && f[i + 1] == kLevel0B && f[i + 2][0] == 32 &&
                 f[i + 2][1] == 3 && f[i + 2][2] == 15;
        }
        return n;
    };
    panel("Sine Modulated", "Vpp=1");
    // SetBias's second stage-on, then the one before the modulation procedure.
    EXPECT_EQ(stageOnCount(press("RefreshBtn_Click")), 2);
    EXPECT_EQ(rig.w().StatusBar->text, "Running Sine Modulated");
    panel("Ramp", "Vpp=1");
    // SetBias's, the one in the sequence, and the one at the end.
    EXPECT_EQ(stageOnCount(press("RefreshBtn_Click")), 3);
    EXPECT_EQ(rig.w().StatusBar->text, "Running Ramp");
}

TEST_F(RunStop, StopClosesTheStageAndResendsTheBareAmplitude) {
    // sgstop takes the bare number, whatever the unit: round(1000 x 16383 / 7090) = 2311.
    panel("Single Tone Sine", "Vpp=1000");
    EXPECT_EQ(press("STOP_Click"), (Frames{kRelayOffA, kRelayOffB, kClose, {3, 9, 7, 0, 0, 0}}));
    EXPECT_EQ(look(), (Texts{"Stopped", "", neutral, runPicture}));
    EXPECT_EQ(rig.w().STOP->back, colour::kRed);
    EXPECT_EQ(rig.s().gen.sgaten, 2040);
}

// A STOP whose commands were not all taken does not claim the output stopped: the status names
// the error, sgerror is set and STOP stays unlit; the next STOP that works shows the stopped look.
TEST_F(RunStop, AFailedStopDoesNotShowTheStoppedLook) {
    const struct {
        bool mute;          // no answer, else NAKs
        int after;          // frames of the STOP that pass first
        const char* first;  // the failing step's message
    } rows[] = {{false, 0, "_Relay_ON_CommError"},
                {true, 2, "_Relay_ON_Comm timed out"},
                {false, 3, "SGSTOP_Amplitude_CommError"}};
    for (const auto& row : rows) {
        panel("Single Tone Sine", "Vpp=1");
        press("RUN_Click");
        ASSERT_EQ(rig.w().RUN->text, "RUNNING");
        rig.ui.messages.clear();
        if (row.mute) {
            rig.sim.muteNext(3, row.after);
        } else {
            rig.sim.nakNext(3, row.after);
        }
        press("STOP_Click");
        EXPECT_EQ(rig.messages().at(0), row.first) << row.after;
        EXPECT_EQ(look(), (Texts{"Error Single Tone Sine", "", neutral, runPicture})) << row.after;
        EXPECT_EQ(rig.w().STOP->back, colour::kActiveBorder) << row.after;
        EXPECT_TRUE(rig.s().gen.sgerror) << row.after;
        press("STOP_Click");
        EXPECT_EQ(look(), (Texts{"Stopped", "", neutral, runPicture})) << row.after;
        EXPECT_EQ(rig.w().STOP->back, colour::kRed) << row.after;
    }
}

// A started program with the panel laid out for `mode` and the entries set.
std::unique_ptr<Rig> ready(const std::string& mode, const std::string& fields) {
    auto rig = std::make_unique<Rig>();
    EXPECT_TRUE(rig->start());
    rig->w().ModeSelect->text = mode;
    EXPECT_TRUE(rig->run("ModeSelect_Click"));
    setTexts(rig->w(), "Vpp=1" + (fields.empty() ? "" : "|" + fields));
    return rig;
}

// Square-Wave2 whose last switch-on fails: the level DAC keeps 0 instead of 490, so the output
// is closed and the refresh fails instead of showing it running at the wrong level.
TEST(RefreshFailure, SquareWave2WithAFailedSwitchOnIsNotRunning) {
    const auto rig = ready("Square-Wave2", "Vpp=2|Frek=1");
    rig->sim.nakNext(3, 21);
    ASSERT_TRUE(rig->run("RefreshBtn_Click"));
    EXPECT_EQ(rig->messages(), (Texts{"_Relay_ON_CommError", "Error Sending Data."}));
    EXPECT_EQ(rig->w().StatusBar->text, "Error Square-Wave2");
    EXPECT_TRUE(rig->sim.model().outputClosed);
}

// A write that fails among the raw RAM words is a broken link, as a failed frame write is: the
// program ends with the link's message and writes nothing more.
TEST(RefreshFailure, AFailedRamWordWriteEndsTheProgram) {
    // Each mode that writes RAM words, and the entries that make it run (besides Vpp 1).
    const std::pair<std::string, std::string> rows[] = {
        {"Pulse Generator", "Pulse=100|PulseUnit=ns|Pause=300|PauseUnit=ns"},
        {"Ramp", ""},
        {"Triangle", ""},
        {"Arbitrary", ""},
        {"Sweep Sine Generator", "steptime=100"},
        {"Square-Wave", "Frek=10|frequnit=MHz"},
        {"Sine Modulated", "modtype=Internal FM1000Hz|startf=1|stopf=2|stepcnt=10|steptime=10"}};
    const auto writes = [](const Rig& rig, std::size_t from) {
        Texts out;
        for (const std::string& line : rig.lines(from)) {
            if (line.starts_with("write ")) {
                out.push_back(line);
            }
        }
        return out;
    };
    for (const auto& [mode, fields] : rows) {
        const auto clean = ready(mode, fields);
        const auto from = clean->mark();
        ASSERT_TRUE(clean->run("RefreshBtn_Click"));
        const Texts all = writes(*clean, from);
        // The second RAM word: a write of four bytes.
        const auto word = std::ranges::find_if(all, [n = 0](const std::string& w) mutable {
            return std::ranges::count(w, ' ') == 4 && ++n == 2;
        });
        ASSERT_NE(word, all.end()) << mode;
        const auto rig = ready(mode, fields);
        const auto start = rig->mark();
        rig->sim.failWritesNext(1, static_cast<int>(word - all.begin()));
        EXPECT_FALSE(rig->run("RefreshBtn_Click")) << mode;
        EXPECT_TRUE(rig->ui.ended) << mode;
        EXPECT_EQ(rig->messages(), Texts{"Error finding TUNX3K device. Aborting application."})
            << mode;
        const Texts written = writes(*rig, start);
        ASSERT_EQ(written.size(), static_cast<std::size_t>(word - all.begin()) + 1) << mode;
        EXPECT_EQ(written.back(), *word + " -> 4") << mode;
    }
}

}  // namespace
}  // namespace tunx::test
