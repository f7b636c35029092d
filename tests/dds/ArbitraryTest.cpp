#include <gtest/gtest.h>

#include "dds/DdsTest.h"
#include "dds/WaveRam.h"

namespace tunx::test {
namespace {

constexpr const char* kArbitraryError = "Error Seting Arbitrary!";
constexpr const char* kMsgRange = "Min t(ns) is out of range!Valid Range is 10-66ns";

// Runs setarb on profile 1 as the panel starts (points 1-7, x100) and profile 2 on points 8-10
// (x300); returns the mark before it.
std::size_t runSetarb(DdsRig& rig, const char* mintimen, const char* target = "Voltage",
                      const char* mode = "Continuous", int enpr2 = 0) {
    rig.w().enpr2->value = enpr2;
    rig.w().startpt2->text = "8";
    rig.w().endpt2->text = "10";
    rig.w().multi2->text = "300";
    return rig.call(setarb, {{&C::mintimen, mintimen}, {&C::arbit, target}, {&C::arbmode, mode}});
}

TEST(ArbitraryClock, MinimumTimeSetsTheStepClock) {
    // Minimum time, clock setting and multiplier register, minimum time and clock shown.
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"10", "26 15 160 1 0 0; 2 0 2 164 0 0", "10.00", "100,000,000Hz"},  // S = 4000, M = 20
        {"66", "26 11 214 1 0 0; 2 0 2 36 0 0", "66.01", "15,151,515Hz"}};   // S = 3030, M = 4
    for (const auto& [mintimen, clock, shown, label] : rows) {
        DdsRig rig;
        const auto m = runSetarb(rig, mintimen);
        EXPECT_EQ(rig.sent(m), std::string("32 4 6 0 0 0; ") + clock +
                                   "; 21 0 7 0 1 0; 22 0 3 0 8 0; 23 0 100 1 44 0; 1 192 0 34 0 0");
        EXPECT_EQ(rig.timeouts(m), (std::vector<int>{1000, 1000, 2000, 1000, 1000, 1000, 1000}));
        EXPECT_EQ(rig.sleptMs(m), 7 * 20 + 300 + 100 + 1);
        EXPECT_EQ(rig.w().mintimen->text, shown);
        EXPECT_EQ(rig.w().lmainclk->text, label);
        EXPECT_FALSE(rig.s().gen.sgerror);
        EXPECT_TRUE(rig.messages().empty());
    }
    for (const char* t : {"9.9", "66.1"}) {
        DdsRig rig;
        const auto m = runSetarb(rig, t);
        EXPECT_EQ(rig.messages(), (Texts{kMsgRange, kArbitraryError})) << t;
        EXPECT_TRUE(rig.s().gen.sgerror) << t;
        EXPECT_EQ(rig.sent(m), "32 4 6 0 0 0") << t;  // no profile commands
    }
}

TEST(ArbitraryControl, Cfr1FollowsModeProfileTwoAndDestinationAndSingleStarts) {
    // Play mode, profile 2 enabled, destination, control register 1 bytes 1 and 3.
    const std::tuple<const char*, int, const char*, int, int> rows[] = {
        {"Continuous", 1, "Voltage", 224, 34}, {"Continuous", 1, "Freq", 162, 2},
        {"Continuous", 1, "Phase", 226, 2},    {"Continuous", 0, "Voltage", 192, 34},
        {"Continuous", 0, "Freq", 130, 2},     {"Continuous", 0, "Phase", 194, 2},
        {"Single", 1, "Voltage", 200, 34},     {"Single", 1, "Freq", 138, 2},
        {"Single", 1, "Phase", 202, 2},        {"Single", 0, "Voltage", 192, 34},
        {"Single", 0, "Freq", 130, 2},         {"Single", 0, "Phase", 194, 2}};
    for (const auto& [mode, enpr2, target, byte1, byte3] : rows) {
        DdsRig rig;
        const std::string sent = rig.sent(runSetarb(rig, "10", target, mode, enpr2));
        std::string tail = "1 " + std::to_string(byte1) + " 0 " + std::to_string(byte3) + " 0 0";
        if (std::string(mode) == "Single") {
            tail += "; 20 3 1 " + std::to_string(enpr2) + " 0 0";  // the start command
        }
        EXPECT_TRUE(sent.ends_with(tail)) << mode << enpr2 << target << ": " << sent;
        EXPECT_FALSE(rig.s().gen.sgerror);
    }
}

}  // namespace
}  // namespace tunx::test
