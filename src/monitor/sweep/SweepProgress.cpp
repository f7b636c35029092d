#include "monitor/sweep/SweepProgress.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Plot.h"
#include "monitor/sweep/SweepLevel.h"

namespace tunx {

namespace {

constexpr int kPoints = 639;
constexpr const char* kPointsText = " points";
constexpr const char* kNotMeasuredOne = " point not measured";
constexpr const char* kNotMeasuredMany = " points not measured";
constexpr const char* kLeftText = " s left";
constexpr const char* kNotKnown = "\u2014";
constexpr double kMsPerSecond = 1000;

// The fast sweep's first column (the others' is kFirstSweepColumn), and the first column a line
// ends on.
constexpr int kFirstFastColumn = 33;  // the fast sweep's column 1, past the plot origin
constexpr int kFirstJoinedColumn = 36;

// "120 / 639 points, 2 points not measured, 9 s left", from the time the points so far took.
std::string progressText(int done, int missed, long long elapsedMs) {
    std::string text = std::to_string(done) + " / " + std::to_string(kPoints) + kPointsText;
    if (missed > 0) {
        text += ", " + std::to_string(missed) + (missed == 1 ? kNotMeasuredOne : kNotMeasuredMany);
    }
    if (done > 0 && done < kPoints) {
        const double left = double(elapsedMs) / done * (kPoints - done) / kMsPerSecond;
        text += ", " + formatFixed(std::ceil(left), 0) + kLeftText;
    }
    return text;
}

bool sweepOfMode(const KeptMeasurements& kept, const MonitorMode* mode) {
    return mode != nullptr && mode == monitorModeFor(kept.sweepKind);
}

}  // namespace

void startKeeping(Form1& w, SweepKind kind) {
    KeptMeasurements& kept = w.mon().kept;
    kept.sweep.clear();
    kept.sweepKind = kind;
    kept.amplitudeUnit = w.combstarta->text;
    kept.scale = w.selrfrange->text;
    kept.sweepStartMs = w.clock().elapsedMs();
    w.sweepprogress->value = 0;
    w.sweepprogress->text = progressText(0, 0, 0);
}

void keepPoint(Form1& w, double at, std::optional<float> dbv) {
    KeptMeasurements& kept = w.mon().kept;
    kept.sweep.push_back({at, dbv});
    const int done = std::min(static_cast<int>(kept.sweep.size()), kPoints);
    const auto missed =
        static_cast<int>(std::count_if(kept.sweep.begin(), kept.sweep.end(),
                                       [](const SweepSample& p) { return !p.dbv.has_value(); }));
    w.sweepprogress->value = done;
    w.sweepprogress->text = progressText(done, missed, w.clock().elapsedMs() - kept.sweepStartMs);
}

bool lastPointMeasured(Form1& w) {
    const auto& sweep = w.mon().kept.sweep;
    return !sweep.empty() && sweep.back().dbv.has_value();
}

void showProgressIn(Form1& w, bool sweepMode) {
    w.sweepprogress->visible = sweepMode;
}

void showKeptSweep(Form1& w) {
    MonitorState& m = w.mon();
    KeptMeasurements& kept = m.kept;
    const DisplayScale* scale = findDisplayScale(w.selrfrange->text);
    if (scale == nullptr || kept.sweep.empty() || !sweepOfMode(kept, chosenMode(w))) {
        return;
    }
    kept.scale = scale->text;
    const bool fast = kept.sweepKind == SweepKind::Fast;
    const int first = fast ? kFirstFastColumn : kFirstSweepColumn;
    const Colour colour = fast ? m.ch1colour : kSweepColour;
    const char group = w.state().host.groupSeparator;
    bool joined = false;  // the point before was measured
    std::int32_t previous = 0;
    std::optional<std::string> readout;
    for (std::size_t i = 0; i < kept.sweep.size(); ++i) {
        const int column = first + static_cast<int>(i);
        readout.reset();
        joined = joined && kept.sweep[i].dbv.has_value();
        if (!kept.sweep[i].dbv) {
            continue;
        }
        Level level = levelFromDbv(*kept.sweep[i].dbv);
        const SweepPoint p = sweepPoint(scale->text, level, group);
        if (joined && column >= kFirstJoinedColumn) {
            w.canvas().Line(column - 1, previous, column, p.row, colour, plot::kTraceWidth,
                            LineStyle::Solid);
        }
        joined = true;
        previous = p.row;
        readout = p.readout;
    }
    w.Textpower->text = readout.value_or(kNotKnown);
    if (readout) {
        m.sweepy = static_cast<std::int16_t>(previous);
        m.prevy = m.sweepy;
    }
}

}  // namespace tunx
