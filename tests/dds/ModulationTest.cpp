#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dds/Sweep.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

const Frame kControl1{1, 2, 0, 2, 64, 0};

class Modulation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.s().gen.sgerror = false;
        rig.w()["startf"].text = "1";
        rig.w()["startfunit"].text = "kHz";
        rig.w()["stopf"].text = "2";
        rig.w()["stopfunit"].text = "kHz";
        rig.w()["stepcnt"].text = "10";
        rig.w()["steptime"].text = "10";
        rig.w()["multi2"].text = "10";
        rig.ui.messages.clear();
    }

    void run(const std::string& type) {
        rig.w()["modtype"].text = type;
        mark = rig.mark();
        SetModulation(rig.w(), rig.link());
    }

    Rig rig;
    std::size_t mark = 0;
};

struct AmCase {
    const char* amfactor;
    int gain;
};

class ExternalAm : public Modulation, public ::testing::WithParamInterface<AmCase> {};

TEST_P(ExternalAm, SendsFourOverTheInputVoltage) {
    rig.w()["amfactor"].text = GetParam().amfactor;
    run("External AM");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(mark), (std::vector<Frame>{kControl1, {20, 1, GetParam().gain, 2, 0, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Factors, ExternalAm,
                         ::testing::Values(AmCase{"0.5", 8}, AmCase{"0.3", 13}, AmCase{"4", 1},
                                           AmCase{"1.6", 2}, AmCase{"0.016", 250}));

TEST_F(Modulation, ExternalFmSendsTheRange) {
    rig.w()["fmdrange"].text = "100";
    run("External FM");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(mark), (std::vector<Frame>{kControl1, {20, 2, 100, 2, 0, 0}}));
}

TEST_F(Modulation, InternalFmPlaysTheSweepListWithoutReadingItsAcknowledgement) {
    run("Internal FM1000Hz");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.frames(mark), (std::vector<Frame>{kControl1,
                                                    {20, 4, 1, 0, 0, 0},
                                                    {18, 0, 10, 0, 0, 0},
                                                    {23, 0, 50, 0, 10, 0},
                                                    {1, 130, 0, 2, 64, 0},
                                                    {2, 0, 2, 0, 0, 0}}));
    const auto words = rig.words(mark);
    ASSERT_EQ(words.size(), 10u);
    EXPECT_EQ(words.front(), (std::array<int, 4>{0, 6, 141, 160}));  // 2000 Hz
    EXPECT_EQ(words.back(), (std::array<int, 4>{0, 3, 154, 178}));   // 1100 Hz
    EXPECT_EQ(rig.w()["lmainclk"].text, "20MHz");
    // Six commands of 20 ms and the 100 ms pause; no 1 ms pause after the RAM command.
    EXPECT_EQ(rig.sleptMs(mark), 6 * 20 + 100);
    const auto lines = rig.lines(mark);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i - 1] == "write 0 3 154 178") {
            EXPECT_NE(lines[i].rfind("read", 0), 0u) << "acknowledgement read after the list";
        }
    }
}

TEST_F(Modulation, InternalFmAtTheFastClock) {
    rig.w()["stopf"].text = "30";
    run("Internal FM1000Hz");
    EXPECT_FALSE(rig.s().gen.sgerror);
    const auto frames = rig.frames(mark);
    ASSERT_EQ(frames.size(), 6u);
    EXPECT_EQ(frames[3], (Frame{23, 3, 232, 0, 10, 0}));  // 10 us at 10 ns steps
    EXPECT_EQ(frames[5], (Frame{2, 0, 2, 164, 0, 0}));
    EXPECT_EQ(rig.w()["lmainclk"].text, "400MHz");
}

TEST_F(Modulation, OtherTypeSendsOnlyTheControlRegister) {
    run("Internal AM");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.frames(mark), std::vector<Frame>{kControl1});
}

// Every way the procedure can end early must reach the refresh through the error flag,
// with no message of the procedure's own.
struct FailureCase {
    const char* name;
    const char* type;
    const char* field;
    const char* value;
    std::vector<std::string> messages;
    std::size_t frames;
};

class ModulationFailure : public Modulation, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ModulationFailure, SetsTheErrorFlag) {
    const FailureCase& c = GetParam();
    rig.w()[c.field].text = c.value;
    run(c.type);
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), c.messages);
    EXPECT_EQ(rig.frames(mark).size(), c.frames);
    EXPECT_TRUE(rig.words(mark).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ModulationFailure,
    ::testing::Values(
        FailureCase{"AmFactorZero", "External AM", "amfactor", "0", {}, 1},
        FailureCase{"AmFactorNotANumber", "External AM", "amfactor", "half", {}, 1},
        FailureCase{"AmFactorNegative", "External AM", "amfactor", "-0.5", {}, 1},
        FailureCase{"AmGainBeyondAByte", "External AM", "amfactor", "0.01", {}, 1},
        FailureCase{"FmRangeBeyondAByte", "External FM", "fmdrange", "300", {}, 1},
        FailureCase{"FmRangeBeyond16Bits", "External FM", "fmdrange", "40000", {}, 1},
        FailureCase{"FmRangeEmpty", "External FM", "fmdrange", "", {}, 1},
        FailureCase{"Steps1",
                    "Internal FM1000Hz",
                    "stepcnt",
                    "1",
                    {"Steps Count Out of range!,Valid range is 2 to 1000"},
                    2},
        FailureCase{"Start9Hz",
                    "Internal FM1000Hz",
                    "startfunit",
                    "Hz",
                    {"Sart Frequency Out Of Range! Valid range is 10Hz to 200Mhz"},
                    2},
        FailureCase{"StepTimeEmpty", "Internal FM1000Hz", "steptime", "", {"Enter Step time"}, 2},
        FailureCase{"StepsNotANumber", "Internal FM1000Hz", "stepcnt", "x", {}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Modulation, FailedControlRegisterSetsTheErrorFlag) {
    rig.sim.nakNext(3);
    run("External AM");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Modulation_CFR1_CommError", "Error Sending Data."}));
    EXPECT_EQ(rig.frames(mark).size(), 3u);
}

TEST_F(Modulation, FailedInternalFmCommandSetsTheErrorFlag) {
    rig.sim.nakNext(3, 3);  // control 1, start and the RAM command pass; the multipliers fail
    run("Internal FM1000Hz");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Modulation_CMD23_CommError", "Error Sending Data."}));
    EXPECT_EQ(rig.frames(mark).back(), (Frame{23, 0, 50, 0, 10, 0}));
}

TEST_F(Modulation, AmLabelDiffersFromFmLabel) {
    rig.sim.nakNext(3, 1);
    run("External AM");
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Modulation_Cmd20_CommError", "Error Sending Data."}));
    rig.ui.messages.clear();
    rig.sim.nakNext(3, 1);
    rig.w()["fmdrange"].text = "5";
    run("External FM");
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"Set_Modulation_CMD20_CommError", "Error Sending Data."}));
}

}  // namespace
}  // namespace tunx::test
