#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dds/Amplitude.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

class Amplitude : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        Calibration& c = rig.s().cal;
        c.ampfullscale = 7090.0F;
        c.flat1M = 1.0F;
        c.flat100M = 2.63F;
        c.flat150M = 2.63F;
        c.flat200M = 2.63F;
        c.sq2level1 = 1240;
        c.sq2level2 = 980;
        c.sq2level3 = 720;
        c.sq2level4 = 460;
        c.sq2level5 = 200;
        rig.s().gen.sgfreq = 1'000'000;
        rig.s().gen.sgaten = 2040;
    }

    void enter(const std::string& mode, const std::string& vpp, const std::string& unit,
               bool terminated = false) {
        rig.w()["ModeSelect"].text = mode;
        rig.w()["Vpp"].text = vpp;
        rig.w()["VppUnit"].text = unit;
        rig.w()["termination"].value = terminated ? 1 : 0;
    }

    std::vector<Frame> setVpp() {
        const auto from = rig.mark();
        SetVpp(rig.w(), rig.link());
        return rig.frames(from);
    }

    std::vector<Frame> stop() {
        const auto from = rig.mark();
        sgstop(rig.w(), rig.link());
        return rig.frames(from);
    }

    Rig rig;
};

Frame asf(int hi, int lo) {
    return {3, hi, lo, 0, 0, 0};
}

TEST_F(Amplitude, ScaleFactorFromEntryUnitTerminationAndMode) {
    struct Row {
        const char* mode;
        const char* vpp;
        const char* unit;
        bool terminated;
        std::int32_t sgfreq;
        Frame frame;
    };
    const Row rows[] = {
        {"Single Tone Sine", "1000", "mVpp", false, 1'000'000, asf(9, 7)},  // 2311
        {"Single Tone Sine", "1", "Vpp", false, 1'000'000, asf(9, 7)},
        {"Single Tone Sine", "1000", "mVpp", true, 1'000'000, asf(18, 13)},     // as 2000 mVpp
        {"Single Tone Sine", "5000", "mVpp", false, 1'000'000, asf(46, 182)},   // x 1.035
        {"Single Tone Sine", "1000", "mVrms", false, 1'000'000, asf(25, 136)},  // 2828.4 mVpp
        {"Sine Modulated", "1000", "mVrms", false, 1'000'000, asf(25, 136)},
        {"Single Tone Sine", "20", "dBmV", false, 1'000'000, asf(0, 65)},  // 28.284 mVpp
        {"Single Tone Sine", "20", "dBmV", true, 1'000'000, asf(2, 142)},  // 40 dBmV
        {"Ramp", "1000", "mVpp", false, 100'000'000, asf(10, 213)},        // gain 1.2
        {"Triangle", "1000", "mVpp", false, 100'000'000, asf(10, 213)},
        {"Ramp", "4000", "mVpp", false, 100'000'000, asf(43, 194)},          // 1.2 x 1.01
        {"Pulse Generator", "1000", "mVpp", false, 100'000'000, asf(9, 7)},  // no flatness
        {"Arbitrary", "1", "Vpp", false, 100'000'000, asf(9, 7)},
    };
    for (const Row& r : rows) {
        enter(r.mode, r.vpp, r.unit, r.terminated);
        rig.s().gen.sgfreq = r.sgfreq;
        rig.s().gen.sgaten = 2040;
        EXPECT_EQ(setVpp(), std::vector<Frame>{r.frame}) << r.mode << " " << r.vpp << r.unit;
        EXPECT_EQ(rig.s().gen.sgaten, 0) << r.mode << " " << r.vpp << r.unit;
        EXPECT_FALSE(rig.s().gen.sgerror) << r.mode << " " << r.vpp << r.unit;
    }
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Amplitude, FlatnessInterpolatesBetweenCalibrationPoints) {
    Calibration& c = rig.s().cal;
    c.flat1M = 1.0F;
    c.flat10M = 1.1F;
    c.flat20M = 1.2F;
    c.flat30M = 1.3F;
    c.flat40M = 1.4F;
    c.flat50M = 1.5F;
    c.flat60M = 1.6F;
    c.flat70M = 1.7F;
    c.flat80M = 1.8F;
    c.flat90M = 1.9F;
    c.flat100M = 2.0F;
    c.flat150M = 2.2F;
    c.flat200M = 2.4F;
    struct Row {
        std::int32_t sgfreq;
        Frame frame;
    };
    const Row rows[] = {
        {1'000, asf(9, 7)},           // 2311, gain 1.0
        {1'000'000, asf(9, 7)},       //
        {5'500'000, asf(9, 122)},     // 2426, gain 1.05
        {42'500'000, asf(12, 221)},   // 3293, gain 1.425
        {110'000'000, asf(18, 106)},  // 4714, gain 2.04
        {200'000'000, asf(21, 170)},  // 5546, gain 2.4
        {200'000'001, asf(9, 7)},     // back to the 1 MHz value
    };
    enter("Single Tone Sine", "1000", "mVpp");
    for (const Row& r : rows) {
        rig.s().gen.sgfreq = r.sgfreq;
        EXPECT_EQ(setVpp(), std::vector<Frame>{r.frame}) << r.sgfreq;
    }
}

TEST_F(Amplitude, TooMuchGainIsClampedAndStillSent) {
    rig.s().gen.sgfreq = 200'000'000;
    enter("Single Tone Sine", "5000", "mVpp");
    EXPECT_EQ(setVpp(), std::vector<Frame>{asf(63, 255)});
    EXPECT_EQ(rig.messages(),
              std::vector<std::string>{
                  "Amplitude is too Hi for Frequency Entered! Amplitude will be set to Maximum."});
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST_F(Amplitude, RefusedEntriesSendNothingAndStopTheSequence) {
    struct Row {
        const char* mode;
        const char* vpp;
        const char* unit;
        bool terminated;
        const char* message;
    };
    const char* tooHigh = "Amplitude Entry is too high!";
    const char* badUnit = "Invalid Amplitude unit selection!";
    const char* error = "Error calculating Amplitude!";
    const Row rows[] = {
        {"Single Tone Sine", "5000.5", "mVpp", false, tooHigh},
        {"Single Tone Sine", "5500", "mVpp", false, tooHigh},
        {"Single Tone Sine", "2600", "mVpp", true, tooHigh},
        {"Single Tone Sine", "3000", "mVrms", false, tooHigh},  // 8485 mVpp
        {"Single Tone Sine", "80", "dBmV", false, tooHigh},
        {"Pulse Generator", "100", "mVrms", false, badUnit},
        {"Ramp", "10", "dBmV", false, badUnit},
        {"Single Tone Sine", "0.5", "mVpp", false, error},
        {"Single Tone Sine", "5501", "mVpp", false, error},
        {"Single Tone Sine", "6", "Vpp", false, error},
        {"Single Tone Sine", "0", "dBmV", false, error},
        {"Single Tone Sine", "abc", "mVpp", false, error},
        {"Single Tone Sine", "", "Vpp", false, error},
        {"Single Tone Sine", "1e39", "mVpp", false, error},
    };
    for (const Row& r : rows) {
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        fresh.s().cal.ampfullscale = 7090.0F;
        fresh.w()["ModeSelect"].text = r.mode;
        fresh.w()["Vpp"].text = r.vpp;
        fresh.w()["VppUnit"].text = r.unit;
        fresh.w()["termination"].value = r.terminated ? 1 : 0;
        const auto from = fresh.mark();
        SetVpp(fresh.w(), fresh.link());
        EXPECT_TRUE(fresh.frames(from).empty()) << r.vpp << r.unit;
        EXPECT_EQ(fresh.messages(), std::vector<std::string>{r.message}) << r.vpp << r.unit;
        EXPECT_TRUE(fresh.s().gen.sgerror) << r.vpp << r.unit;
    }
}

TEST_F(Amplitude, ZeroFullScaleIsAnError) {
    rig.s().cal.ampfullscale = 0.0F;
    enter("Single Tone Sine", "1000", "mVpp");
    EXPECT_TRUE(setVpp().empty());
    EXPECT_EQ(rig.messages(), std::vector<std::string>{"Error calculating Amplitude!"});
    EXPECT_TRUE(rig.s().gen.sgerror);
}

TEST_F(Amplitude, Square2SetsTheOutputLevelInstead) {
    struct Row {
        const char* vpp;
        std::int16_t sgaten;
    };
    const Row rows[] = {
        {"500", 880},      // 1500 - 0.5 x sq2level1
        {"1000", 1240},    // the second segment wins at its start
        {"1001.5", 1239},  // x rounds to 2
        {"1500", 1110},    //
        {"2000", 980},     //
        {"4500", 330},     //
        {"5000", 200},
    };
    for (const Row& r : rows) {
        enter("Square-Wave2", r.vpp, "mVpp");
        rig.s().gen.sgaten = 2040;
        EXPECT_TRUE(setVpp().empty()) << r.vpp;
        EXPECT_EQ(rig.s().gen.sgaten, r.sgaten) << r.vpp;
    }
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Amplitude, RefusedAmplitudeCommandIsReported) {
    rig.sim.nakNext(3);
    enter("Single Tone Sine", "1000", "mVpp");
    EXPECT_EQ(setVpp().size(), 3U);
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Amplitude_CommError", "Error Sending Data.",
                                        "Error calculating Amplitude!"}));
    EXPECT_TRUE(rig.s().gen.sgerror);
}

TEST_F(Amplitude, StopSendsTheBareNumber) {
    struct Row {
        const char* vpp;
        const char* unit;
        bool terminated;
        Frame frame;
    };
    const Row rows[] = {
        {"1000", "mVpp", false, asf(9, 7)},
        {"1000", "Vpp", true, asf(9, 7)},  // no unit, no termination
        {"1", "Vpp", false, asf(0, 2)},
        {"0", "mVpp", false, asf(0, 0)},
    };
    for (const Row& r : rows) {
        enter("Single Tone Sine", r.vpp, r.unit, r.terminated);
        EXPECT_EQ(stop(), std::vector<Frame>{r.frame}) << r.vpp;
    }
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_FALSE(rig.s().gen.sgerror);
}

TEST_F(Amplitude, StopReportsBadNumbersAndRefusals) {
    for (const char* vpp : {"abc", "", "8000", "-1"}) {
        Rig fresh;
        ASSERT_TRUE(fresh.start());
        fresh.s().cal.ampfullscale = 7090.0F;
        fresh.w()["Vpp"].text = vpp;
        const auto from = fresh.mark();
        sgstop(fresh.w(), fresh.link());
        EXPECT_TRUE(fresh.frames(from).empty()) << vpp;
        EXPECT_EQ(fresh.messages(), std::vector<std::string>{" SG STOP Error"}) << vpp;
        EXPECT_TRUE(fresh.s().gen.sgerror) << vpp;
    }
    rig.sim.nakNext(3);
    rig.w()["Vpp"].text = "1000";
    EXPECT_EQ(stop().size(), 3U);
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"SGSTOP_Amplitude_CommError",
                                                        "Error Sending Data.", " SG STOP Error"}));
    EXPECT_TRUE(rig.s().gen.sgerror);
}

}  // namespace
}  // namespace tunx::test
