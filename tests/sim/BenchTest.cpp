// The sim instructions, the words of `sim show`, and the calibration file that goes with the
// instrument.
#include <gtest/gtest.h>

#include <limits>

#include "sim/FrontEnd.h"
#include "sim/ScopeRig.h"

namespace tunx::test {
namespace {

// Instructions the other tests take (bandpass, noise, offset, nak after, cut) are not repeated.
TEST(SimInstruction, BadWordsGetAClearTextAndChangeNothing) {
    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    struct Row {
        const char* line;
        const char* error;  // nullptr: accepted
    };
    const char* const kDut =
        "expected: sim dut none|lowpass F|highpass F|bandpass F Q|attenuate DB (F in Hz from 1m "
        "to 10G, Q from 1m to 1M, DB from 0 to 300)";
    const char* const kSignal =
        "expected: sim signal CH1|CH2 sine|square F VPP [OFFSET] (F in Hz from 1m to 10G, VPP "
        "from 0 to 1000 volts, OFFSET from -1000 to 1000 volts)";
    const char* const kNoise = "expected: sim noise MV (millivolts rms, from 0 to 1000000)";
    const char* const kOffset = "expected: sim offset CH1|CH2 MV (from -1000000 to 1000000)";
    for (const Row& r : {
             Row{"wire CH2 dut", nullptr},
             Row{"dut lowpass 20k", nullptr},
             Row{"dut attenuate 6", nullptr},
             Row{"signal CH1 square 1k 500m 1", nullptr},
             Row{"seed 7", nullptr},
             Row{"", "sim needs an instruction"},
             Row{"wire CH3 dut", "expected: sim wire CH1|CH2 generator|dut|off"},
             Row{"wire CH1 scope", "expected: sim wire CH1|CH2 generator|dut|off"},
             Row{"dut bandpass 1.5M", kDut},
             Row{"dut lowpass 0", kDut},
             Row{"dut highpass 1x", kDut},
             // Values no bench has: infinite through a suffix, negative, too small to compute.
             Row{"dut lowpass 1e308k", kDut},
             Row{"dut bandpass 1e308G 5", kDut},
             Row{"dut bandpass 1.5M 1e-310", kDut},
             Row{"dut highpass 1e-310", kDut},
             Row{"dut attenuate -1000", kDut},
             Row{"dut attenuate nan", kDut},
             Row{"signal CH1 sine 1e308G 1", kSignal},
             Row{"signal CH1 sine 1k inf", kSignal},
             Row{"signal CH1 sine 1k 1 1e308k", kSignal},
             Row{"offset CH2 1e308G", kOffset},
             Row{"fail devices 1e300", "expected: sim fail devices|open|baud STATUS"},
             Row{"signal CH1 triangle 1k 1", kSignal},
             Row{"signal CH1 sine 1k", kSignal},
             Row{"noise -1", kNoise},
             Row{"noise 1e308G", kNoise},
             Row{"seed 1.5", "expected: sim seed N (a whole number, 0 or more)"},
             Row{"offset CH1", kOffset},
             Row{"nak 2 before 3", "expected: sim nak N [after K]"},
             Row{"cut", "expected: sim cut N"},
             Row{"explode", "unknown sim instruction 'explode'"},
         }) {
        const sim::Bench before = sim.bench();
        const std::optional<std::string> error = sim.instruct(splitWords(r.line));
        EXPECT_EQ(error, r.error ? std::optional<std::string>(r.error) : std::nullopt) << r.line;
        if (r.error) {
            EXPECT_EQ(sim.bench().noiseMv, before.noiseMv);
            EXPECT_EQ(sim.bench().wire, before.wire);
            EXPECT_EQ(sim.bench().dut.kind, before.dut.kind);
        }
    }
    EXPECT_EQ(sim.bench().wire, (std::array{sim::Wire::External, sim::Wire::Dut}));
    EXPECT_EQ(sim.bench().external[0].vpp, 500);
    EXPECT_EQ(sim.bench().external[0].offset, 1000);
    EXPECT_EQ(sim.bench().dut.db, 6);
}

// An input of no defined level (no number, or beyond any number) still reads as a code of the
// converter, never as an integer conversion of a value it cannot hold.
TEST(SimConverter, AnyInputGivesACode) {
    sim::ChannelScale s;
    s.fullScaleMv = 8000;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ((std::array{s.code8(nan), s.code8(inf), s.code8(-inf), s.code8(4000)}),
              (std::array<std::uint8_t, 4>{0, 255, 0, 128}));
    EXPECT_EQ((std::array{s.code12(nan, 3300), s.code12(inf, 3300), s.code12(1e300, 3300)}),
              (std::array<std::uint16_t, 3>{0, 4095, 4095}));
}

// With the instrument's own calibration file, which the program loads at start-up, every range at
// every position gives range and offset DAC values the 12-bit DACs take, and 8 divisions fit
// the 12-bit converter.
TEST_F(ScopeRig, TheCalibrationFileFitsTheDacsOnEveryRange) {
    const Calibration& f = rig.s().cal;
    for (const Channel ch : {Channel::CH1, Channel::CH2}) {
        for (const char* text : {"1V", "0.5V", "0.2V", "0.1V", "50mV", "20mV", "10mV"}) {
            const RangeSetting s = computeRange(ch, *findRange(text), f);
            EXPECT_LE(s.spanadc, 4095) << text;
            EXPECT_LE(s.rangeDac, 4095) << text;
            for (int pos = 0; pos <= 512; ++pos) {
                const int dac = offsetDacValue(pos, s.positionSpan, s.offsetBase, s.offslope);
                ASSERT_TRUE(dac >= 0 && dac <= 4095) << text << " at " << pos;
            }
        }
    }
}

TEST_F(ScopeRig, ShowPutsTheBenchAndTheMeasuringSideInWords) {
    sine("1", "MHz", "565.68", "mVpp");
    instruct("signal CH2 sine 1M 1");
    instruct("dut bandpass 1.5M 5");
    instruct("noise 1.5");
    vdiv(0, "1V", 256);
    send({32, 6, 4, 0, 0, 0});
    arm(625, 3, 160, 1, 2);
    const std::vector<std::string> lines = sim.describe();
    for (const char* line : {
             "wire CH1 generator, CH2 sine 1000000.000 Hz 1000.0 mVpp offset 0.0 mV",
             "dut bandpass 1500000.000 Hz Q 5.000",
             "noise 1.5 mV rms, seed 1, input offset CH1 0.0 mV, CH2 0.0 mV",
             "converter 8-bit, ADC clock 20 MHz",
             "record 64000.0 samples/s, 1250 samples, triggered",
             "trigger CH1 rising at code 160",
             "CH1 range V, 1000.2 mV/div, position 256.1",
             "detector CH1 IN 100.0 mVrms, -20.0 dBV, code 1426",
             "counter CH2 IN 1000000.000 Hz, prescaler 1",
         }) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end())
            << line << "\n"
            << ::testing::PrintToString(lines);
    }
}

}  // namespace
}  // namespace tunx::test
