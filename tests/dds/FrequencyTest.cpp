#include "dds/Frequency.h"

#include "dds/DdsTest.h"

namespace tunx::test {
namespace {

constexpr Frame kPathOn{32, 4, 2, 1, 0, 0};
constexpr Frame kSine{32, 4, 6, 0, 0, 0};
constexpr Frame kTo400{26, 0, 0, 1, 1, 0};
constexpr Frame kAt400{2, 0, 2, 164, 0, 0};
constexpr Frame kTo20{24, 0, 2, 0, 0, 0};
constexpr Frame kAt20{2, 0, 2, 0, 0, 0};
constexpr Frame kUpdate{6, 0, 0, 0, 0, 0};
constexpr const char* kError = "Error Calculating frequency!";

Frame ftw(int b1, int b2, int b3, int b4) {
    return {5, b1, b2, b3, b4, 0};
}

class Frequency : public DdsTest {
  protected:
    Frames tune(const std::string& number, const std::string& unit, double clkcorr = 1.0,
                Procedure procedure = ofMode<SetFrequency>) {
        rig.s().cal.clkcorr = clkcorr;
        set({{&C::Frek, number}, {&C::frequnit, unit}});
        return run(procedure);
    }
};

// Entry, the frames after the output path, pauses, Frek and clock afterwards: the clock is
// switched only when it changes, and Frek shows what the 20 MHz clock makes.
TEST_F(Frequency, ClockFollowsTheEntry) {
    using Step = std::tuple<std::string, std::string, Frames, long long, std::string, std::string>;
    const Step steps[] = {
        {"1", "kHz", {kTo400, kAt400, ftw(0, 0, 41, 241), kUpdate}, 430, "1", "400MHz"},  // 10737
        {"150", "kHz", {kAt400, ftw(0, 24, 147, 117), kUpdate}, 110, "150", "400MHz"},
        {"50", "Hz", {kTo20, ftw(0, 0, 41, 241), kUpdate}, 110, "49.99791", "20MHz"},
        {"50", "Hz", {kAt20, ftw(0, 0, 41, 241), kUpdate}, 110, "49.99791", "20MHz"},
        {"150", "kHz", {kTo400, kAt400, ftw(0, 24, 147, 117), kUpdate}, 430, "150", "400MHz"},
        {"100", "Hz", {kTo20, ftw(0, 0, 83, 227), kUpdate}, 110, "100.00049", "20MHz"},
        {"0", "Hz", {kAt20, ftw(0, 0, 0, 0), {6, 16, 0, 0, 0, 0}}, 110, "0.00000", "20MHz"},
        {"100.5", "Hz", {kTo400, kAt400, ftw(0, 0, 4, 55), kUpdate}, 430, "100.5", "400MHz"},
    };
    for (const auto& [number, unit, frames, sleptMs, frek, clock] : steps) {
        Frames expected{kPathOn, kSine};
        expected.insert(expected.end(), frames.begin(), frames.end());
        EXPECT_EQ(tune(number, unit), expected) << number << unit;
        EXPECT_EQ(std::tuple(rig.sleptMs(mark), rig.w().Frek->text, rig.w().lmainclk->text,
                             rig.s().gen.clklabel, rig.messages()),
                  std::tuple(sleptMs, frek, clock, clock, Texts{}))
            << number << unit;
    }
    // Control register 2 has 2 s to answer the switch to 400 MHz.
    EXPECT_TRUE(transcriptHas({"timeouts 2000 2000", "flush", "write 4 2 0 2 164 0 0 168"}));
}

// Entry, clock correction, monitor ns per division (0: no undersampling), mode, modulation and
// the tuning word; a row without a word is refused: nothing is sent and the error is shown.
TEST_F(Frequency, TuningWordOrRefusal) {
    const std::string tone = "Single Tone Sine", am = "External AM", fm = "External FM";
    using Row = std::tuple<std::string, std::string, double, int, std::string, std::string, Frame>;
    const Row rows[] = {
        {"1", "kHz", 1.01, 0, tone, am, ftw(0, 0, 42, 93)},             // 10845: corrected
        {"199.95", "MHz", 1.01, 0, tone, am, ftw(127, 247, 206, 217)},  // correction ignored
        {"199999999.5", "Hz", 1, 0, tone, am, ftw(128, 0, 0, 0)},       // half the clock
        {"200", "MHz", 1.01, 0, tone, am, ftw(128, 0, 0, 0)},
        {"10", "MHz", 1, 10, tone, am, ftw(6, 102, 103, 14)},  // + 15.625 Hz
        {"abc", "kHz", 1, 0, tone, am, {}},
        {"-5", "Hz", 1, 0, tone, am, {}},
        {"199.8", "MHz", 1.01, 0, tone, am, {}},  // word beyond 31 bits
        {"5000000", "MHz", 1, 0, tone, am, {}},   // sgfreq beyond 32 bits
        {"0", "Hz", 1, 10, tone, am, {}},         // no period to undersample
        {"1", "MHz", 1, 0, tone, fm, ftw(0, 163, 215, 10)},
        {"1", "MHz", 1, 0, "Sine Modulated", am, ftw(0, 163, 215, 10)},
        {"1", "MHz", 1, 0, "Sine Modulated", fm, ftw(0, 155, 90, 100)},  // -51.8 kHz
    };
    for (const auto& [number, unit, clkcorr, undersdiv, mode, modtype, word] : rows) {
        rig.s().gen.undersmonflag = undersdiv != 0;
        rig.s().gen.undersdiv = undersdiv;
        set({{&C::ModeSelect, mode}, {&C::modtype, modtype}});
        const Frames f = tune(number, unit, clkcorr);
        const bool refused = word == Frame{};
        EXPECT_EQ(std::tuple(f.empty() ? Frame{} : f.at(f.size() - 2), rig.messages(),
                             rig.s().gen.sgerror),
                  std::tuple(word, refused ? Texts{kError} : Texts{}, refused))
            << number << unit;
    }
    EXPECT_EQ(rig.s().gen.sgfreq, 1'000'000);  // the shift is not part of the frequency
}

TEST_F(Frequency, RefusedClockSwitchAbortsBeforeTheClockIsTaken) {
    rig.sim.nakNext(3, 2);
    EXPECT_EQ(tune("1", "kHz"), (Frames{kPathOn, kSine, kTo400, kTo400, kTo400}));
    EXPECT_EQ(std::tuple(rig.messages(), rig.s().gen.sgerror, rig.s().gen.clklabel),
              std::tuple(Texts{"SetFreq_Square_Wave_CommError", "Error Sending Data.", kError},
                         true, std::string{}));
}

TEST_F(Frequency, Square2HasItsOwnPathClockSettingControlRegisterAndAmplitude) {
    const Frames expected{kPathOn, {32, 4, 6, 1, 0, 0}, {26, 0, 0, 0, 0, 0},
                          kAt400,  {1, 2, 0, 2, 0, 0},  ftw(0, 0, 41, 241),
                          kUpdate, {3, 31, 64, 0, 0, 0}};
    EXPECT_EQ(tune("1", "kHz", 1.0, SetSquare2Frequency), expected);
    EXPECT_EQ(rig.sleptMs(mark), 8 * 20 + 300 + 10);
}

TEST_F(Frequency, MonitorRetuneSendsOnlyTheShiftedWordFrom1MHz) {
    rig.s().gen.undersdiv = 10;  // shifted whether undersampling is shown or not
    rig.s().gen.sgfreq = 999'999;
    mark = rig.mark();
    SetFreqFTW(rig.link());
    rig.s().gen.sgfreq = 10'000'000;
    SetFreqFTW(rig.link());
    EXPECT_EQ(rig.frames(mark), (Frames{ftw(6, 102, 103, 14), kUpdate}));
    EXPECT_DOUBLE_EQ(rig.s().gen.undersratio, 640.0);
    EXPECT_FLOAT_EQ(rig.s().gen.undersshift, 15.625F);
}

}  // namespace
}  // namespace tunx::test
