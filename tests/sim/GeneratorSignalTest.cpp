// The generator's modes as the scope sees them: shape, size and timing from the registers.
#include <algorithm>

#include "sim/ScopeRig.h"

namespace tunx::test {
namespace {

// Fraction of the samples above the middle of the trace, and of the steps that rise.
double fractionHigh(const std::vector<double>& v, double mid) {
    return static_cast<double>(
               std::count_if(v.begin(), v.end(), [&](double x) { return x > mid; })) /
           static_cast<double>(v.size());
}
double fractionRising(const std::vector<double>& v) {
    std::size_t up = 0;
    for (std::size_t i = 1; i < v.size(); ++i) {
        up += v[i] > v[i - 1] ? 1 : 0;
    }
    return static_cast<double>(up) / static_cast<double>(v.size() - 1);
}

TEST_F(ScopeRig, EveryModeShowsItsShapeAtItsRate) {
    struct Row {
        const char *mode, *fields;
        const char* dut;                  // CH1 through it when not null
        double pp, period, high, rising;  // codes, samples at 64 kS/s, fractions (-1: unchecked)
    };
    const char* const kKilohertz = "Frek=1|frequnit=kHz|Vpp=2";
    const Row rows[] = {
        {"Square-Wave", kKilohertz, nullptr, 128, 64, 0.5, -1},
        {"Square-Wave", kKilohertz, "attenuate 6.0206", 64, 64, 0.5, -1},
        {"Pulse Generator", "Pulse=100|PulseUnit=us|Pause=300|PauseUnit=us|Vpp=2", nullptr, 128,
         25.6, 0.25, -1},
        {"Square-Wave2", "Frek=2|frequnit=kHz|Vpp=2", nullptr, 128, 32, 0.5, -1},
        {"Ramp", kKilohertz, nullptr, -1, 64, -1, 0.9},
    };
    vdiv(0, "0.5V", 256);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.mode) + (r.dut ? " through " : "") + (r.dut ? r.dut : ""));
        instruct(r.dut ? "wire CH1 dut" : "wire CH1 generator");
        instruct(std::string("dut ") + (r.dut ? r.dut : "none"));
        generator(r.mode, r.fields);
        arm(625, 2);
        const std::vector<double> v = channel8(record(2500), 0);
        const Trace t(v);
        if (r.pp >= 0) {
            EXPECT_NEAR(t.pp, r.pp, 3);
        }
        EXPECT_NEAR(t.period, r.period, 0.3);
        if (r.high >= 0) {
            EXPECT_NEAR(fractionHigh(v, t.mid), r.high, 0.02);
        }
        if (r.rising >= 0) {
            EXPECT_GT(fractionRising(v), r.rising);
        }
    }
}

TEST_F(ScopeRig, AClosedOutputShowsZeroVolts) {
    sine("1", "kHz", "4");
    vdiv(0, "1V", 256);
    ASSERT_TRUE(rig.run("STOP_Click"));
    arm(625, 2);
    const Trace t(channel8(record(2500), 0));
    EXPECT_EQ(t.pp, 0);
    EXPECT_EQ(t.mid, 128);
}

// A record taken right after another continues the signal where the first one ended.
TEST_F(ScopeRig, TimeRunsOnAcrossRecords) {
    sine("1234", "Hz", "4");
    for (const auto& [mode, bytes] : {std::pair{2, 2502}, {66, 1302}}) {
        const bool twelve = mode == 66;
        vdiv(0, "1V", 256);
        arm(twelve ? 600 : 625, mode);
        const Bytes first = record(bytes);
        arm(twelve ? 600 : 625, mode);
        const Bytes second = record(4);
        if (twelve) {
            EXPECT_EQ(samples12(first)[650], samples12(second)[0]);
        } else {
            EXPECT_EQ(channel8(first, 0)[1250], channel8(second, 0)[0]);
        }
    }
}

}  // namespace
}  // namespace tunx::test
