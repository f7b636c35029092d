// The scope converters judged physically: a known signal in, the expected codes out.
#include "sim/ScopeRig.h"

namespace tunx::test {
namespace {

// 64 kS/s (1 ms/div) on both converters.
constexpr std::uint32_t k8BitDivider = 625;
constexpr std::uint32_t k12BitDivider = 600;
constexpr int kFree8 = 2, kNormal8 = 3, kFree12 = 66;

TEST_F(ScopeRig, EightBitRecordsShowTheSignalAtTheProgrammedScale) {
    struct Row {
        const char* what;
        std::vector<std::string> bench;
        int ch;
        const char* vdiv;
        int pos;
        double mid, pp, period;  // codes; samples (0: not checked)
    };
    const Row rows[] = {
        // 4 Vpp at 1 V/div: 4 divisions of 32 codes, centred on position 256 / 2.
        {"generator sine", {}, 0, "1V", 256, 128, 128, 64},
        {"attenuated 6.02 dB", {"wire CH1 dut", "dut attenuate 6.0206"}, 0, "1V", 256, 128, 64, 64},
        {"CH2 on 0.2 V/div", {"signal CH2 sine 2k 0.8"}, 1, "0.2V", 256, 128, 128, 32},
        {"CH2 on 50 mV/div", {"signal CH2 sine 4k 0.1"}, 1, "50mV", 300, 150, 64, 16},
        {"bench square", {"signal CH1 square 1k 2"}, 0, "0.5V", 256, 128, 128, 64},
        {"input off reads the position", {"wire CH1 off"}, 0, "1V", 384, 192, 0, 0},
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
        vdiv(r.ch, r.vdiv, r.pos);
        arm(k8BitDivider, kFree8);
        const Bytes b = record(2500);
        ASSERT_EQ(b.size(), 2500U);
        const Trace t(channel8(b, r.ch));
        EXPECT_NEAR(t.mid, r.mid, 1.0);
        EXPECT_NEAR(t.pp, r.pp, 2.0);
        if (r.period > 0) {
            EXPECT_NEAR(t.period, r.period, 0.2);
        }
    }
}

TEST_F(ScopeRig, TwelveBitRecordsScaleBySpanadc) {
    struct Row {
        const char* bench;
        int ch;
        const char* vdiv;
        int pos;
        double mid, pp, period;  // screen units; samples
    };
    const Row rows[] = {
        {"wire CH1 generator", 0, "1V", 256, 256, 256, 64},  // 4 Vpp: 4 divisions
        {"signal CH1 sine 2k 1", 0, "0.5V", 128, 128, 128, 32},
        {"signal CH2 sine 500 0.04", 1, "10mV", 256, 256, 256, 128},
    };
    sine("1", "kHz", "4");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bench);
        instruct(r.bench);
        const int spanadc = vdiv(r.ch, r.vdiv, r.pos);
        arm(k12BitDivider, kFree12, 0, 0, r.ch == 0 ? 2 : 3);
        const Bytes b = record(1300);
        ASSERT_EQ(b.size(), 1300U);
        std::vector<double> v = samples12(b);
        for (double& x : v) {
            x *= 512.0 / (spanadc + 1);
        }
        const Trace t(v);
        EXPECT_NEAR(t.mid, r.mid, 1.5);
        EXPECT_NEAR(t.pp, r.pp, 3.0);
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

TEST_F(ScopeRig, ARecordRequestAnswersExactlyTheBytesAskedFor) {
    sine("1", "kHz", "1");
    vdiv(0, "1V", 256);
    for (const auto& [mode, count] : {std::pair{kFree8, 1300},
                                      {kFree8, 2500},
                                      {kFree8 + 2, 4096},
                                      {kFree12, 1300},
                                      {kFree12 + 2, 4096},
                                      {kFree8, 1}}) {
        arm(k8BitDivider, mode);
        EXPECT_EQ(record(count).size(), static_cast<std::size_t>(count)) << mode;
        EXPECT_EQ(read(1).first, 13) << "nothing more";
    }
}

TEST_F(ScopeRig, FaultsHitTheRecordRequestLikeAnyFrame) {
    sine("1", "kHz", "1");
    vdiv(0, "1V", 256);
    struct Row {
        const char* fault;
        int count;
        std::pair<int, std::size_t> answer;  // read status, bytes
    };
    for (const Row& r :
         {Row{"mute 1", 2500, {13, 0}}, Row{"nak 1", 2500, {0, 1}}, Row{"cut 100", 2500, {0, 2400}},
          Row{"cut 5000", 2500, {13, 0}}, Row{"nak 0", 2500, {0, 2500}}}) {
        arm(k8BitDivider, kFree8);
        ASSERT_EQ(read(2).second, (Bytes{65, 65}));
        instruct(r.fault);
        ASSERT_EQ(write(frame({37, r.count >> 8, r.count & 0xFF, 0, 0, 0})), 0);
        const auto [status, bytes] = read(4096);
        EXPECT_EQ(std::pair(status, bytes.size()), r.answer) << r.fault;
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
