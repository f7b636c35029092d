#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dds/FrameTimeouts.h"
#include "dds/Frequency.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using Bytes = std::array<int, 4>;

constexpr Frame kPathOn{32, 4, 2, 1, 0, 0};
constexpr Frame kSinePath{32, 4, 6, 0, 0, 0};
constexpr Frame kSquare2Path{32, 4, 6, 1, 0, 0};
constexpr Frame kClockTo400{26, 0, 0, 1, 1, 0};
constexpr Frame kCfr2At400{2, 0, 2, 164, 0, 0};
constexpr Frame kClockTo20{24, 0, 2, 0, 0, 0};
constexpr Frame kCfr2At20{2, 0, 2, 0, 0, 0};
constexpr Frame kUpdate{6, 0, 0, 0, 0, 0};

Frame ftw(const Bytes& b) {
    return {5, b[0], b[1], b[2], b[3], 0};
}

class Frequency : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.s().cal.clkcorr = 1.0;
        rig.s().cal.fmoffset = -51800.0F;
        rig.w()["ModeSelect"].text = "Single Tone Sine";
        rig.w()["modtype"].text = "External AM";
    }

    // Enters a frequency, runs SetFrequency and returns the frames it wrote.
    std::vector<Frame> tune(const std::string& number, const std::string& unit) {
        rig.w()["Frek"].text = number;
        rig.w()["frequnit"].text = unit;
        mark = rig.mark();
        SetFrequency(rig.w(), rig.link());
        return rig.frames(mark);
    }

    // The tuning word bytes of the code 5 frame, if one was sent.
    static std::optional<Bytes> wordOf(const std::vector<Frame>& frames) {
        for (const Frame& f : frames) {
            if (f[0] == 5) {
                return Bytes{f[1], f[2], f[3], f[4]};
            }
        }
        return std::nullopt;
    }

    Rig rig;
    std::size_t mark = 0;
};

TEST_F(Frequency, FirstEntryAbove100HzSwitchesTo400MHzAndSendsTheWord) {
    const auto frames = tune("1", "kHz");
    EXPECT_EQ(frames, (std::vector<Frame>{kPathOn, kSinePath, kClockTo400, kCfr2At400,
                                          ftw({0, 0, 41, 241}), kUpdate}));
    EXPECT_EQ(frameTimeouts(rig, mark), (std::vector<int>{1000, 1000, 1000, 2000, 1000, 1000}));
    EXPECT_EQ(rig.sleptMs(mark), 6 * 20 + 300 + 10);
    EXPECT_EQ(rig.s().gen.sgfreq, 1000);
    EXPECT_EQ(rig.s().gen.clklabel, "400MHz");
    EXPECT_EQ(rig.w()["lmainclk"].text, "400MHz");
    EXPECT_EQ(rig.w()["Frek"].text, "1");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Frequency, TuningWordFollowsTheClockCorrectionAndTheTopBand) {
    struct Row {
        const char* number;
        const char* unit;
        double clkcorr;
        Bytes word;
    };
    const Row rows[] = {
        {"1", "kHz", 1.0, {0, 0, 41, 241}},              // 10737
        {"1", "kHz", 1.01, {0, 0, 42, 93}},              // 10845: corrected
        {"100.5", "Hz", 1.0, {0, 0, 4, 55}},             // 1079 at 400 MHz
        {"10", "MHz", 1.0, {6, 102, 102, 102}},          // 107374182
        {"199.95", "MHz", 1.01, {127, 247, 206, 217}},   // correction ignored
        {"199999999", "Hz", 1.0, {127, 255, 255, 245}},  // still its own word
        {"199999999.5", "Hz", 1.0, {128, 0, 0, 0}},      // half the clock
        {"200", "MHz", 1.0, {128, 0, 0, 0}},
        {"250", "MHz", 1.01, {128, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        rig.s().cal.clkcorr = r.clkcorr;
        EXPECT_EQ(wordOf(tune(r.number, r.unit)), r.word) << r.number << " " << r.unit;
        EXPECT_FALSE(rig.s().gen.sgerror) << r.number;
    }
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Frequency, AtOrBelow100HzUsesThe20MHzClockAndShowsTheProducedFrequency) {
    const auto frames = tune("100", "Hz");
    EXPECT_EQ(frames,
              (std::vector<Frame>{kPathOn, kSinePath, kClockTo20, ftw({0, 0, 83, 227}), kUpdate}));
    EXPECT_EQ(rig.w()["Frek"].text, "100.00049");
    EXPECT_EQ(rig.w()["frequnit"].text, "Hz");
    EXPECT_EQ(rig.w()["lmainclk"].text, "20MHz");
    EXPECT_EQ(rig.s().gen.clklabel, "20MHz");
    EXPECT_EQ(rig.s().gen.sgfreq, 100);

    tune("100.5", "Hz");
    EXPECT_EQ(rig.w()["Frek"].text, "100.5");
    EXPECT_EQ(rig.w()["lmainclk"].text, "400MHz");
}

TEST_F(Frequency, ZeroHertzHoldsTheOutput) {
    const auto frames = tune("0", "Hz");
    EXPECT_EQ(frames, (std::vector<Frame>{kPathOn, kSinePath, kClockTo20, ftw({0, 0, 0, 0}),
                                          Frame{6, 16, 0, 0, 0, 0}}));
    EXPECT_EQ(rig.w()["Frek"].text, "0.00000");
}

TEST_F(Frequency, ClockChangesAreSentOncePerChange) {
    struct Step {
        const char* number;
        const char* unit;
        std::vector<Frame> frames;
        long long sleptMs;
    };
    const Step steps[] = {
        {"150",
         "kHz",
         {kPathOn, kSinePath, kClockTo400, kCfr2At400, ftw({0, 24, 147, 117}), kUpdate},
         6 * 20 + 300 + 10},
        {"50", "Hz", {kPathOn, kSinePath, kClockTo20, ftw({0, 0, 41, 241}), kUpdate}, 5 * 20 + 10},
        {"50", "Hz", {kPathOn, kSinePath, kCfr2At20, ftw({0, 0, 41, 241}), kUpdate}, 5 * 20 + 10},
        {"150",
         "kHz",
         {kPathOn, kSinePath, kClockTo400, kCfr2At400, ftw({0, 24, 147, 117}), kUpdate},
         6 * 20 + 300 + 10},
        {"150",
         "kHz",
         {kPathOn, kSinePath, kCfr2At400, ftw({0, 24, 147, 117}), kUpdate},
         5 * 20 + 10},
    };
    int i = 0;
    for (const Step& s : steps) {
        EXPECT_EQ(tune(s.number, s.unit), s.frames) << "step " << i;
        EXPECT_EQ(rig.sleptMs(mark), s.sleptMs) << "step " << i;
        ++i;
    }
    EXPECT_EQ(rig.w()["lmainclk"].text, "400MHz");
}

TEST_F(Frequency, ExternalFmShiftsOnlyTheProgrammedFrequency) {
    struct Row {
        const char* mode;
        const char* modtype;
        Bytes word;
    };
    const Row rows[] = {
        {"Sine Modulated", "External FM", {0, 155, 90, 100}},  // 948,200 Hz
        {"Sine Modulated", "External AM", {0, 163, 215, 10}},  // 1 MHz
        {"Single Tone Sine", "External FM", {0, 163, 215, 10}},
    };
    for (const Row& r : rows) {
        rig.w()["ModeSelect"].text = r.mode;
        rig.w()["modtype"].text = r.modtype;
        EXPECT_EQ(wordOf(tune("1", "MHz")), r.word) << r.mode << " " << r.modtype;
        EXPECT_EQ(rig.s().gen.sgfreq, 1'000'000);
    }
}

TEST_F(Frequency, UndersamplingAddsTheShiftForTheTimePerDivision) {
    struct Row {
        const char* mhz;
        std::int32_t undersdiv;
        double ratio;
        float shift;
        Bytes word;
    };
    const Row rows[] = {
        {"10", 10, 640.0, 15.625F, {6, 102, 103, 14}},   // 10,000,015.625 Hz
        {"50", 100, 12.8, 781.25F, {32, 0, 32, 197}},    // 50,000,781.25 Hz
        {"1", 1000, 64.0, 156.25F, {0, 163, 221, 152}},  // 1,000,156.25 Hz
    };
    rig.s().gen.undersmonflag = true;
    for (const Row& r : rows) {
        rig.s().gen.undersdiv = r.undersdiv;
        EXPECT_EQ(wordOf(tune(r.mhz, "MHz")), r.word) << r.mhz;
        EXPECT_DOUBLE_EQ(rig.s().gen.undersratio, r.ratio) << r.mhz;
        EXPECT_FLOAT_EQ(rig.s().gen.undersshift, r.shift) << r.mhz;
    }
    EXPECT_EQ(rig.s().gen.sgfreq, 1'000'000);
}

TEST_F(Frequency, BadEntriesFailWithoutSendingAnything) {
    struct Row {
        const char* number;
        const char* unit;
        double clkcorr;
        bool undersampling;
    };
    const Row rows[] = {
        {"abc", "kHz", 1.0, false},     {"", "kHz", 1.0, false},
        {"1e400", "Hz", 1.0, false},    {"3e300", "MHz", 1.0, false},
        {"-5", "Hz", 1.0, false},       {"199.8", "MHz", 1.01, false},  // word beyond 31 bits
        {"5000000", "MHz", 1.0, false},                                 // beyond the 32-bit sgfreq
        {"0", "Hz", 1.0, true},                                         // no period to undersample
        {"1", "MHz", 1.0, true},  // time per division never set
    };
    for (const Row& r : rows) {
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        fresh.s().cal.clkcorr = r.clkcorr;
        fresh.s().gen.undersmonflag = r.undersampling;
        fresh.w()["Frek"].text = r.number;
        fresh.w()["frequnit"].text = r.unit;
        const auto from = fresh.mark();
        SetFrequency(fresh.w(), fresh.link());
        EXPECT_TRUE(fresh.frames(from).empty()) << r.number;
        EXPECT_EQ(fresh.messages(), std::vector<std::string>{"Error Calculating frequency!"})
            << r.number;
        EXPECT_TRUE(fresh.s().gen.sgerror) << r.number;
        EXPECT_EQ(fresh.s().gen.clklabel, "") << r.number;
    }
}

TEST_F(Frequency, ARefusedCommandStopsTheSequence) {
    rig.sim.nakNext(3, 2);  // every attempt of the clock switch
    const auto frames = tune("1", "kHz");
    EXPECT_EQ(frames,
              (std::vector<Frame>{kPathOn, kSinePath, kClockTo400, kClockTo400, kClockTo400}));
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"SetFreq_Square_Wave_CommError", "Error Sending Data.",
                                        "Error Calculating frequency!"}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    // The clock was not switched, so the next entry switches it.
    EXPECT_EQ(rig.s().gen.clklabel, "");
    rig.s().gen.sgerror = false;
    EXPECT_EQ(tune("1", "kHz")[2], kClockTo400);
}

TEST_F(Frequency, Square2HasItsOwnPathControlRegisterAndAmplitude) {
    rig.w()["Frek"].text = "1";
    rig.w()["frequnit"].text = "kHz";
    mark = rig.mark();
    SetSquare2Frequency(rig.w(), rig.link());
    EXPECT_EQ(rig.frames(mark),
              (std::vector<Frame>{kPathOn, kSquare2Path, Frame{26, 0, 0, 0, 0, 0}, kCfr2At400,
                                  Frame{1, 2, 0, 2, 0, 0}, ftw({0, 0, 41, 241}), kUpdate,
                                  Frame{3, 31, 64, 0, 0, 0}}));
    EXPECT_EQ(rig.sleptMs(mark), 8 * 20 + 300 + 10);
    EXPECT_EQ(rig.s().gen.clklabel, "400MHz");

    rig.w()["Frek"].text = "50";
    rig.w()["frequnit"].text = "Hz";
    mark = rig.mark();
    SetSquare2Frequency(rig.w(), rig.link());
    EXPECT_EQ(rig.frames(mark),
              (std::vector<Frame>{kPathOn, kSquare2Path, kClockTo20, Frame{1, 2, 0, 2, 0, 0},
                                  ftw({0, 0, 41, 241}), kUpdate, Frame{3, 31, 64, 0, 0, 0}}));
    EXPECT_EQ(rig.w()["Frek"].text, "49.99791");
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST_F(Frequency, RetuneForTheMonitorSendsOnlyTheShiftedWord) {
    rig.s().gen.undersdiv = 10;
    rig.s().gen.undersmonflag = false;  // shifted all the same

    rig.s().gen.sgfreq = 999'999;
    mark = rig.mark();
    SetFreqFTW(rig.link());
    EXPECT_TRUE(rig.frames(mark).empty());

    rig.s().gen.sgfreq = 10'000'000;
    mark = rig.mark();
    SetFreqFTW(rig.link());
    EXPECT_EQ(rig.frames(mark), (std::vector<Frame>{ftw({6, 102, 103, 14}), kUpdate}));
    EXPECT_DOUBLE_EQ(rig.s().gen.undersratio, 640.0);
    EXPECT_TRUE(rig.messages().empty());

    rig.s().gen.undersdiv = 0;
    mark = rig.mark();
    SetFreqFTW(rig.link());
    EXPECT_TRUE(rig.frames(mark).empty());
    EXPECT_EQ(rig.messages(), std::vector<std::string>{"Error Calculating frequency!"});
    EXPECT_TRUE(rig.s().gen.sgerror);
}

}  // namespace
}  // namespace tunx::test
