#include <gtest/gtest.h>

#include <string>

#include "dds/RamModeRig.h"
#include "dds/WaveRam.h"

namespace tunx::test {
namespace {

constexpr const char* kMsgError = "Error Seting Arbitrary!";
constexpr const char* kMsgRange = "Min t(ns) is out of range!Valid Range is 10-66ns";

struct ArbRig : RamModeRig {
    ArbRig(const char* target = "Voltage", const char* mintimen = "10") {
        w()["arbit"].text = target;
        w()["mintimen"].text = mintimen;
        w()["arbmode"].text = "Continuous";
        w()["enpr2"].value = 0;
        w()["startpt1"].text = "1";
        w()["endpt1"].text = "7";
        w()["startpt2"].text = "8";
        w()["endpt2"].text = "10";
        w()["multi1"].text = "100";
        w()["multi2"].text = "300";
    }
    std::size_t runSetarb() {
        const std::size_t m = mark();
        setarb(w(), link());
        return m;
    }
};

TEST(ArbitraryClock, TenNanosecondsUsesTheFullStepRate) {
    ArbRig rig("Voltage", "10");
    const auto m = rig.runSetarb();
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{
                                 {32, 4, 6, 0, 0, 0},
                                 {26, 15, 160, 1, 0, 0},  // S = 4000
                                 {2, 0, 2, 164, 0, 0},    // M = 20
                                 {21, 0, 7, 0, 1, 0},
                                 {22, 0, 3, 0, 8, 0},
                                 {23, 0, 100, 1, 44, 0},
                                 {1, 192, 0, 34, 0, 0},
                             }));
    EXPECT_EQ(rig.timeouts(m), (std::vector<int>{1000, 1000, 2000, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{300, 100, 1}));
    EXPECT_EQ(rig.w()["mintimen"].text, "10.00");
    EXPECT_TRUE(rig.w()["mintimen"].enabled);
    EXPECT_EQ(rig.w()["lmainclk"].text, "100,000,000Hz");
    EXPECT_EQ(rig.s().gen.clklabel, "100,000,000Hz");
    EXPECT_EQ(rig.s().gen.ramclk, 100'000'000);
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
}

TEST(ArbitraryClock, SixtySixNanosecondsUsesMultiplierFour) {
    ArbRig rig("Voltage", "66");
    const auto m = rig.runSetarb();
    const auto f = rig.frames(m);
    ASSERT_GE(f.size(), 3U);
    EXPECT_EQ(f[1], (Frame{26, 11, 214, 1, 0, 0}));  // S = 3030
    EXPECT_EQ(f[2], (Frame{2, 0, 2, 36, 0, 0}));     // M = 4
    // Actual rate 15,150,000 Hz: 66.0066 ns.
    EXPECT_EQ(rig.w()["mintimen"].text, "66.01");
    EXPECT_EQ(rig.w()["lmainclk"].text, "15,151,515Hz");
}

TEST(ArbitraryClock, UnchangedLabelSkipsTheClockSetting) {
    ArbRig rig("Voltage", "20");
    rig.runSetarb();
    const auto m = rig.runSetarb();
    const auto f = rig.frames(m);
    ASSERT_GE(f.size(), 2U);
    EXPECT_EQ(f[1], (Frame{2, 0, 2, 92, 0, 0}));  // M = 11, no code 26
    EXPECT_EQ(rig.pauses(m), (std::vector<int>{100, 1}));
}

TEST(ArbitraryClock, ReadOutsUseTheRewrittenMinimumTime) {
    ArbRig rig("Voltage", "20");  // 49,995,000 Hz actual: 20.002 ns
    rig.runSetarb();
    EXPECT_EQ(rig.w()["mintimen"].text, "20.00");
    EXPECT_EQ(rig.w()["samplet1"].text, "2000.00");
    EXPECT_EQ(rig.w()["samplet2"].text, "6000.00");
    EXPECT_EQ(rig.w()["profilet1"].text, "14000.00");
    EXPECT_EQ(rig.w()["profilet2"].text, "18000.00");
}

TEST(ArbitraryClock, MinimumTimeOutsideTenToSixtySixIsRefused) {
    for (const char* t : {"9.9", "66.1", "0", "-10"}) {
        ArbRig rig("Voltage", t);
        const auto m = rig.runSetarb();
        EXPECT_EQ(rig.messages(), (std::vector<std::string>{kMsgRange, kMsgError})) << t;
        EXPECT_TRUE(rig.s().gen.sgerror) << t;
        EXPECT_EQ(rig.frames(m), (std::vector<Frame>{{32, 4, 6, 0, 0, 0}})) << t;
    }
}

TEST(ArbitraryClock, FreqAndPhaseRunAtTheSystemClock) {
    for (const char* target : {"Freq", "Phase"}) {
        ArbRig rig(target, "33");
        rig.s().gen.clklabel = "20MHz";
        const auto m = rig.runSetarb();
        const auto f = rig.frames(m);
        ASSERT_GE(f.size(), 3U) << target;
        EXPECT_EQ(f[1], (Frame{26, 0, 0, 1, 1, 0})) << target;
        EXPECT_EQ(f[2], (Frame{2, 0, 2, 164, 0, 0})) << target;
        EXPECT_EQ(rig.timeouts(m)[2], 1000) << target;
        EXPECT_EQ(rig.w()["mintimen"].text, "10.00") << target;
        EXPECT_FALSE(rig.w()["mintimen"].enabled) << target;
        EXPECT_EQ(rig.w()["lmainclk"].text, "400MHz") << target;
        EXPECT_EQ(rig.s().gen.clklabel, "400MHz") << target;
        EXPECT_EQ(rig.s().gen.ramclk, 400'000'000) << target;

        const auto again = rig.runSetarb();
        EXPECT_EQ(rig.frames(again)[1], (Frame{2, 0, 2, 164, 0, 0})) << target;
    }
}

TEST(ArbitraryControl, Cfr1ByteFollowsModeProfileTwoAndDestination) {
    struct Row {
        const char* mode;
        int enpr2;
        const char* target;
        int byte1;
        int byte3;
    };
    const Row rows[] = {
        {"Continuous", 1, "Voltage", 224, 34}, {"Continuous", 1, "Freq", 162, 2},
        {"Continuous", 1, "Phase", 226, 2},    {"Continuous", 0, "Voltage", 192, 34},
        {"Continuous", 0, "Freq", 130, 2},     {"Continuous", 0, "Phase", 194, 2},
        {"Single", 1, "Voltage", 200, 34},     {"Single", 1, "Freq", 138, 2},
        {"Single", 1, "Phase", 202, 2},        {"Single", 0, "Voltage", 192, 34},
        {"Single", 0, "Freq", 130, 2},         {"Single", 0, "Phase", 194, 2},
    };
    for (const Row& r : rows) {
        ArbRig rig(r.target, "10");
        rig.w()["arbmode"].text = r.mode;
        rig.w()["enpr2"].value = r.enpr2;
        const auto m = rig.runSetarb();
        bool found = false;
        for (const Frame& f : rig.frames(m)) {
            if (f[0] == 1) {
                EXPECT_EQ(f, (Frame{1, r.byte1, 0, r.byte3, 0, 0}))
                    << r.mode << " " << r.enpr2 << " " << r.target;
                found = true;
            }
        }
        EXPECT_TRUE(found) << r.mode << " " << r.enpr2 << " " << r.target;
    }
}

TEST(ArbitraryControl, SingleEndsWithTheStartCommand) {
    for (int enpr2 : {0, 1}) {
        ArbRig rig("Voltage", "10");
        rig.w()["arbmode"].text = "Single";
        rig.w()["enpr2"].value = enpr2;
        const auto m = rig.runSetarb();
        const auto f = rig.frames(m);
        ASSERT_FALSE(f.empty());
        EXPECT_EQ(f.back(), (Frame{20, 3, 1, enpr2, 0, 0}));
        EXPECT_EQ(rig.timeouts(m).back(), 2000);
    }
}

TEST(ArbitraryFailure, RefusedCommandStopsTheSequence) {
    ArbRig rig("Voltage", "10");
    rig.sim.nakNext(3, 3);  // output path, clock setting and register pass; profile 1 refused
    const auto m = rig.runSetarb();
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Set_Arbitrary_CMD21_CommError",
                                                        "Error Sending Data.", kMsgError}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(m).back()[0], 21);
    EXPECT_EQ(rig.w()["samplet1"].text, "0");
}

TEST(ArbitraryFailure, FieldsThatDoNotFitTheirBytesFail) {
    struct Row {
        const char* field;
        const char* text;
    };
    for (const Row& r : {Row{"multi1", "70000"}, Row{"multi2", "-1"}, Row{"startpt1", "abc"},
                         Row{"endpt2", "1"}, Row{"mintimen", "fast"}}) {
        ArbRig rig("Voltage", "10");
        rig.w()[r.field].text = r.text;
        const auto m = rig.runSetarb();
        EXPECT_EQ(rig.messages(), std::vector<std::string>{kMsgError}) << r.field;
        EXPECT_TRUE(rig.s().gen.sgerror) << r.field;
        for (const Frame& f : rig.frames(m)) {
            EXPECT_NE(f[0], 1) << r.field;
        }
    }
}

}  // namespace
}  // namespace tunx::test
