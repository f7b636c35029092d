#include <gtest/gtest.h>

#include "dds/DdsTest.h"
#include "dds/Pulse.h"

namespace tunx::test {
namespace {

constexpr const char* kSquareWaveError = "Error Calculating Square-Wave Frequency!";

TEST(SquareWave, FrequencySetsTheStepClockAndMultiplier) {
    // Frequency, unit, the frames between output path and control register 1, words per level,
    // clock shown, frequency in Hz.
    const std::tuple<const char*, const char*, const char*, int, const char*, int> rows[] = {
        // S = 3200, M = 5 for 20 MHz: two words, no step multiplier.
        {"10", "MHz", "26 12 128 1 0 0; 24 0 2 44 0 0; 18 0 2 0 0 0; 23 0 0 0 0 0", 1,
         "20,000,000Hz", 10'000'000},
        // S = 3429, M = 7 for 30 MHz: two words of 15000 steps each.
        {"1", "kHz", "26 13 101 1 0 0; 24 0 2 60 0 0; 18 0 2 0 0 0; 23 58 152 58 152 0", 1,
         "30,000,000Hz", 1000},
        // 150000 steps per level do not fit 16 bits: 5 words of 30000 steps each.
        {"100", "Hz", "26 13 101 1 0 0; 24 0 2 60 0 0; 18 0 10 0 0 0; 23 117 48 117 48 0", 5,
         "30,000,000Hz", 100}};
    for (const auto& [f, unit, frames, n, clock, hz] : rows) {
        DdsRig rig;
        rig.s().gen.clklabel = "400MHz";
        const auto m = rig.call(SetSquareFrequency, {{&C::Frek, f}, {&C::frequnit, unit}});
        EXPECT_EQ(rig.sent(m), std::string("32 4 6 0 0 0; ") + frames + "; 1 194 0 2 64 0");
        EXPECT_EQ(rig.words(m), levels({{n, 0}, {n, 127}})) << f << unit;
        EXPECT_EQ(rig.sleptMs(m), 6 * 20 + 300 + 100 + 1000) << f << unit;
        EXPECT_EQ(rig.w().lmainclk->text, clock);
        EXPECT_EQ(rig.s().gen.sgfreq, hz);
        EXPECT_FALSE(rig.s().gen.sgerror);
        EXPECT_TRUE(rig.messages().empty());
    }
}

TEST(SquareWave, FailuresShowTheMessage) {
    const std::pair<const char*, bool> rows[] = {
        {"abc", false}, {"0", false}, {"60000000", false}, {"nan", false}, {"10000000", true}};
    for (const auto& [f, refused] : rows) {
        DdsRig rig;
        rig.sim.nakNext(refused ? 3 : 0, 1);  // the clock setting is refused
        const auto m = rig.call(SetSquareFrequency, {{&C::Frek, f}, {&C::frequnit, "Hz"}});
        const Texts link{"SetFreq_Square_Wave_CommError", "Error Sending Data."};
        Texts want = refused ? link : Texts{};
        want.push_back(kSquareWaveError);
        EXPECT_EQ(rig.messages(), want) << f;
        EXPECT_TRUE(rig.s().gen.sgerror) << f;
        EXPECT_TRUE(rig.words(m).empty()) << f;
    }
}

}  // namespace
}  // namespace tunx::test
