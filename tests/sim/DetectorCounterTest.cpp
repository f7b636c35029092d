// The level detector at "CH1 IN" and the counter at "CH2 IN", read back with the program's
// own arithmetic.
#include <numbers>

#include "monitor/sweep/SweepLevel.h"
#include "sim/ScopeRig.h"

namespace tunx::test {
namespace {

// The detector code as the sweep analyser turns it into mVrms (3300 mV over 4096 codes).
double detectorMvrms(int code, const Calibration& c) {
    return levelFromDetector(static_cast<float>(3300.0 / 4096 * code), c).levelmv;
}

struct Detector : ScopeRig {
    double level() {
        EXPECT_EQ(write(frame({27, 255, 255, 85, 85, 85})), 0);
        const Bytes reply = read(2).second;
        return detectorMvrms(reply.at(0) * 256 + reply.at(1), rig.s().cal);
    }
};

// 100 mVrms at a matched load is 565.7 mVpp open-circuit, as the sweep analyser sets it. A plain
// wire and the band-pass around its resonance are read by the monitor's sweep tests; here the
// band-pass's skirt and the other devices.
TEST_F(Detector, ReadsTheRmsLevelThroughTheDeviceUnderTest) {
    struct Row {
        const char* dut;
        double hz;
        double mvrms;
    };
    const Row rows[] = {
        {"bandpass 1.5M 5", 15e6, 100 / std::sqrt(1 + 25 * std::pow(10 - 0.1, 2))},
        {"lowpass 200k", 200e3, 100 / std::numbers::sqrt2},
        {"highpass 10M", 1e6, 100 / std::sqrt(101)},
        {"attenuate 20", 3e6, 10},
    };
    send({32, 6, 4, 0, 0, 0});
    instruct("wire CH1 dut");
    for (const Row& r : rows) {
        instruct(std::string("dut ") + r.dut);
        sine(std::to_string(r.hz).c_str(), "Hz", "565.68", "mVpp");
        send({32, 6, 4, 0, 0, 0});
        EXPECT_NEAR(level() / r.mvrms, 1.0, 0.01) << r.dut << " at " << r.hz;
    }
}

TEST_F(Detector, ReadsNoiseAlone) {
    sine("1", "MHz", "565.68", "mVpp");
    instruct("wire CH1 off");
    instruct("noise 20");
    send({32, 6, 4, 0, 0, 0});
    EXPECT_NEAR(level(), 20, 0.3);
    instruct("noise 0");
    EXPECT_LT(level(), 1);  // the bottom of the detector's range
}

// The fast sweep: the 12-bit converter records the detector while the generator's own sweep
// runs from the start of the record (mode byte + 16).
TEST_F(Detector, FastSweepRecordsTheBandpassOnTheTwelveBitConverter) {
    generator("Sweep Sine Generator",
              "startf=1|startfunit=MHz|stopf=2|stopfunit=MHz|stepcnt=1000|steptime=500|"
              "singlesw=1|Vpp=565.68|VppUnit=mVpp");
    instruct("wire CH1 dut");
    instruct("dut bandpass 1.5M 5");
    for (const Frame& f :
         {Frame{32, 7, 2, 1, 0, 0}, Frame{32, 4, 8, 0, 0, 0}, Frame{32, 4, 0, 1, 0, 0},
          Frame{35, 1, 1, 0, 1, 0}, Frame{38, 3, 2, 0, 0, 0}, Frame{42, 0, 0, 122, 18, 82}}) {
        send(f);
    }
    const std::vector<double> codes = samples12(record(1300));
    ASSERT_EQ(codes.size(), 650U);
    std::vector<double> mvrms;
    for (double c : codes) {
        mvrms.push_back(detectorMvrms(static_cast<int>(c), rig.s().cal));
    }
    // Sample n falls in sweep step floor(n x 1.5625), which plays 1 MHz + (step + 1) kHz.
    const auto hz = [](std::size_t n) { return 1e6 + (std::floor(n * 1.5625) + 1) * 1000; };
    const auto above = [&](double mv) { return mv >= 100 / std::numbers::sqrt2; };
    const auto first = std::find_if(mvrms.begin(), mvrms.end(), above) - mvrms.begin();
    const auto last = mvrms.rend() - std::find_if(mvrms.rbegin(), mvrms.rend(), above) - 1;
    const double q = 5, f0 = 1.5e6;
    const double half = f0 / (2 * q), mid = f0 * std::sqrt(1 + 1 / (4 * q * q));
    EXPECT_NEAR(hz(static_cast<std::size_t>(first)), mid - half, 2000);
    EXPECT_NEAR(hz(static_cast<std::size_t>(last)), mid + half, 2000);
    EXPECT_NEAR(*std::max_element(mvrms.begin(), mvrms.end()), 100, 1.5);
    EXPECT_LT(mvrms[5], 40);
    EXPECT_LT(mvrms[635], 40);
}

}  // namespace
}  // namespace tunx::test
