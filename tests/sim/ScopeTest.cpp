// The scope converters judged physically: a known signal in, the expected codes out.
#include "sim/ScopeRig.h"

namespace tunx::test {
namespace {

// 64 kS/s (1 ms/div) on both converters.
constexpr std::uint32_t k8BitDivider = 625;
constexpr std::uint32_t k12BitDivider = 600;
constexpr int kFree8 = 2, kNormal8 = 3, kFree12 = 66;

// A 4 Vpp sine at 1 V/div on CH1 and an open input at a position are judged on the monitor's
// picture; here the other ranges, CH2, the device under test and both converters.
TEST_F(ScopeRig, RecordsShowTheSignalAtTheProgrammedScale) {
    struct Row {
        const char* what;
        std::vector<std::string> bench;
        int ch;
        const char* vdiv;
        int pos;
        bool twelve;
        double mid, pp, period;  // 8-bit codes or 12-bit screen units; samples
    };
    const Row rows[] = {
        {"attenuated 6.02 dB",
         {"wire CH1 dut", "dut attenuate 6.0206"},
         0,
         "1V",
         256,
         false,
         128,
         64,
         64},
        {"CH2 on 0.2 V/div", {"signal CH2 sine 2k 0.8"}, 1, "0.2V", 256, false, 128, 128, 32},
        {"CH2 on 50 mV/div", {"signal CH2 sine 4k 0.1"}, 1, "50mV", 300, false, 150, 64, 16},
        {"bench square", {"signal CH1 square 1k 2"}, 0, "0.5V", 256, false, 128, 128, 64},
        {"12-bit CH1 on 0.5 V/div", {"signal CH1 sine 2k 1"}, 0, "0.5V", 128, true, 128, 128, 32},
        {"12-bit CH2 on 10 mV/div",
         {"signal CH2 sine 500 0.04"},
         1,
         "10mV",
         256,
         true,
         256,
         256,
         128},
    };
    sine("1", "kHz", "4");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        for (const char* line :
             {"wire CH1 generator", "wire CH2 generator", "dut none", "offset CH1 0"}) {
            instruct(line);
        }
        for (const std::string& line : r.bench) {
            instruct(line);
        }
        const int spanadc = vdiv(r.ch, r.vdiv, r.pos);
        std::vector<double> v;
        if (r.twelve) {
            arm(k12BitDivider, kFree12, 0, 0, r.ch == 0 ? 2 : 3);
            const Bytes b = record(1300);
            ASSERT_EQ(b.size(), 1300U);
            for (const double x : samples12(b)) {
                v.push_back(x * 512.0 / (spanadc + 1));
            }
        } else {
            arm(k8BitDivider, kFree8);
            const Bytes b = record(2500);
            ASSERT_EQ(b.size(), 2500U);
            v = channel8(b, r.ch);
        }
        const Trace t(v);
        EXPECT_NEAR(t.mid, r.mid, r.twelve ? 1.5 : 1.0);
        EXPECT_NEAR(t.pp, r.pp, r.twelve ? 3.0 : 2.0);
        EXPECT_NEAR(t.period, r.period, 0.2);
    }
}

TEST_F(ScopeRig, TriggerStartsTheRecordAtTheCrossingOrSendsNoStatus) {
    sine("1", "kHz", "2");
    vdiv(0, "1V", 256);
    const int spanadc = vdiv(1, "1V", 256);
    struct Row {
        int mode, level, code, source;
        bool status;
    };
    // 2 Vpp at 1 V/div: 8-bit codes 96 .. 160; 12-bit codes of 0 .. 4 divisions.
    for (const Row& r : {Row{kNormal8, 140, 1, 2, true}, Row{kNormal8, 120, 2, 2, true},
                         Row{kNormal8, 200, 1, 2, false}, Row{kNormal8, 140, 21, 3, true},
                         Row{kFree8, 200, 1, 2, true}, Row{kFree12, spanadc * 9 / 16, 1, 3, true},
                         Row{kFree12, spanadc * 3 / 4, 2, 2, false}}) {
        SCOPED_TRACE(r.level);
        arm(k8BitDivider, r.mode, r.level, r.code, r.source);
        if (!r.status) {
            EXPECT_EQ(read(2).first, 13);
            continue;
        }
        const Bytes b = record(4);
        if (r.mode == kFree8 && r.code == 1) {
            continue;  // free-running whatever the trigger says
        }
        const bool twelve = r.mode == kFree12;
        const double first = twelve ? samples12(b)[0] : channel8(b, r.code >= 21 ? 1 : 0)[0];
        const double second = twelve ? samples12(b)[1] : channel8(b, r.code >= 21 ? 1 : 0)[1];
        const bool rising = r.code == 1 || r.code == 21;
        // At most one sample's rise past the level.
        EXPECT_NEAR(first, r.level, twelve ? 55 : 4);
        EXPECT_TRUE(rising ? second >= first : second <= first);
    }
}

// 1 s/div streams 12-bit samples at 64 S/s with no status: what has come since the last
// read, and with the virtual clock at least one sample per read.
TEST_F(ScopeRig, StreamingSendsTheSamplesThatHaveCome) {
    instruct("wire CH1 off");
    const int spanadc = vdiv(0, "1V", 256);
    arm(625000, 2 + 64 + 128, 0, 0, 2, true);
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 2; ++i) {
        sizes.push_back(read(100).second.size());
    }
    rig.clock.Sleep(1000);
    for (int i = 0; i < 3; ++i) {
        sizes.push_back(read(100).second.size());
    }
    const Bytes last = read(100).second;
    EXPECT_EQ(sizes, (std::vector<std::size_t>{2, 2, 100, 28, 2}));
    ASSERT_EQ(last.size(), 2U);
    EXPECT_NEAR(samples12(last)[0] * 512.0 / (spanadc + 1), 256, 1);
}

}  // namespace
}  // namespace tunx::test
