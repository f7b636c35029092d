#include <gtest/gtest.h>

#include <string>

#include "dds/Pulse.h"
#include "dds/RamModeRig.h"

namespace tunx::test {
namespace {

constexpr const char* kMsgError = "Error Calculating Square-Wave Frequency!";

using Words = std::vector<std::array<int, 4>>;

struct SquareRig : RamModeRig {
    std::size_t square(const std::string& f, const std::string& unit,
                       const char* mode = "Continuous") {
        w()["Frek"].text = f;
        w()["frequnit"].text = unit;
        w()["outmode"].text = mode;
        const std::size_t m = mark();
        SetSquareFrequency(w(), link());
        return m;
    }
};

TEST(SquareWave, TenMegahertzStepsTwoWordsAtTwentyMegahertz) {
    SquareRig rig;
    rig.s().gen.clklabel = "400MHz";
    const auto m = rig.square("10", "MHz");
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{
                                 {32, 4, 6, 0, 0, 0},
                                 {26, 12, 128, 1, 0, 0},  // S = 3200
                                 {24, 0, 2, 44, 0, 0},    // M = 5, label changed
                                 {18, 0, 2, 0, 0, 0},
                                 {23, 0, 0, 0, 0, 0},  // no step multiplier
                                 {1, 194, 0, 2, 64, 0},
                             }));
    EXPECT_EQ(rig.words(m), (Words{{0, 0, 0, 0}, {127, 0, 0, 0}}));
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{300, 100, 1000}));
    EXPECT_EQ(rig.timeouts(m), (std::vector<int>{1000, 1000, 2000, 1000, 1000, 1000}));
    EXPECT_EQ(rig.s().gen.sgfreq, 10'000'000);
    EXPECT_EQ(rig.w()["lmainclk"].text, "20,000,000Hz");
    EXPECT_EQ(rig.s().gen.clklabel, "20,000,000Hz");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
}

TEST(SquareWave, ClockSettingGoesOutEveryTime) {
    SquareRig rig;
    rig.square("10", "MHz");
    const auto m = rig.square("10", "MHz");
    const auto f = rig.frames(m);
    ASSERT_GE(f.size(), 3U);
    EXPECT_EQ(f[1], (Frame{26, 12, 128, 1, 0, 0}));
    EXPECT_EQ(f[2], (Frame{2, 0, 2, 44, 0, 0}));
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{300, 100, 1000}));
}

TEST(SquareWave, OneKilohertzUsesStepMultiplier15000) {
    SquareRig rig;
    const auto m = rig.square("1", "kHz");
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 6U);
    EXPECT_EQ(f[1], (Frame{26, 13, 101, 1, 0, 0}));  // R = 30 MHz, M = 7, S = 3429
    EXPECT_EQ(f[2][3], 60);
    EXPECT_EQ(f[4], (Frame{23, 58, 152, 58, 152, 0}));
    EXPECT_EQ(rig.w()["lmainclk"].text, "30,000,000Hz");
    EXPECT_EQ(rig.s().gen.sgfreq, 1000);
}

TEST(SquareWave, LowFrequencySpreadsEachLevelOverSeveralWords) {
    SquareRig rig;
    // K = 150000 > 65534: m = 5 words per level, K = 30000, R = 30 MHz.
    const auto m = rig.square("100", "Hz");
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 6U);
    EXPECT_EQ(f[3], (Frame{18, 0, 10, 0, 0, 0}));
    EXPECT_EQ(f[4], (Frame{23, 117, 48, 117, 48, 0}));
    EXPECT_EQ(rig.words(m), [] {
        Words w = repeatWord({0, 0, 0, 0}, 5);
        const Words high = repeatWord({127, 0, 0, 0}, 5);
        w.insert(w.end(), high.begin(), high.end());
        return w;
    }());
}

TEST(SquareWave, HalfHertzHalvesTheWordsToFitTheRam) {
    SquareRig rig;
    // K = 30,000,000: m = 938, K = 31983; m > 511 gives m = 469, K = 63966.
    const auto m = rig.square("0.5", "Hz");
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 6U);
    EXPECT_EQ(f[3], (Frame{18, 3, 170, 0, 0, 0}));  // 938 words
    EXPECT_EQ(f[4], (Frame{23, 249, 222, 249, 222, 0}));
    EXPECT_EQ(rig.words(m).size(), 938U);
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST(SquareWave, SingleAndInvertExchangeTheLevels) {
    struct Row {
        const char* mode;
        int invert;
        int first;
    };
    for (const Row& r : {Row{"Continuous", 0, 0}, Row{"Continuous", 1, 127}, Row{"Single", 0, 127},
                         Row{"Single", 1, 0}}) {
        SquareRig rig;
        rig.w()["invert"].value = r.invert;
        const auto m = rig.square("10", "MHz", r.mode);
        const auto words = rig.words(m);
        ASSERT_EQ(words.size(), 2U);
        EXPECT_EQ(words[0][0], r.first) << r.mode << r.invert;
        EXPECT_EQ(words[1][0], 127 - r.first) << r.mode << r.invert;
    }
}

TEST(SquareWave, SingleRepeatsControlRegisterAndStarts) {
    SquareRig rig;
    const auto m = rig.square("10", "MHz", "Single");
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 8U);
    EXPECT_EQ(f[5], (Frame{1, 194, 0, 2, 64, 0}));
    EXPECT_EQ(f[6], (Frame{1, 194, 0, 2, 64, 0}));
    EXPECT_EQ(f[7], (Frame{20, 3, 1, 0, 0, 0}));
}

TEST(SquareWave, UnplayableFrequenciesFail) {
    for (const char* f : {"abc", "", "0", "-1000", "60000000", "0.1", "1e300", "inf", "nan"}) {
        SquareRig rig;
        const auto m = rig.square(f, "Hz");
        EXPECT_EQ(rig.messages(), std::vector<std::string>{kMsgError}) << f;
        EXPECT_TRUE(rig.s().gen.sgerror) << f;
        EXPECT_TRUE(rig.words(m).empty()) << f;
    }
}

TEST(SquareWave, RefusedCommandTakesTheFailurePath) {
    SquareRig rig;
    rig.sim.nakNext(3, 1);  // the clock setting is refused
    const auto m = rig.square("10", "MHz");
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"SetFreq_Square_Wave_CommError",
                                                        "Error Sending Data.", kMsgError}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(m).back()[0], 26);
}

}  // namespace
}  // namespace tunx::test
