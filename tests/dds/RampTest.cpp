#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dds/Ramp.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

constexpr const char* kRampError = "Rampup error";
constexpr const char* kRangeMessage =
    "Frequency out of range!, Valid range in rumpup mode is 0.1Hz to 200kHz";
const Frame kOutputPath{32, 4, 6, 0, 0, 0};
const Frame kControl1{1, 194, 0, 2, 0, 0};
const Frame kRamWrite{18, 3, 232, 0, 0, 0};

class Ramp : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.s().cal.ampfullscale = 7090;
        rig.s().host.groupSeparator = ',';
        rig.s().gen.clklabel = "";
        rig.s().gen.triangle = false;
        rig.s().gen.sgerror = false;
        rig.w()["invert"].value = 0;
        rig.w()["multi2"].text = "10";
        rig.ui.messages.clear();
    }

    void run(const std::string& frek, const std::string& unit) {
        rig.w()["Frek"].text = frek;
        rig.w()["frequnit"].text = unit;
        mark = rig.mark();
        SetRampUp(rig.w(), rig.link());
    }

    std::vector<std::array<int, 4>> words() const { return rig.words(mark); }

    Rig rig;
    std::size_t mark = 0;
};

struct ClockCase {
    const char* frek;
    const char* unit;
    Frame clockSetting;
    int control2Byte;
    int kHi, kLo;
    const char* clockLabel;
    const char* frekAfter;
};

class RampClock : public Ramp, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(RampClock, SendsClockMultiplierAndProducedFrequency) {
    const ClockCase& c = GetParam();
    run(c.frek, c.unit);
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
    const std::vector<Frame> expected{kOutputPath, c.clockSetting, {24, 0, 2, c.control2Byte, 0, 0},
                                      kControl1,   kRamWrite,      {23, c.kHi, c.kLo, 0, 10, 0}};
    EXPECT_EQ(rig.frames(mark), expected);
    EXPECT_EQ(rig.w()["lmainclk"].text, c.clockLabel);
    EXPECT_EQ(rig.s().gen.clklabel, c.clockLabel);
    EXPECT_EQ(rig.w()["Frek"].text, c.frekAfter);
    EXPECT_EQ(words().size(), 1000u);
}

INSTANTIATE_TEST_SUITE_P(
    Frequencies, RampClock,
    ::testing::Values(
        // 1 kHz: K0 30, R 30 MHz, M 7, B 17,142,857, S 3429, K 30.
        ClockCase{
            "1000", "Hz", {26, 13, 101, 1, 0, 0}, 60, 0, 30, "30,000,000Hz", "999.9999916666667"},
        ClockCase{
            "1", "kHz", {26, 13, 101, 1, 0, 0}, 60, 0, 30, "30,000,000Hz", "0.9999999916666666"},
        // 50 kHz: R 50 MHz directly, M 11, B 18,181,818, S 3636, K 1.
        ClockCase{"50", "kHz", {26, 14, 52, 1, 0, 0}, 92, 0, 1, "50,000,000Hz", "49.9999995"},
        // Below 1 Hz: M 1 and R 4 MHz; K needs the full 16 bits at 0.1 Hz.
        ClockCase{"0.5", "Hz", {26, 12, 128, 1, 0, 0}, 12, 31, 64, "4,000,000Hz", "0.5"},
        ClockCase{"0.1", "Hz", {26, 12, 128, 1, 0, 0}, 12, 156, 64, "4,000,000Hz", "0.1"}));

TEST_F(Ramp, ClockControlIsCode2WhenTheRateLabelIsUnchanged) {
    run("1000", "Hz");
    run("1000", "Hz");
    const auto frames = rig.frames(mark);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[1], (Frame{26, 13, 101, 1, 0, 0}));  // the clock setting goes every time
    EXPECT_EQ(frames[2], (Frame{2, 0, 2, 60, 0, 0}));
}

TEST_F(Ramp, PausesAfterClockSettingAndControl) {
    run("1000", "Hz");
    // Eight commands of 20 ms, 300 ms after the clock setting, 100 ms after control 2.
    EXPECT_EQ(rig.sleptMs(mark), 6 * 20 + 300 + 100);
}

TEST_F(Ramp, GroupsTheRateWithTheLocaleSeparator) {
    rig.s().host.groupSeparator = '.';
    run("1000", "Hz");
    EXPECT_EQ(rig.w()["lmainclk"].text, "30.000.000Hz");
}

TEST_F(Ramp, RampRisesFromTheLowLevelToFullScale) {
    run("1000", "Hz");
    const auto w = words();
    ASSERT_EQ(w.size(), 1000u);
    // 1000 mV: z 0.718, word -8031; 7083.9 mV: z -0.998, word -32157.
    EXPECT_EQ(w.front(), (std::array<int, 4>{224, 161, 0, 0}));
    EXPECT_EQ(w.back(), (std::array<int, 4>{130, 99, 0, 0}));
    EXPECT_EQ(rig.sim.model().ramCount, 1000);
}

TEST_F(Ramp, InvertedRampFallsFromFullScale) {
    rig.w()["invert"].value = 1;
    run("1000", "Hz");
    const auto w = words();
    ASSERT_EQ(w.size(), 1000u);
    EXPECT_EQ(w.front(), (std::array<int, 4>{128, 248, 0, 0}));  // 7089 mV, word -32520
    EXPECT_EQ(w.back(), (std::array<int, 4>{253, 108, 0, 0}));   // 7.089 mV, word -660
}

int value16(const std::array<int, 4>& w) {
    const int v = w[0] * 256 + w[1];
    return v >= 32768 ? v - 65536 : v;
}

TEST_F(Ramp, TriangleRisesToItsPeakAndFallsSymmetrically) {
    rig.s().gen.triangle = true;
    rig.w()["invert"].value = 1;  // the triangle ignores Invert
    run("1000", "Hz");
    EXPECT_FALSE(rig.s().gen.sgerror);
    const auto w = words();
    ASSERT_EQ(w.size(), 1000u);
    EXPECT_EQ(value16(w[0]), -8083);     // 1012.18 mV
    EXPECT_EQ(value16(w[500]), -32768);  // full scale: z held inside the arcsine's domain
    for (std::size_t i = 1; i <= 500; ++i) {
        EXPECT_LE(value16(w[i]), value16(w[i - 1])) << "rising level at word " << i;
    }
    for (std::size_t k = 1; k < 500; ++k) {
        EXPECT_EQ(w[500 - k], w[500 + k]) << "offset " << k;
    }
    EXPECT_EQ(value16(w[999]), value16(w[1]));
}

struct FailureCase {
    const char* name;
    const char* frek;
    const char* unit;
    std::vector<std::string> messages;
    int framesSent;
};

class RampFailure : public Ramp, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RampFailure, ShowsItsMessageAndSetsTheErrorFlag) {
    const FailureCase& c = GetParam();
    run(c.frek, c.unit);
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), c.messages);
    EXPECT_EQ(rig.frames(mark).size(), static_cast<std::size_t>(c.framesSent));
    EXPECT_TRUE(words().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RampFailure,
    ::testing::Values(FailureCase{"TooLow", "0.05", "Hz", {kRangeMessage, kRampError}, 1},
                      FailureCase{"TooHigh", "200001", "Hz", {kRangeMessage, kRampError}, 1},
                      FailureCase{"NotANumber", "1k", "Hz", {kRampError}, 1},
                      FailureCase{"Empty", "", "Hz", {kRampError}, 1},
                      // Above 100 kHz no rate of the table serves 1000 words a period.
                      FailureCase{"NoRateRow", "150", "kHz", {kRampError}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ramp, UnusableFullScaleSendsNoRamData) {
    rig.s().cal.ampfullscale = 0;
    run("1000", "Hz");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), std::vector<std::string>{kRampError});
    const auto frames = rig.frames(mark);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back(), kControl1);  // no RAM write command
    EXPECT_TRUE(words().empty());
}

TEST_F(Ramp, MultiplierBeyondSixteenBitsFailsBeforeTheMultiplierCommand) {
    rig.w()["multi2"].text = "65536";
    run("1000", "Hz");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), std::vector<std::string>{kRampError});
    EXPECT_EQ(rig.frames(mark).back(), kRamWrite);
}

TEST_F(Ramp, FailedCommandEndsTheSequence) {
    rig.sim.nakNext(3, 1);  // the clock setting is refused three times
    run("1000", "Hz");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"SetFreq_Square_Wave_CommError",
                                                        "Error Sending Data.", kRampError}));
    EXPECT_EQ(rig.frames(mark).size(), 4u);
    EXPECT_EQ(rig.s().gen.clklabel, "");
}

TEST_F(Ramp, FailedRamWordEndsTheSequence) {
    rig.sim.failWritesNext(1, 5 + 5);  // five frames and five words pass, the sixth word fails
    run("1000", "Hz");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Loading Profile Error! Please, Verify your entry.",
                                        kRampError}));
    EXPECT_EQ(words().size(), 6u);  // the sixth was attempted and refused
    EXPECT_EQ(rig.sim.model().ramWritten, 5);
    EXPECT_EQ(rig.frames(mark).back(), kRamWrite);
}

}  // namespace
}  // namespace tunx::test
