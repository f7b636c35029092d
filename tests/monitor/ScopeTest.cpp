// The oscilloscope judged physically on the virtual instrument: a known signal in, the
// expected picture out; and the read-out's answers to a record that does not come whole.
#include <algorithm>
#include <cmath>

#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

constexpr const char* kRed = "255";
constexpr const char* kYellow = "65535";

struct Shape {
    int lowest = 0, highest = 0;  // rows
    double period = 0;            // columns between upward crossings of the middle row
};

// The shape of a drawn trace: its row span and the mean spacing of its rising crossings.
Shape shapeOf(const std::vector<std::pair<int, int>>& points) {
    Shape s;
    if (points.empty()) {
        return s;
    }
    s.lowest = s.highest = points.front().second;
    for (const auto& [c, r] : points) {
        s.lowest = std::min(s.lowest, r);
        s.highest = std::max(s.highest, r);
    }
    const double middle = (s.lowest + s.highest) / 2.0;
    std::vector<int> rising;
    for (std::size_t i = 1; i < points.size(); ++i) {
        // Rows grow downwards: a rising signal goes from below the middle row to above it.
        if (points[i - 1].second > middle && points[i].second <= middle) {
            rising.push_back(points[i].first);
        }
    }
    if (rising.size() >= 2) {
        s.period = double(rising.back() - rising.front()) / double(rising.size() - 1);
    }
    return s;
}

using Scope = MonitorRig;

TEST_F(Scope, AOneKilohertzFourVoltSineIsFourDivisionsTallWithAPeriodPerDivision) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 2);
    const std::size_t from = mark();
    tick();
    const Shape s = shapeOf(trace(from, kRed));
    EXPECT_NEAR(s.highest - s.lowest, 4 * 64, 6);
    EXPECT_NEAR((s.highest + s.lowest) / 2.0, 512 - 256, 4);  // centred on the CH1 position
    EXPECT_NEAR(s.period, 64, 1);
    EXPECT_EQ(m().textstatus->text, "Running");
}

TEST_F(Scope, AnInputOffsetMovesTheTraceUp) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 2);
    std::size_t from = mark();
    tick();
    const Shape before = shapeOf(trace(from, kRed));
    instruct("offset CH1 250");
    from = mark();
    tick();
    const Shape after = shapeOf(trace(from, kRed));
    // 250 mV at 1 V/div is a quarter of 64 rows.
    EXPECT_NEAR((before.lowest + before.highest) / 2.0 - (after.lowest + after.highest) / 2.0, 16,
                2);
}

TEST_F(Scope, UndersamplingShowsTwentyMegahertzWithAPeriodEveryFiveDivisions) {
    generatorSine("20", "MHz", "2");
    choose(m().selmonmode, "Scope CH1");
    choose(m().scopemode, "Undersampling");
    choose(m().seltimediv, "10ns/div");
    EXPECT_EQ(m().tdivtext->text, "10ns");
    click("cmdstartsweep_Click");
    tick(2);
    const std::size_t from = mark();
    tick();
    EXPECT_NEAR(shapeOf(trace(from, kRed)).period, 5 * 64, 3);
}

TEST_F(Scope, BothChannelsAreDrawnCh1FirstEachAtItsPosition) {
    generatorSine("1", "kHz", "2");
    runScope("Scope CH1+CH2", 2);
    const std::size_t from = mark();
    tick();
    const Shape ch1 = shapeOf(trace(from, kRed));
    const Shape ch2 = shapeOf(trace(from, kYellow));
    EXPECT_NEAR((ch1.lowest + ch1.highest) / 2.0, 512 - 256, 4);
    EXPECT_NEAR((ch2.lowest + ch2.highest) / 2.0, 512 - 128, 4);
    EXPECT_NEAR(ch2.highest - ch2.lowest, 2 * 64, 6);
    const auto lines = drawn(from);
    const auto firstRed =
        std::find_if(lines.begin(), lines.end(), [](const Drawn& d) { return d.colour == kRed; });
    const auto firstYellow = std::find_if(lines.begin(), lines.end(),
                                          [](const Drawn& d) { return d.colour == kYellow; });
    EXPECT_LT(firstRed, firstYellow);
}

TEST_F(Scope, ARecordThatArrivesShortIsNoRecord) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 2);
    instruct("cut 10");
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(m().textstatus->text, "Waiting for Trigger");
    EXPECT_TRUE(trace(from, kRed).empty());  // stale bytes are never drawn
    ASSERT_FALSE(frames(from).empty());
    EXPECT_EQ(frames(from).back()[0], 36);  // re-armed
    const std::size_t next = mark();
    tick();
    EXPECT_EQ(m().textstatus->text, "Running");
    EXPECT_FALSE(trace(next, kRed).empty());
}

TEST_F(Scope, NormalTriggerWithoutACrossingWaitsAndRearms) {
    instruct("wire CH1 off");
    choose(m().trigmode, "Normal");
    runScope("Scope CH1", 1);
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(m().textstatus->text, "Waiting for Trigger");
    EXPECT_TRUE(trace(from, kRed).empty());
    EXPECT_EQ(mon().monstate, "scope");
}

TEST_F(Scope, SingleStopsAfterOneWholeRecord) {
    generatorSine("1", "kHz", "4");
    choose(m().trigmode, "Single");
    runScope("Scope CH1", 2);
    EXPECT_EQ(mon().monstate, "stoped");
    EXPECT_EQ(m().textstatus->text, "Stopped");
}

TEST_F(Scope, AFailedRearmStopsTheScopeWithItsMessageAndTheNextTickShowsTheError) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 2);
    rig.sim.nakNext(3, 1);  // the record request passes, the re-arm is refused
    tick();
    EXPECT_EQ(mon().monstate, "idle");
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back(), "Error Displaying scope");
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
}

TEST_F(Scope, AnInstrumentThatStopsAnsweringLeavesTheScopeWaiting) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 2);
    rig.sim.muteNext(100);
    tick();
    EXPECT_EQ(m().textstatus->text, "Waiting for Trigger");
    tick();  // the re-arm was lost too: the monitor shows the error on the next tick
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
}

TEST_F(Scope, TheRollingDisplayDrawsWhatStreamsAndAdvancesItsColumn) {
    generatorSine("1", "Hz", "4");
    choose(m().seltimediv, "200ms/div");
    runScope("Scope CH1", 1);
    ASSERT_TRUE(mon().vslowtb);
    EXPECT_EQ(frames(0).back()[5], 2 + 128);  // streaming record set-up
    const int before = mon().rolling.column;
    const std::size_t from = mark();
    tick();
    const int added = mon().rolling.column - before;
    EXPECT_GT(added, 0);
    EXPECT_LE(added, 50);  // 100 bytes at most, one CH1 byte in each pair
    EXPECT_EQ(static_cast<int>(trace(from, kRed).size()),
              std::max(0, mon().rolling.column - std::max(before, 4)));
}

}  // namespace
}  // namespace tunx::test
