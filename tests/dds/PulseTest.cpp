#include <gtest/gtest.h>

#include <string>

#include "dds/Pulse.h"
#include "dds/RamModeRig.h"

namespace tunx::test {
namespace {

constexpr const char* kMsgError = "Set Pulse Error!";
constexpr const char* kMsgOrder = "Pause must be longer than Pulse! Use Invert Chek box";

using Words = std::vector<std::array<int, 4>>;

struct PulseRig : RamModeRig {
    std::size_t pulse(const std::string& p, const std::string& pUnit, const std::string& q,
                      const std::string& qUnit, const char* mode = "Continuous") {
        w()["Pulse"].text = p;
        w()["PulseUnit"].text = pUnit;
        w()["Pause"].text = q;
        w()["PauseUnit"].text = qUnit;
        w()["outmode"].text = mode;
        const std::size_t m = mark();
        SetPulse(w(), link());
        return m;
    }
};

Words concat(Words a, const Words& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(PulseShortPattern, HundredNanosecondPulseWithThreeTimesThePause) {
    PulseRig rig;
    const auto m = rig.pulse("100", "ns", "300", "ns");
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{
                                 {32, 4, 6, 0, 0, 0},
                                 {1, 194, 0, 2, 0, 0},
                                 {26, 14, 52, 1, 0, 0},  // S = 3636
                                 {2, 0, 2, 92, 0, 0},    // M = 11
                                 {18, 0, 4, 0, 0, 0},    // W = 4
                                 {23, 0, 5, 0, 5, 0},    // K = 5
                                 {1, 194, 0, 2, 0, 0},
                             }));
    EXPECT_EQ(rig.words(m), concat({{0, 0, 0, 0}}, repeatWord({127, 0, 0, 0}, 3)));
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{300, 100, 1000}));
    EXPECT_EQ(rig.timeouts(m), (std::vector<int>{1000, 1000, 1000, 2000, 1000, 1000, 1000}));
    EXPECT_EQ(rig.w()["Pulse"].text, "100.010");  // 5 steps at 49,995,000 Hz
    EXPECT_EQ(rig.w()["Pause"].text, "300.000");
    EXPECT_EQ(rig.w()["lmainclk"].text, "50,000,000Hz");
    EXPECT_EQ(rig.s().gen.clklabel, "50,000,000Hz");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
}

TEST(PulseShortPattern, FieldsAreRewrittenInTheirOwnUnit) {
    PulseRig rig;
    rig.pulse("0.1", "us", "0.0003", "ms");
    EXPECT_EQ(rig.w()["Pulse"].text, "0.100");
    EXPECT_EQ(rig.w()["Pause"].text, "0.000");
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST(PulseShortPattern, SameClockLabelSendsNoClockSetting) {
    PulseRig rig;
    rig.pulse("100", "ns", "300", "ns");
    const auto m = rig.pulse("100", "ns", "300", "ns");
    const auto f = rig.frames(m);
    ASSERT_GE(f.size(), 3U);
    EXPECT_EQ(f[2], (Frame{2, 0, 2, 92, 0, 0}));
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{100, 1000}));
}

TEST(PulseShortPattern, PauseNotAMultipleWritesOneWordPerStep) {
    PulseRig rig;
    const auto m = rig.pulse("100", "ns", "320", "ns");  // p = 5, q = 16: K = 1, 21 words
    const auto f = rig.frames(m);
    EXPECT_EQ(f[4], (Frame{18, 0, 21, 0, 0, 0}));
    EXPECT_EQ(f[5], (Frame{23, 0, 1, 0, 1, 0}));
    EXPECT_EQ(rig.words(m), concat(repeatWord({0, 0, 0, 0}, 5), repeatWord({127, 0, 0, 0}, 16)));
}

TEST(PulseShortPattern, LevelsFollowModeAndInvert) {
    struct Row {
        const char* mode;
        int invert;
        int pulseLevel;
        int pauseLevel;
    };
    for (const Row& r : {Row{"Continuous", 0, 0, 127}, Row{"Continuous", 1, 127, 0},
                         Row{"Single", 0, 127, 0}, Row{"Single", 1, 0, 127}}) {
        PulseRig rig;
        rig.w()["invert"].value = r.invert;
        const auto m = rig.pulse("100", "ns", "300", "ns", r.mode);
        const auto words = rig.words(m);
        ASSERT_FALSE(words.empty()) << r.mode << r.invert;
        EXPECT_EQ(words.front()[0], r.pulseLevel) << r.mode << r.invert;
        EXPECT_EQ(words.back()[0], r.pauseLevel) << r.mode << r.invert;
    }
}

TEST(PulseShortPattern, SingleForcesThePauseToThePulseAndStarts) {
    PulseRig rig;
    const auto m = rig.pulse("100", "ns", "junk", "ns", "Single");
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 8U);
    EXPECT_EQ(f[4], (Frame{18, 0, 2, 0, 0, 0}));
    EXPECT_EQ(f[5], (Frame{23, 0, 5, 0, 5, 0}));
    EXPECT_EQ(f[6], (Frame{1, 194, 0, 2, 0, 0}));
    EXPECT_EQ(f[7], (Frame{20, 3, 1, 0, 0, 0}));
    EXPECT_EQ(rig.words(m), (Words{{127, 0, 0, 0}, {0, 0, 0, 0}}));
    EXPECT_EQ(rig.w()["Pause"].text, "100.000");
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST(PulseOrder, PulseLongerThanPauseWritesNothing) {
    PulseRig rig;
    const auto m = rig.pulse("200", "ns", "100", "ns");
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{kMsgOrder, kMsgError}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{{32, 4, 6, 0, 0, 0}}));
    EXPECT_TRUE(rig.words(m).empty());
    EXPECT_EQ(rig.w()["Pulse"].text, "200");
}

TEST(PulseLongPattern, PauseSplitIntoWordsAndMultiplier) {
    PulseRig rig;
    // p = 50, q = 5005 steps of 20 ns: pulse 50 words x 1, pause 209 words x 24.
    const auto m = rig.pulse("1", "us", "100.1", "us");
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{
                                 {32, 4, 6, 0, 0, 0},
                                 {1, 194, 0, 2, 0, 0},
                                 {26, 14, 52, 1, 0, 0},
                                 {2, 0, 2, 92, 0, 0},
                                 {2, 0, 2, 92, 0, 0},  // same label again: code 2
                                 {18, 1, 3, 0, 0, 0},  // 259 words
                                 {21, 0, 209, 0, 1, 0},
                                 {22, 0, 50, 0, 210, 0},
                                 {23, 0, 24, 0, 1, 0},
                                 {1, 226, 0, 2, 0, 0},
                             }));
    EXPECT_EQ(rig.words(m), concat(repeatWord({127, 0, 0, 0}, 50), repeatWord({0, 0, 0, 0}, 209)));
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{300, 100, 100, 10}));
    EXPECT_EQ(rig.w()["Pulse"].text, "1.000");
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST(PulseLongPattern, RetunedClockSendsCode24) {
    PulseRig rig;
    // p = 600 (300 words x 2), q = 5000 (208 words x 24); the pulse's words ask for
    // 20,000,000 Hz instead of 19,999,920 Hz.
    const auto m = rig.pulse("12", "us", "100", "us");
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 11U);
    EXPECT_EQ(f[2], (Frame{26, 15, 160, 1, 0, 0}));
    EXPECT_EQ(f[3], (Frame{2, 0, 2, 84, 0, 0}));
    EXPECT_EQ(f[4], (Frame{26, 15, 160, 1, 0, 0}));
    EXPECT_EQ(f[5], (Frame{24, 0, 2, 84, 0, 0}));
    EXPECT_EQ(f[6], (Frame{18, 1, 252, 0, 0, 0}));
    EXPECT_EQ(f[7], (Frame{21, 0, 208, 0, 1, 0}));
    EXPECT_EQ(f[8], (Frame{22, 1, 44, 0, 209, 0}));
    EXPECT_EQ(f[9], (Frame{23, 0, 24, 0, 2, 0}));
    EXPECT_EQ(rig.s().gen.clklabel, "50,000,000Hz");
    EXPECT_EQ(rig.w()["Pulse"].text, "12.000");
    EXPECT_EQ(rig.w()["Pause"].text, "100.000");
}

TEST(PulseLongPattern, OneWordPulseBorrowsAPauseWord) {
    PulseRig rig;
    rig.w()["invert"].value = 1;
    const auto m = rig.pulse("10", "ns", "20", "us");  // p = 1, q = 2000: 333 words x 6
    const auto f = rig.frames(m);
    ASSERT_EQ(f.size(), 10U);
    EXPECT_EQ(f[5], (Frame{18, 1, 78, 0, 0, 0}));  // 334 words
    EXPECT_EQ(f[6], (Frame{21, 1, 76, 0, 1, 0}));  // 332
    EXPECT_EQ(f[7], (Frame{22, 0, 2, 1, 77, 0}));  // 2 words from 333
    EXPECT_EQ(f[8], (Frame{23, 0, 6, 0, 1, 0}));
    EXPECT_EQ(rig.words(m), concat({{0, 0, 0, 0}}, repeatWord({127, 0, 0, 0}, 333)));
}

TEST(PulseLongPattern, OutOfRangeMultipliersEndWithTheirMessageAndTheErrorFlag) {
    struct Row {
        const char* pulse;
        const char* pause;
        const char* message;
    };
    for (const Row& r : {Row{"6000", "6000", "Pulse is out of Range"},
                         Row{"1", "6000", "Puase is out of Range"}}) {
        PulseRig rig;
        const auto m = rig.pulse(r.pulse, "ms", r.pause, "ms");
        EXPECT_EQ(rig.messages(), std::vector<std::string>{r.message});
        EXPECT_TRUE(rig.s().gen.sgerror) << r.message;
        EXPECT_TRUE(rig.words(m).empty()) << r.message;
        for (const Frame& f : rig.frames(m)) {
            EXPECT_NE(f[0], 18) << r.message;
        }
    }
}

TEST(PulseFailure, BadTimesTakeTheFailurePath) {
    struct Row {
        const char* pulse;
        const char* pause;
    };
    for (const Row& r :
         {Row{"abc", "300"}, Row{"", "300"}, Row{"100", "x"}, Row{"0", "300"}, Row{"-100", "300"},
          Row{"0", "0"}, Row{"5", "300"}, Row{"1e300", "1e301"}, Row{"1e-300", "300"},
          Row{"inf", "inf"}, Row{"nan", "300"}, Row{"100", "nan"}}) {
        PulseRig rig;
        const auto m = rig.pulse(r.pulse, "ns", r.pause, "ns");
        EXPECT_EQ(rig.messages(), std::vector<std::string>{kMsgError}) << r.pulse << "/" << r.pause;
        EXPECT_TRUE(rig.s().gen.sgerror) << r.pulse << "/" << r.pause;
        EXPECT_TRUE(rig.words(m).empty()) << r.pulse << "/" << r.pause;
    }
}

TEST(PulseFailure, RefusedCommandStopsWithThePulseMessage) {
    PulseRig rig;
    rig.sim.nakNext(3, 5);  // up to the RAM write command all pass; code 23 is refused
    const auto m = rig.pulse("100", "ns", "300", "ns");
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Set_Pulse_cmd23_CommError",
                                                        "Error Sending Data.", kMsgError}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(m).back()[0], 23);
}

TEST(PulseFailure, RefusedRamWriteShowsBothMessages) {
    PulseRig rig;
    rig.sim.nakNext(3, 4);
    rig.pulse("100", "ns", "300", "ns");
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{
                                  "RamWrite_CommError", "Error Sending Data.",
                                  "Loading Profile Error! Please, Verify your entry.", kMsgError}));
    EXPECT_TRUE(rig.s().gen.sgerror);
}

}  // namespace
}  // namespace tunx::test
