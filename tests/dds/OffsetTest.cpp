#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "dds/Amplitude.h"
#include "dds/FrameTimeouts.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

// The output stage with sgaten 2040 and 0, the attenuator off.
constexpr Frame kLevel2040A{31, 3, 252, 3, 0, 0};
constexpr Frame kLevel2040B{31, 0, 3, 7, 0, 0};
constexpr Frame kLevel0A{31, 0, 0, 3, 0, 0};
constexpr Frame kLevel0B{31, 3, 255, 7, 0, 0};
constexpr Frame kAttenOff{32, 3, 15, 0, 0, 0};
constexpr Frame kReadbackOn{32, 6, 4, 1, 0, 0};
constexpr Frame kReadback2Off{32, 6, 5, 0, 0, 0};
constexpr Frame kBiasRead{27, 255, 255, 85, 85, 85};

Frame offset(int c1, int c2, int f1, int f2) {
    return {13, c1, c2, f1, f2, 0};
}

class Offset : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        Calibration& c = rig.s().cal;
        c.offzero = -10.0F;
        c.offgain = 1.0F;
        c.rampoffset = 470.0F;
        c.arbvoffset = 1090.0F;
        c.sq2offset = 1000;
        c.adcref = 3600;
        rig.s().gen.sgaten = 2040;
        rig.s().gen.sgatten = false;
        enter("Single Tone Sine", "Manual", "0", "mV");
    }

    void enter(const std::string& mode, const std::string& biasMode, const std::string& vbias,
               const std::string& unit) {
        rig.w()["ModeSelect"].text = mode;
        rig.w()["BiasMode"].text = biasMode;
        rig.w()["VBias"].text = vbias;
        rig.w()["BiasUnit"].text = unit;
    }

    void amplitude(const std::string& vpp, const std::string& unit, bool terminated = false) {
        rig.w()["Vpp"].text = vpp;
        rig.w()["VppUnit"].text = unit;
        rig.w()["termination"].value = terminated ? 1 : 0;
    }

    std::vector<Frame> setBias() {
        mark = rig.mark();
        SetBias(rig.w(), rig.link());
        return rig.frames(mark);
    }

    // The offset command among the frames, if one was sent.
    static std::optional<Frame> offsetOf(const std::vector<Frame>& frames) {
        for (const Frame& f : frames) {
            if (f[0] == 13) {
                return f;
            }
        }
        return std::nullopt;
    }

    Rig rig;
    std::size_t mark = 0;
};

TEST_F(Offset, SwitchesOnSendsTheCodeSwitchesOnAgainAndMeasures) {
    enter("Single Tone Sine", "Manual", "1002", "mV");
    const auto frames = setBias();
    EXPECT_EQ(frames, (std::vector<Frame>{kLevel2040A, kLevel2040B, kAttenOff,
                                          offset(1, 179, 1, 239), kLevel0A, kLevel0B, kAttenOff,
                                          kReadbackOn, kReadback2Off, kBiasRead}));
    const auto timeouts = frameTimeouts(rig, mark);
    ASSERT_EQ(timeouts.size(), frames.size());
    EXPECT_EQ(timeouts[3], 3000);
    EXPECT_EQ(rig.sleptMs(mark), 9 * 20 + 50 + 2);
    EXPECT_EQ(rig.s().gen.sgaten, 0);
    EXPECT_NEAR(rig.s().cal.sgbias, 1000.0F, 5.0F);  // what the virtual instrument puts out
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Offset, CodeFromEntryModeAndCalibration) {
    struct Row {
        const char* mode;
        const char* biasMode;
        const char* vbias;
        const char* unit;
        const char* vpp;
        const char* vppUnit;
        bool terminated;
        const char* arbit;
        Frame frame;
    };
    const Row rows[] = {
        // code 3130: coarse = fine = 640
        {"Single Tone Sine", "Manual", "0", "mV", "1", "Vpp", false, "Phase",
         offset(2, 128, 2, 128)},
        // code 2128, remainder 3: coarse 435, fine 495
        {"Single Tone Sine", "Manual", "1002", "mV", "1", "Vpp", false, "Phase",
         offset(1, 179, 1, 239)},
        {"Single Tone Sine", "Manual", "1.002", " V", "1", "Vpp", false, "Phase",
         offset(1, 179, 1, 239)},
        // a unit without a conversion gives no offset
        {"Single Tone Sine", "Manual", "1002", "V", "1", "Vpp", false, "Phase",
         offset(2, 128, 2, 128)},
        // code -1870: coarse -383 goes out as its low 16 bits
        {"Single Tone Sine", "Manual", "5", " V", "1", "Vpp", false, "Phase",
         offset(254, 129, 254, 129)},
        // code -1868, remainder -3 (the sign of the code): coarse -382, fine -442
        {"Single Tone Sine", "Manual", "4998", "mV", "1", "Vpp", false, "Phase",
         offset(254, 130, 254, 70)},
        // code 5130: coarse 1050
        {"Single Tone Sine", "Manual", "-2000", "mV", "1", "Vpp", false, "Phase",
         offset(4, 26, 4, 26)},
        {"Single Tone Sine", "0.00V", "1234", "mV", "1", "Vpp", false, "Phase",
         offset(2, 128, 2, 128)},
        // half of 2 Vpp: code 2130, coarse 436
        {"Single Tone Sine", "Vpp/2", "0", "mV", "2", "Vpp", false, "Phase",
         offset(1, 180, 1, 180)},
        {"Single Tone Sine", "Vpp/2", "0", "mV", "2000", "mVpp", true, "Phase",
         offset(1, 180, 1, 180)},
        // 1414 mV: code 1716, remainder 1: coarse 351, fine 371
        {"Single Tone Sine", "Vpp/2", "0", "mV", "1000", "mVrms", false, "Phase",
         offset(1, 95, 1, 115)},
        // 2 Vpp ramp sits 188 mV up: code 2942, remainder 2: coarse 602, fine 642
        {"Ramp", "Manual", "0", "mV", "2", "Vpp", false, "Phase", offset(2, 90, 2, 130)},
        {"Triangle", "Manual", "0", "mV", "2000", "mVpp", false, "Phase", offset(2, 90, 2, 130)},
        // 1 + 23.5 mV rounds as one sum to 24: code 3106, remainder 1: coarse 635, fine 655
        {"Ramp", "Manual", "1", "mV", "250", "mVpp", false, "Phase", offset(2, 123, 2, 143)},
        // terminated: 94 mV, code 3036, remainder 1: coarse 621, fine 641
        {"Ramp", "Manual", "0", "mV", "2", "Vpp", true, "Phase", offset(2, 109, 2, 129)},
        // 1090 mV: code 2040, coarse 417
        {"Arbitrary", "Manual", "0", "mV", "1", "Vpp", false, "Voltage", offset(1, 161, 1, 161)},
        {"Arbitrary", "Manual", "0", "mV", "1", "Vpp", false, "Phase", offset(2, 128, 2, 128)},
        // the entry is ignored: sq2offset 1000 mV, code 2130
        {"Square-Wave2", "Manual", "3000", "mV", "1", "Vpp", false, "Phase",
         offset(1, 180, 1, 180)},
    };
    for (const Row& r : rows) {
        enter(r.mode, r.biasMode, r.vbias, r.unit);
        amplitude(r.vpp, r.vppUnit, r.terminated);
        rig.w()["arbit"].text = r.arbit;
        EXPECT_EQ(offsetOf(setBias()), r.frame) << r.mode << " " << r.biasMode << " " << r.vbias;
        EXPECT_FALSE(rig.s().gen.sgerror) << r.mode << " " << r.vbias;
    }
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Offset, ZeroModeClearsTheField) {
    enter("Single Tone Sine", "0.00V", "1.5", " V");
    setBias();
    EXPECT_EQ(rig.w()["VBias"].text, "0.00");
}

TEST_F(Offset, OutOfRangeAndBadEntriesFailAfterTheFirstSwitchOn) {
    struct Row {
        const char* mode;
        const char* vbias;
        const char* unit;
        float offgain;
    };
    const Row rows[] = {
        {"Single Tone Sine", "-2001", "mV", 1.0F}, {"Single Tone Sine", "5001", "mV", 1.0F},
        {"Single Tone Sine", "5.001", " V", 1.0F}, {"Single Tone Sine", "abc", "mV", 1.0F},
        {"Single Tone Sine", "", " V", 1.0F},      {"Single Tone Sine", "1e300", " V", 1.0F},
        {"Single Tone Sine", "0", "mV", 0.0F},   // no offset gain
        {"Single Tone Sine", "0", "mV", 1e-9F},  // code beyond 32 bits
        {"Single Tone Sine", "0", "mV", 5e-5F},  // coarse value beyond 16 bits
        {"Arbitrary", "4000", "mV", 1.0F},       // 5090 mV with the Voltage offset
    };
    for (const Row& r : rows) {
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        fresh.s().cal.offzero = -10.0F;
        fresh.s().cal.offgain = r.offgain;
        fresh.s().cal.arbvoffset = 1090.0F;
        fresh.s().gen.sgaten = 2040;
        fresh.w()["ModeSelect"].text = r.mode;
        fresh.w()["BiasMode"].text = "Manual";
        fresh.w()["VBias"].text = r.vbias;
        fresh.w()["BiasUnit"].text = r.unit;
        fresh.w()["arbit"].text = "Voltage";
        const auto from = fresh.mark();
        SetBias(fresh.w(), fresh.link());
        EXPECT_EQ(fresh.frames(from), (std::vector<Frame>{kLevel2040A, kLevel2040B, kAttenOff}))
            << r.vbias << r.unit << " " << r.offgain;
        EXPECT_EQ(fresh.messages(), std::vector<std::string>{"Error calculating Offset!"})
            << r.vbias << r.unit << " " << r.offgain;
        EXPECT_TRUE(fresh.s().gen.sgerror) << r.vbias;
    }
}

TEST_F(Offset, RefusedOffsetCommandIsReportedAfterTwoAttempts) {
    rig.sim.nakNext(2, 3);
    enter("Single Tone Sine", "Manual", "0", "mV");
    EXPECT_EQ(setBias(), (std::vector<Frame>{kLevel2040A, kLevel2040B, kAttenOff,
                                             offset(2, 128, 2, 128), offset(2, 128, 2, 128)}));
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Offset_CommError", "Error Sending Data.",
                                        "Error calculating Offset!"}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.s().gen.sgaten, 2040);
}

}  // namespace
}  // namespace tunx::test
