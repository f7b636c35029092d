// The sim instructions, the words of `sim show`, and the calibration file that goes with the
// instrument.
#include <gtest/gtest.h>

#include "sim/ScopeRig.h"

namespace tunx::test {
namespace {

TEST(SimInstruction, BadWordsGetAClearTextAndChangeNothing) {
    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    struct Row {
        const char* line;
        const char* error;  // nullptr: accepted
    };
    for (const Row& r : {
             Row{"wire CH2 dut", nullptr},
             Row{"dut bandpass 1.5M 5", nullptr},
             Row{"dut lowpass 20k", nullptr},
             Row{"dut attenuate 6", nullptr},
             Row{"signal CH1 square 1k 500m 1", nullptr},
             Row{"noise 2.5", nullptr},
             Row{"seed 7", nullptr},
             Row{"offset CH2 -12", nullptr},
             Row{"nak 2 after 6", nullptr},
             Row{"cut 10", nullptr},
             Row{"", "sim needs an instruction"},
             Row{"wire CH3 dut", "expected: sim wire CH1|CH2 generator|dut|off"},
             Row{"wire CH1 scope", "expected: sim wire CH1|CH2 generator|dut|off"},
             Row{"dut bandpass 1.5M",
                 "expected: sim dut none|lowpass F|highpass F|bandpass F Q|"
                 "attenuate DB (F in Hz, F and Q above 0)"},
             Row{"dut lowpass 0",
                 "expected: sim dut none|lowpass F|highpass F|bandpass F Q|"
                 "attenuate DB (F in Hz, F and Q above 0)"},
             Row{"dut highpass 1x",
                 "expected: sim dut none|lowpass F|highpass F|bandpass F Q|"
                 "attenuate DB (F in Hz, F and Q above 0)"},
             Row{"signal CH1 triangle 1k 1",
                 "expected: sim signal CH1|CH2 sine|square F VPP "
                 "[OFFSET] (F in Hz above 0, VPP and OFFSET in volts)"},
             Row{"signal CH1 sine 1k",
                 "expected: sim signal CH1|CH2 sine|square F VPP [OFFSET] "
                 "(F in Hz above 0, VPP and OFFSET in volts)"},
             Row{"noise -1", "expected: sim noise MV (millivolts rms, 0 or more)"},
             Row{"seed 1.5", "expected: sim seed N (a whole number, 0 or more)"},
             Row{"offset CH1", "expected: sim offset CH1|CH2 MV"},
             Row{"nak 2 before 3", "expected: sim nak N [after K]"},
             Row{"cut", "expected: sim cut N"},
             Row{"explode", "unknown sim instruction 'explode'"},
         }) {
        const sim::Bench before = sim.bench();
        const auto w = words(r.line);
        const std::optional<std::string> error = sim.instruct(w);
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

// The program loads the instrument's own calibration file at start-up.
TEST_F(ScopeRig, TheCalibrationFileHoldsTheInstrumentsValues) {
    const Calibration& f = rig.s().cal;
    const sim::SimCalibration& c = sim.calibration();
    const double file[] = {f.ampfullscale,
                           f.clkcorr,
                           f.offzero,
                           f.offgain,
                           static_cast<double>(f.adcref),
                           f.rfdetoffset,
                           f.rfdetintercept,
                           f.rfdetslope,
                           f.ch1gainv,
                           f.ch1gaindv,
                           f.ch1gainmv,
                           f.ch1offv,
                           f.ch1offslopev,
                           static_cast<double>(f.ch1offmv),
                           f.ch1offslopemv,
                           f.ch2gainv,
                           f.ch2gaindv,
                           f.ch2gainmv,
                           static_cast<double>(f.ch2offv),
                           f.ch2offslopev,
                           static_cast<double>(f.ch2offmv),
                           f.ch2offslopemv,
                           f.flat1M,
                           f.flat10M,
                           f.flat50M,
                           f.flat100M,
                           f.flat200M,
                           f.flat90M};
    const auto& a = c.channel[0];
    const auto& b = c.channel[1];
    const double sim[] = {c.ampfullscale, c.clkcorr,        c.offzero,    c.offgain,  c.adcref,
                          c.rfdetoffset,  c.rfdetintercept, c.rfdetslope, a.gain[0],  a.gain[1],
                          a.gain[2],      a.offsetV,        a.slopeV,     a.offsetMv, a.slopeMv,
                          b.gain[0],      b.gain[1],        b.gain[2],    b.offsetV,  b.slopeV,
                          b.offsetMv,     b.slopeMv,        c.flat[0],    c.flat[1],  c.flat[5],
                          c.flat[10],     c.flat[12],       c.flat[9]};
    for (std::size_t i = 0; i < std::size(file); ++i) {
        EXPECT_NEAR(file[i], sim[i], 1e-5 * std::abs(sim[i])) << "value " << i;
    }
}

// Every V/div at every position gives range and offset DAC values the 12-bit DACs take, and
// 8 divisions fit the 12-bit converter.
TEST_F(ScopeRig, EveryRangeAndPositionFitsTheDacs) {
    const Calibration& c = rig.s().cal;
    for (int ch = 0; ch < 2; ++ch) {
        for (const double v : {1.0, 0.5, 0.2, 0.1, 0.05, 0.02, 0.01}) {
            const int group = v >= 0.5 ? 0 : v >= 0.1 ? 1 : 2;
            const double gains[2][3] = {{c.ch1gainv, c.ch1gaindv, c.ch1gainmv},
                                        {c.ch2gainv, c.ch2gaindv, c.ch2gainmv}};
            const double g = gains[ch][group];
            const double zero = group == 2 ? (ch == 0 ? c.ch1offmv : c.ch2offmv)
                                           : (ch == 0 ? c.ch1offv : c.ch2offv);
            const double slope = group == 2 ? (ch == 0 ? c.ch1offslopemv : c.ch2offslopemv)
                                            : (ch == 0 ? c.ch1offslopev : c.ch2offslopev);
            const double span = rounded(8000 * v * g);
            EXPECT_LE(span * 4096 / c.adcref, 4095) << ch << " " << v;
            EXPECT_LE(rounded(std::max(8 * v, 0.16) * g * 205), 4095);
            for (int pos = 0; pos <= 512; ++pos) {
                const int dac = offsetDac(rounded(pos / 512.0 * span), zero, slope);
                ASSERT_GE(dac, 0) << ch << " " << v << " " << pos;
                ASSERT_LE(dac, 4095) << ch << " " << v << " " << pos;
            }
        }
    }
}

TEST_F(ScopeRig, ShowPutsTheBenchAndTheMeasuringSideInWords) {
    sine("1", "MHz", "565.68", "mVpp");
    instruct("signal CH2 sine 1M 1");
    instruct("dut bandpass 1.5M 5");
    instruct("noise 1.5");
    vdiv(0, 1.0, 256);
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
