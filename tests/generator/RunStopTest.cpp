#include <gtest/gtest.h>

#include <algorithm>

#include "generator/RunStop.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

// A started program with the calibration the arithmetic below is worked out for.
struct RunStop : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        Calibration& c = rig.s().cal;
        c.clkcorr = 1.0;
        c.ampfullscale = 7090;
        c.flat1M = 1.0F;
        c.offzero = -10;
        c.offgain = 1.0F;
        c.adcref = 3600;
        rig.ui.messages.clear();
    }
    void choose(const std::string& mode) { ASSERT_TRUE(rig.run(chooseMode(mode))); }
    std::string chooseMode(const std::string& mode) {
        rig.w()["ModeSelect"].text = mode;
        return "ModeSelect_Click";
    }
    long count(const std::vector<Frame>& frames, int code) {
        return std::count_if(frames.begin(), frames.end(),
                             [code](const Frame& f) { return f[0] == code; });
    }
    // Index of the first frame equal to `f`, or -1.
    long find(const std::vector<Frame>& frames, const Frame& f) {
        const auto it = std::find(frames.begin(), frames.end(), f);
        return it == frames.end() ? -1 : it - frames.begin();
    }
    Rig rig;
};

const Frame kRelayOffA{31, 3, 252, 3, 0, 0};
const Frame kRelayOffB{31, 0, 3, 7, 0, 0};
const Frame kClose{30, 0, 0, 0, 0, 0};
const Frame kLevel0A{31, 0, 0, 3, 0, 0};
const Frame kLevel0B{31, 3, 255, 7, 0, 0};
const Frame kAttenOff{32, 3, 15, 0, 0, 0};
const Frame kTrigger{25, 0, 0, 0, 0, 0};

TEST_F(RunStop, OneKilohertzSineSendsTheWholeRequestInOrder) {
    choose("Single Tone Sine");
    rig.w()["Frek"].text = "1";
    rig.w()["frequnit"].text = "kHz";
    rig.w()["Vpp"].text = "1";
    rig.w()["VppUnit"].text = "Vpp";
    rig.w()["VBias"].text = "0";
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    const std::vector<Frame> expected = {
        kRelayOffA,
        kRelayOffB,
        kClose,  // output stage closed
        kRelayOffA,
        kRelayOffB,
        kAttenOff,                // SetBias: stage on
        {13, 2, 128, 2, 128, 0},  // offset 0 mV
        kLevel0A,
        kLevel0B,
        kAttenOff,  // stage on, sgaten 0
        {32, 6, 4, 1, 0, 0},
        {32, 6, 5, 0, 0, 0},
        {27, 255, 255, 85, 85, 85},  // bias read
        {32, 4, 2, 1, 0, 0},
        {32, 4, 6, 0, 0, 0},  // output path
        {26, 0, 0, 1, 1, 0},
        {2, 0, 2, 164, 0, 0},  // 400 MHz clock
        {5, 0, 0, 41, 241, 0},
        {6, 0, 0, 0, 0, 0},  // tuning word 10737
        {3, 9, 7, 0, 0, 0},  // ASF 2311
        kLevel0A,
        kLevel0B,
        kAttenOff,  // output on
    };
    EXPECT_EQ(rig.frames(from), expected);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.w()["StatusBar"].text, "Running Single Tone Sine");
    EXPECT_EQ(rig.w()["RUN"].text, "RUNNING");
    EXPECT_EQ(rig.w()["RUN"].back, colour::kGreen);
    EXPECT_TRUE(rig.w()["RUN"].picture.empty());
    EXPECT_EQ(rig.w()["STOP"].back, colour::kActiveBorder);
    // 22 acknowledged commands at 20 ms, the clock switch, the FTW pause, the offset
    // settle and the bias read.
    EXPECT_EQ(rig.sleptMs(from), 22 * 20 + 300 + 10 + 50 + 2);
}

TEST_F(RunStop, InvalidEntriesSendNothingForTheMode) {
    choose("Single Tone Sine");
    rig.w()["Frek"].text = "abc";
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    EXPECT_EQ(rig.frames(from), (std::vector<Frame>{kRelayOffA, kRelayOffB, kClose}));
    EXPECT_EQ(
        rig.messages(),
        (std::vector<std::string>{"Frequency must be a numeric value between 0.1 Hz and 200 MHz"}));
    EXPECT_EQ(rig.ui.messages.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(rig.w()["StatusBar"].text, "Error Single Tone Sine");
}

TEST_F(RunStop, FailingOffsetStopsTheSequenceAndClosesTheOutput) {
    choose("Single Tone Sine");
    rig.w()["Vpp"].text = "1";
    // The first six frames (close, then the stage on in SetBias) pass; the offset is refused.
    rig.sim.nakNext(2, 6);
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    const auto frames = rig.frames(from);
    EXPECT_EQ(count(frames, 5), 0);  // no SetFrequency
    EXPECT_EQ(count(frames, 3), 0);  // no SetVpp
    EXPECT_EQ(frames.back(), kClose);
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Offset_CommError", "Error Sending Data.",
                                        "Error calculating Offset!"}));
    EXPECT_EQ(rig.w()["StatusBar"].text, "Error Single Tone Sine");
    EXPECT_EQ(rig.w()["RUN"].back, colour::kActiveBorder);
    EXPECT_EQ(rig.w()["RUN"].picture, rig.w().installFile("run_btn.bmp"));
}

TEST_F(RunStop, SingleShotPulseFiresTwiceOnTheFirstRunThenOncePerPress) {
    choose("Pulse Generator");
    rig.w()["Vpp"].text = "1";
    rig.w()["Pulse"].text = "100";
    rig.w()["PulseUnit"].text = "ns";
    rig.w()["outmode"].text = "Single";
    auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    auto frames = rig.frames(from);
    EXPECT_EQ(count(frames, 25), 2);
    EXPECT_GT(count(frames, 18), 0);  // the configuration was sent
    EXPECT_EQ(rig.w()["RUN"].text, "TRIGGER");
    EXPECT_EQ(rig.w()["StatusBar"].text,
              "Running Pulse Generator In Single Mode! Clik TRIGGER or Use TRIGGER Input");

    from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(rig.frames(from), (std::vector<Frame>{kTrigger}));
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.sim.model().triggerCount, 3);
}

TEST_F(RunStop, ContinuousModesNeverTrigger) {
    choose("Single Tone Sine");
    rig.w()["Vpp"].text = "1";
    rig.w()["outmode"].text = "Single";  // disabled in this mode
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(count(rig.frames(from), 25), 0);
    EXPECT_EQ(rig.w()["RUN"].text, "RUNNING");
}

TEST_F(RunStop, SweepIsSingleShotOnlyWithSingleSweepTicked) {
    choose("Sweep Sine Generator");
    rig.w()["Vpp"].text = "1";
    rig.w()["steptime"].text = "100";
    rig.w()["singlesw"].value = 1;
    auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(count(rig.frames(from), 25), 2);
    rig.w()["singlesw"].value = 0;
    from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(count(rig.frames(from), 25), 0);
    EXPECT_EQ(rig.w()["RUN"].text, "RUNNING");
}

TEST_F(RunStop, AFailedRefreshInSingleShotModeFiresNoTrigger) {
    choose("Pulse Generator");
    rig.w()["outmode"].text = "Single";
    rig.w()["Vpp"].text = "x";  // validation fails
    auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(count(rig.frames(from), 25), 0);
    EXPECT_EQ(rig.w()["StatusBar"].text, "Error Pulse Generator");

    rig.w()["Vpp"].text = "1";
    rig.w()["Pulse"].text = "200";
    rig.w()["PulseUnit"].text = "ns";
    rig.w()["Pause"].text = "100";
    rig.w()["PauseUnit"].text = "ns";
    rig.w()["outmode"].text = "Continuous";
    rig.w()["arbmode"].text = "Single";  // not enabled in this mode
    from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    EXPECT_EQ(count(rig.frames(from), 25), 0);
}

TEST_F(RunStop, AFailedSequenceInSingleShotModeFiresNoTrigger) {
    choose("Pulse Generator");
    rig.w()["outmode"].text = "Single";
    rig.w()["Vpp"].text = "1";
    rig.w()["Pulse"].text = "100";
    rig.w()["PulseUnit"].text = "ns";
    rig.sim.nakNext(2, 6);  // the offset command fails
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(count(rig.frames(from), 25), 0);
    EXPECT_EQ(rig.w()["StatusBar"].text, "Error Pulse Generator");
    EXPECT_NE(rig.w()["RUN"].text, "TRIGGER");
}

TEST_F(RunStop, AFailedTriggerSaysRunError) {
    choose("Pulse Generator");
    rig.w()["outmode"].text = "Single";
    rig.w()["Vpp"].text = "1";
    rig.w()["Pulse"].text = "100";
    rig.w()["PulseUnit"].text = "ns";
    ASSERT_TRUE(rig.run("RUN_Click"));
    rig.ui.messages.clear();
    rig.sim.muteNext(1);
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(rig.frames(from).size(), 1U);  // one attempt only
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Sending Trigger_Comm timed out",
                                                        "Error Sending Data.", "RUN_Error"}));
}

TEST_F(RunStop, ModulatedSineSwitchesTheStageOnOnceAndRampTwice) {
    const auto stageOnCount = [this](std::size_t from) {
        const auto frames = rig.frames(from);
        long n = 0;
        for (std::size_t i = 0; i + 2 < frames.size(); ++i) {
            if (frames[i] == kLevel0A && frames[i + 1] == kLevel0B && frames[i + 2][0] == 32 &&
                frames[i + 2][1] == 3 && frames[i + 2][2] == 15) {
                ++n;
            }
        }
        return n;
    };
    choose("Sine Modulated");
    rig.w()["Vpp"].text = "1";
    auto from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    ASSERT_EQ(rig.w()["StatusBar"].text, "Running Sine Modulated");
    // SetBias's second stage-on, then the one before the modulation procedure.
    EXPECT_EQ(stageOnCount(from), 2);

    choose("Ramp");
    rig.w()["Vpp"].text = "1";
    from = rig.mark();
    ASSERT_TRUE(rig.run("RefreshBtn_Click"));
    ASSERT_EQ(rig.w()["StatusBar"].text, "Running Ramp");
    // SetBias's, the one in the sequence, and the one at the end.
    EXPECT_EQ(stageOnCount(from), 3);
}

TEST_F(RunStop, StopClosesTheStageAndResendsTheBareAmplitude) {
    choose("Single Tone Sine");
    rig.w()["Vpp"].text = "1000";  // sgstop takes the bare number, whatever the unit
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("STOP_Click"));
    // round(1000 x 16383 / 7090) = 2311
    EXPECT_EQ(rig.frames(from),
              (std::vector<Frame>{kRelayOffA, kRelayOffB, kClose, {3, 9, 7, 0, 0, 0}}));
    EXPECT_EQ(rig.w()["STOP"].back, colour::kRed);
    EXPECT_EQ(rig.w()["RUN"].text, "");
    EXPECT_EQ(rig.w()["RUN"].picture, rig.w().installFile("run_btn.bmp"));
    EXPECT_EQ(rig.w()["StatusBar"].text, "Stopped");
    EXPECT_EQ(rig.s().gen.sgaten, 2040);
}

TEST_F(RunStop, StoppingASingleShotOutputKeepsItArmed) {
    choose("Pulse Generator");
    rig.w()["outmode"].text = "Single";
    rig.w()["Vpp"].text = "1";
    rig.w()["Pulse"].text = "100";
    rig.w()["PulseUnit"].text = "ns";
    ASSERT_TRUE(rig.run("RUN_Click"));
    ASSERT_TRUE(rig.run("STOP_Click"));
    const auto from = rig.mark();
    ASSERT_TRUE(rig.run("RUN_Click"));
    EXPECT_EQ(rig.frames(from), (std::vector<Frame>{kTrigger}));
}

}  // namespace
}  // namespace tunx::test
