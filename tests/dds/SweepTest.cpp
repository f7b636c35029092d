#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "dds/Sweep.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

constexpr const char* kSweepError = "Error Seting SweepGen!";
using Word = std::array<int, 4>;

// The words for 2000, 1900, ..., 1100 Hz at the 20 MHz clock: round(f x 4,294,722,500 / 2e7).
const std::vector<int> kKiloToTwoKilo{429472, 407999, 386525, 365051, 343578,
                                      322104, 300631, 279157, 257683, 236210};

Word bytesOf(int v) {
    return {(v >> 24) & 255, (v >> 16) & 255, (v >> 8) & 255, v & 255};
}

class Sweep : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.s().gen.sgerror = false;
        set("1", "kHz", "2", "kHz", "10", "10");
        rig.w()["multi2"].text = "10";
        rig.w()["singlesw"].value = 0;
        rig.ui.messages.clear();
    }

    void set(const char* start, const char* startUnit, const char* stop, const char* stopUnit,
             const char* steps, const char* stepTime) {
        rig.w()["startf"].text = start;
        rig.w()["startfunit"].text = startUnit;
        rig.w()["stopf"].text = stop;
        rig.w()["stopfunit"].text = stopUnit;
        rig.w()["stepcnt"].text = steps;
        rig.w()["steptime"].text = stepTime;
    }

    void run() {
        mark = rig.mark();
        SetSweepGen(rig.w(), rig.link());
    }

    Rig rig;
    std::size_t mark = 0;
};

TEST_F(Sweep, ListRunsFromStopDownAtTheSlowClock) {
    run();
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
    std::vector<Word> expected;
    for (int w : kKiloToTwoKilo) {
        expected.push_back(bytesOf(w));
    }
    EXPECT_EQ(rig.words(mark), expected);
    EXPECT_EQ(expected.front(), (Word{0, 6, 141, 160}));
    // 10 us at 200 ns RAM steps: multiplier 50.
    EXPECT_EQ(rig.frames(mark), (std::vector<Frame>{{18, 0, 10, 0, 0, 0},
                                                    {23, 0, 50, 0, 10, 0},
                                                    {1, 130, 0, 2, 64, 0},
                                                    {2, 0, 2, 0, 0, 0}}));
    EXPECT_EQ(rig.w()["lmainclk"].text, "20MHz");
}

TEST_F(Sweep, PausesAfterTheRamWriteCommandAndReadsTheAcknowledgement) {
    run();
    const auto lines = rig.lines(mark);
    std::size_t ramCommand = lines.size();
    std::size_t firstWord = lines.size();
    std::size_t lastWord = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("write 4 18 ", 0) == 0) {
            ramCommand = i;
        }
        const bool rawWord = lines[i].rfind("write ", 0) == 0 &&
                             std::count(lines[i].begin(), lines[i].end(), ' ') == 4;
        if (rawWord && i > ramCommand) {
            firstWord = std::min(firstWord, i);
            lastWord = i;
        }
    }
    ASSERT_LT(firstWord, lines.size());
    EXPECT_EQ(lines[firstWord - 1], "sleep 1");
    ASSERT_LT(lastWord + 1, lines.size());
    EXPECT_EQ(lines[lastWord + 1], "read 1 -> 6");
}

TEST_F(Sweep, SingleSweepStartsOnce) {
    rig.w()["singlesw"].value = 1;
    run();
    const auto frames = rig.frames(mark);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[2], (Frame{1, 138, 0, 2, 64, 0}));
    EXPECT_EQ(frames[4], (Frame{20, 3, 1, 0, 0, 0}));
}

struct ClockCase {
    const char* stop;
    const char* stopUnit;
    const char* stepTime;
    const char* clockLabel;
    Frame multipliers;
    int control2Byte;
    int firstWord;
};

class SweepClock : public Sweep, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(SweepClock, StopFrequencyChoosesClockAndStepTimeLimit) {
    const ClockCase& c = GetParam();
    set("10", "Hz", c.stop, c.stopUnit, "2", c.stepTime);
    run();
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.w()["lmainclk"].text, c.clockLabel);
    const auto frames = rig.frames(mark);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[1], c.multipliers);
    EXPECT_EQ(frames[3], (Frame{2, 0, 2, c.control2Byte, 0, 0}));
    ASSERT_FALSE(rig.words(mark).empty());
    EXPECT_EQ(rig.words(mark).front(), bytesOf(c.firstWord));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SweepClock,
    ::testing::Values(
        ClockCase{"20000", "Hz", "10000", "20MHz", {23, 195, 80, 0, 10, 0}, 0, 4294722},
        ClockCase{"20001", "Hz", "650", "400MHz", {23, 253, 232, 0, 10, 0}, 164, 214747},
        ClockCase{"200", "MHz", "1", "400MHz", {23, 0, 100, 0, 10, 0}, 164, 2147361250},
        // The unit text is read trimmed, as the panel's validation reads it.
        ClockCase{"20.001", " kHz ", "650", "400MHz", {23, 253, 232, 0, 10, 0}, 164, 214747}));

struct RejectCase {
    const char* name;
    std::function<void(Window&)> change;
    const char* message;  // nullptr: a field that is not a number, no message of its own
};

class SweepReject : public Sweep, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(SweepReject, ShowsTheMessageAndSendsNothing) {
    const RejectCase& c = GetParam();
    c.change(rig.w());
    run();
    EXPECT_TRUE(rig.s().gen.sgerror);
    std::vector<std::string> expected;
    if (c.message != nullptr) {
        expected.push_back(c.message);
    }
    expected.push_back(kSweepError);
    EXPECT_EQ(rig.messages(), expected);
    EXPECT_TRUE(rig.frames(mark).empty());
    EXPECT_TRUE(rig.words(mark).empty());
}

void text(Window& w, const char* field, const char* value) {
    w[field].text = value;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SweepReject,
    ::testing::Values(
        RejectCase{"Start9Hz",
                   [](Window& w) {
                       text(w, "startf", "9");
                       text(w, "startfunit", "Hz");
                   },
                   "Sart Frequency Out Of Range! Valid range is 10Hz to 200Mhz"},
        RejectCase{"StartAbove200MHz", [](Window& w) { text(w, "startf", "200001"); },
                   "Sart Frequency Out Of Range! Valid range is 10Hz to 200Mhz"},
        RejectCase{"Stop9Hz",
                   [](Window& w) {
                       text(w, "stopf", "9");
                       text(w, "stopfunit", "Hz");
                   },
                   "Stop Frequency Out Of Range! Valid range is 10Hz to 200Mhz"},
        RejectCase{"StepsEmpty", [](Window& w) { text(w, "stepcnt", ""); }, "Enter Steps Count"},
        RejectCase{"Steps1", [](Window& w) { text(w, "stepcnt", "1"); },
                   "Steps Count Out of range!,Valid range is 2 to 1000"},
        RejectCase{"Steps1001", [](Window& w) { text(w, "stepcnt", "1001"); },
                   "Steps Count Out of range!,Valid range is 2 to 1000"},
        RejectCase{"StepTimeEmpty", [](Window& w) { text(w, "steptime", ""); }, "Enter Step time"},
        RejectCase{"StepTime0", [](Window& w) { text(w, "steptime", "0"); },
                   "Step time Out of range!,Valid range is 1 to 10000"},
        RejectCase{"StepTime10001Slow", [](Window& w) { text(w, "steptime", "10001"); },
                   "Step time Out of range!,Valid range is 1 to 10000"},
        RejectCase{"StepTime651Fast",
                   [](Window& w) {
                       text(w, "stopf", "20.001");
                       text(w, "steptime", "651");
                   },
                   "Step time Out of range!,Valid range is 1 to 650"},
        RejectCase{"StartNotANumber", [](Window& w) { text(w, "startf", "1,5"); }, nullptr},
        RejectCase{"StepsNotANumber", [](Window& w) { text(w, "stepcnt", "ten"); }, nullptr},
        RejectCase{"StepsBeyond32Bits", [](Window& w) { text(w, "stepcnt", "1e12"); }, nullptr},
        RejectCase{"StopBeyondSinglePrecision", [](Window& w) { text(w, "stopf", "1e300"); },
                   nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Sweep, SecondMultiplierBeyondSixteenBitsFailsAfterTheList) {
    rig.w()["multi2"].text = "-1";
    run();
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), std::vector<std::string>{kSweepError});
    EXPECT_EQ(rig.frames(mark), (std::vector<Frame>{{18, 0, 10, 0, 0, 0}}));
}

TEST_F(Sweep, FailedCommandEndsWithTheSweepMessage) {
    rig.sim.nakNext(3, 2);  // the RAM write and the multipliers pass, control 1 is refused
    run();
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), (std::vector<std::string>{"Set_Sweep_CFR1_CommError",
                                                        "Error Sending Data.", kSweepError}));
    EXPECT_EQ(rig.frames(mark).size(), 5u);
}

TEST_F(Sweep, FailedRamWriteCommandSendsNoWords) {
    rig.sim.nakNext(3);
    run();
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"RamWrite_CommError", "Error Sending Data.",
                                        "Loading Profile Error! Please, Verify your entry.",
                                        kSweepError}));
    EXPECT_TRUE(rig.words(mark).empty());
}

}  // namespace
}  // namespace tunx::test
