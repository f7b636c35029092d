#include "dds/Ramp.h"

#include "dds/DdsTest.h"

namespace tunx::test {
namespace {

constexpr const char* kRampError = "Rampup error";

class Ramp : public DdsTest {
  protected:
    void SetUp() override {
        rig.s().gen.clklabel = "old";
        rig.w().lmainclk->text = "shown";
    }
    Frames ramp(const std::string& frek, const std::string& unit = "Hz") {
        set({{&C::Frek, frek}, {&C::frequnit, unit}});
        return run(SetRampUp);
    }
};

// Entry, S of the clock setting, code and byte 8 x M + 4 of control register 2 (code 24 when
// the rate changes), K of code 23, the step rate shown and Frek afterwards. The ramp rises
// from 1000 mV (word -8031) to 7083.9 mV (-32157) whatever the frequency.
TEST_F(Ramp, ClockAndMultiplierMakeTheThousandWordsOnePeriod) {
    using Row = std::tuple<std::string, std::string, int, int, int, int, std::string, std::string>;
    const Row rows[] = {
        {"1000", "Hz", 3429, 24, 60, 30, "30,000,000Hz", "999.9999916666667"},  // M 7
        {"1", "kHz", 3429, 2, 60, 30, "30,000,000Hz", "0.9999999916666666"},
        {"50", "kHz", 3636, 24, 92, 1, "50,000,000Hz", "49.9999995"},  // R directly, M 11
        {"0.1", "Hz", 3200, 24, 12, 40000, "4,000,000Hz", "0.1"},      // K needs 16 bits
    };
    for (const auto& [frek, unit, s, code, m, k, rate, frekAfter] : rows) {
        const Frames expected{{32, 4, 6, 0, 0, 0},   {26, s >> 8, s & 255, 1, 0, 0},
                              {code, 0, 2, m, 0, 0}, {1, 194, 0, 2, 0, 0},
                              {18, 3, 232, 0, 0, 0}, {23, k >> 8, k & 255, 0, 10, 0}};
        EXPECT_EQ(ramp(frek, unit), expected) << frek << unit;
        const auto words = rig.words(mark);
        EXPECT_EQ(std::tuple(rig.w().lmainclk->text, rig.s().gen.clklabel, rig.w().Frek->text,
                             rig.sleptMs(mark), words.size(), words.at(0), words.at(999)),
                  std::tuple(rate, rate, frekAfter, 6 * 20 + 300 + 100LL, 1000UL,
                             Word{224, 161, 0, 0}, Word{130, 99, 0, 0}))
            << frek << unit;
    }
}

TEST_F(Ramp, TriangleRisesToItsPeakAndFallsSymmetrically) {
    rig.s().gen.triangle = true;
    rig.w().invert->value = 1;  // the triangle ignores Invert
    ramp("1000");
    const auto w = rig.words(mark);
    ASSERT_EQ(w.size(), 1000U);
    EXPECT_EQ(w[0], (Word{224, 109, 0, 0}));  // 1012.18 mV: -8083
    EXPECT_EQ(w[500], (Word{128, 0, 0, 0}));  // full scale: z held inside the arcsine's domain
    const auto level = [](const Word& x) { return static_cast<std::int16_t>(x[0] << 8 | x[1]); };
    for (std::size_t i = 1; i < 500; ++i) {
        EXPECT_LE(level(w[i]), level(w[i - 1])) << "rising at word " << i;
        EXPECT_EQ(w[500 - i], w[500 + i]) << "offset " << i;
    }
}

// Entry, refusals and the commands that pass before them, messages, frames, then the step rate
// shown and clklabel: the rate shows once the clock setting is taken, and is kept in clklabel
// once control register 2 is taken.
TEST_F(Ramp, FailuresEndWithRampupErrorAndKeepTheClockTextsOfWhatWasNotTaken) {
    const char* range = "Frequency out of range!, Valid range in rumpup mode is 0.1Hz to 200kHz";
    const std::string sent = "Error Sending Data.";
    using Row = std::tuple<std::string, int, int, Texts, std::size_t, std::string, std::string>;
    const Row rows[] = {
        {"0.05", 0, 0, {range, kRampError}, 1, "shown", "old"},
        {"200001", 0, 0, {range, kRampError}, 1, "shown", "old"},
        {"150000", 0, 0, {kRampError}, 1, "shown", "old"},  // no rate for 1000 words
        {"1000", 3, 1, {"SetFreq_Square_Wave_CommError", sent, kRampError}, 4, "shown", "old"},
        {"1000", 3, 2, {"Set_Pulse_CFR2CommError", sent, kRampError}, 5, "30,000,000Hz", "old"},
    };
    for (const auto& [frek, refusals, passed, messages, frames, shown, clklabel] : rows) {
        rig.sim.nakNext(refusals, passed);
        EXPECT_EQ(ramp(frek).size(), frames) << frek;
        EXPECT_EQ(std::tuple(rig.messages(), rig.s().gen.sgerror, rig.words(mark).size(),
                             rig.w().lmainclk->text, rig.s().gen.clklabel),
                  std::tuple(messages, true, 0UL, shown, clklabel))
            << frek;
    }
}

}  // namespace
}  // namespace tunx::test
