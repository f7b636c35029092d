// "Cal. Offset": the correction arithmetic, an input offset cancelled on the bench, which stored
// calibration value takes the result, and what a refused command leaves.
#include <functional>

#include "common/RuntimeError.h"
#include "monitor/MonitorRig.h"
#include "monitor/scope/OffsetCalibration.h"

namespace tunx::test {
namespace {

TEST(OffsetArithmetic, ErrorInMillivoltsMovesTheCalibrationAndTheDac) {
    struct Row {
        const char* what;
        std::int16_t pos, average, span, offcal;
        float slope;
        std::optional<OffsetCorrection> expected;
    };
    const Row rows[] = {
        // d = -10 rows, e = rounded(-156.25) = -156 mV: the calibration grows by 156.
        {"ten rows high at 1V/div", 256, 266, 8000, 8012, 1, OffsetCorrection{8168, 1691}},
        {"ten rows low", 256, 246, 8000, 8012, 1, OffsetCorrection{7856, 1595}},
        {"a slope of 0.5 doubles the step", 256, 266, 8000, 8012, 0.5f,
         OffsetCorrection{8324, 509}},
        // 1 / 512 x 1280 = 2.5 mV rounds to the even 2; r = 14754.5 rounds to 14754.
        {"ties go to the even value", 100, 99, 1280, 9005, 0.502f, OffsetCorrection{9001, 3023}},
        {"on its position", 256, 256, 8000, 8012, 1, std::nullopt},
        {"no average", 256, 0, 8000, 8012, 1, std::nullopt},
    };
    for (const Row& row : rows) {
        const auto c = offsetCorrection(row.pos, row.average, row.span, row.offcal, row.slope);
        ASSERT_EQ(c.has_value(), row.expected.has_value()) << row.what;
        if (c) {
            EXPECT_EQ(c->offcal, row.expected->offcal) << row.what;
            EXPECT_EQ(c->dacValue, row.expected->dacValue) << row.what;
        }
    }
    EXPECT_THROW(offsetCorrection(256, 266, 8000, 8012, 0), RuntimeError);
}

using OffsetCalibration = MonitorRig;

struct Stored {
    float ch1offv;
    std::int16_t ch1offmv, ch2offv, ch2offmv;
    bool operator==(const Stored&) const = default;
};
Stored stored(const Calibration& c) {
    return {c.ch1offv, c.ch1offmv, c.ch2offv, c.ch2offmv};
}

TEST_F(OffsetCalibration, AnInputOffsetIsCancelledAndKeptForItsRangeGroup) {
    struct Row {
        const char *mode, *offsets, *ch1vdiv, *ch2vdiv;
        std::array<int, 4> changed;  // 1 where ch1offv, ch1offmv, ch2offv, ch2offmv change
    };
    const Row rows[] = {
        {"Scope CH1", "offset CH1 120", "1V", "1V", {1, 0, 0, 0}},
        {"Scope CH1", "offset CH1 -200", "0.2V", "1V", {1, 0, 0, 0}},
        {"Scope CH1", "offset CH1 30", "20mV", "1V", {0, 1, 0, 0}},
        {"Scope CH2", "offset CH2 -100", "1V", "1V", {0, 0, 1, 0}},
        {"Scope CH2", "offset CH2 30", "1V", "20mV", {0, 0, 0, 1}},
        {"Scope CH1+CH2", "offset CH1 120|offset CH2 -80", "1V", "0.5V", {1, 0, 1, 0}},
    };
    instruct("wire CH1 off");
    instruct("wire CH2 off");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + " " + row.offsets);
        instruct("offset CH1 0");
        instruct("offset CH2 0");
        std::istringstream offsets(row.offsets);
        for (std::string o; std::getline(offsets, o, '|');) {
            instruct(o);
        }
        set(std::string("selmonmode=") + row.mode + "|ch1vdiv=" + row.ch1vdiv +
            "|ch2vdiv=" + row.ch2vdiv);
        runScope(row.mode, 2);
        const Stored before = stored(rig.s().cal);
        click("Command2_Click");
        const Stored after = stored(rig.s().cal);
        EXPECT_EQ((std::array<int, 4>{
                      after.ch1offv != before.ch1offv, after.ch1offmv != before.ch1offmv,
                      after.ch2offv != before.ch2offv, after.ch2offmv != before.ch2offmv}),
                  row.changed);

        // The traces sit on their positions again, and a second calibration finds nothing
        // more to correct. (The offset command's flush took the status of the record armed
        // before it: the first tick waits for the next one.)
        const std::string mode = row.mode;
        tick();
        const std::size_t from = mark();
        tick();
        if (mode != "Scope CH2") {
            EXPECT_NEAR(shape(from, kRed).mean, 512 - mon().ch1pos, 1.5);
        }
        if (mode != "Scope CH1") {
            EXPECT_NEAR(shape(from, kYellow).mean, 512 - mon().ch2pos, 1.5);
        }
        const std::size_t again = mark();
        click("Command2_Click");
        EXPECT_TRUE(framesOf(again, 31).empty()) << "corrected again";
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(OffsetCalibration, AChannelTheRecordDoesNotCarryIsLeftAlone) {
    instruct("wire CH1 off");
    instruct("wire CH2 off");
    instruct("offset CH2 -80");
    runScope("Scope CH1+CH2", 2);
    click("Command2_Click");
    const std::int16_t ch2 = rig.s().cal.ch2offv;
    // CH2 is now right. A calibration with CH1 alone must not move it again.
    instruct("offset CH1 100");
    runScope("Scope CH1", 2);
    const std::size_t from = mark();
    click("Command2_Click");
    const std::vector<Frame> dac = framesOf(from, 31);
    ASSERT_EQ(dac.size(), 1u);
    EXPECT_EQ(dac[0][3], 8);  // CH1's offset DAC only
    EXPECT_EQ(rig.s().cal.ch2offv, ch2);
}

TEST_F(OffsetCalibration, ATraceOnTheBottomEdgeIsNotCorrected) {
    instruct("wire CH1 off");
    instruct("offset CH1 -6000");  // far below the plot: every sample is code 0
    runScope("Scope CH1", 2);
    const float before = rig.s().cal.ch1offv;
    const std::size_t from = mark();
    click("Command2_Click");
    EXPECT_TRUE(framesOf(from, 31).empty());
    EXPECT_EQ(mon().scopeavg1, 0);
    EXPECT_FLOAT_EQ(rig.s().cal.ch1offv, before);
}

// A calibration that fails (a refused set-up, a record that does not come whole, a refused
// offset command) says why and keeps the calibration it found; one that works while the scope
// is stopped leaves the status saying so.
TEST_F(OffsetCalibration, AFailureSaysWhyAndKeepsThePreviousCalibration) {
    // Where the offset command comes in a calibration.
    int dac = 0;
    {
        Rig dry;
        ASSERT_TRUE(dry.start());
        tunx::test::instruct(dry, "offset CH1 120");
        chooseAll(dry, "selmonmode=Scope CH1");
        Form1& w = dry.program.monitor();
        dry.program.dispatch(w, "cmdstartsweep_Click");
        dry.program.tick();
        dry.program.tick();
        dry.program.dispatch(w, "cmdstop_Click");
        const std::size_t from = dry.mark();
        dry.program.dispatch(w, "Command2_Click");
        const std::vector<Frame> sent = dry.frames(from);
        dac = static_cast<int>(
            std::find_if(sent.begin(), sent.end(), [](const Frame& f) { return f[0] == 31; }) -
            sent.begin());
        ASSERT_LT(dac, static_cast<int>(sent.size()));
    }
    const auto failed = [](const std::string& why) {
        return "Cal. Offset failed: " + why + ". The calibration was not changed.";
    };
    struct Row {
        const char* what;
        std::function<void(Rig&)> fault;
        std::vector<std::string> messages;
        const char* status;
    };
    const Row rows[] = {
        {"a refused set-up",
         [](Rig& r) { r.sim.nakNext(3); },
         {"_Relay_ON_CommError", "Error Sending Data.", "Error setting scope",
          failed("the scope could not be set up")},
         "TUNX ERROR"},
        {"a record cut short",
         [](Rig& r) { r.sim.cutNextRecord(10); },
         {failed("no whole record came from the scope")},
         "TUNX ERROR"},
        {"a refused offset command",
         [dac](Rig& r) { r.sim.nakNext(3, dac); },
         {"_Relay_ON_CommError", "Error Sending Data.",
          failed("the instrument did not take the new offset")},
         "TUNX ERROR"},
        {"none", [](Rig&) {}, {}, "Stopped"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Rig r;
        ASSERT_TRUE(r.start());
        tunx::test::instruct(r, "offset CH1 120");
        chooseAll(r, "selmonmode=Scope CH1");
        Form1& w = r.program.monitor();
        r.program.dispatch(w, "cmdstartsweep_Click");
        r.program.tick();
        r.program.tick();
        r.program.dispatch(w, "cmdstop_Click");
        const Stored kept = stored(r.s().cal);
        const std::int16_t working = r.s().mon.ch1offcal;
        row.fault(r);
        r.program.dispatch(w, "Command2_Click");
        EXPECT_EQ(r.messages(), row.messages);
        EXPECT_EQ(stored(r.s().cal) == kept, !row.messages.empty());
        EXPECT_EQ(r.s().mon.ch1offcal == working, !row.messages.empty());
        EXPECT_EQ(w.textstatus->text, row.status);
    }
}

}  // namespace
}  // namespace tunx::test
