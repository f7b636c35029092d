#include "monitor/sweep/SweepProgress.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/sweep/SweepLevel.h"

namespace tunx {

namespace {

constexpr int kPoints = 639;
constexpr const char* kPointsText = " points";
constexpr const char* kLeftText = " s left";
constexpr double kMsPerSecond = 1000;

// "120 / 639 points, 9 s left", from the time the points so far took.
std::string progressText(int done, long long elapsedMs) {
    std::string text = std::to_string(done) + " / " + std::to_string(kPoints) + kPointsText;
    if (done > 0 && done < kPoints) {
        const double left = double(elapsedMs) / done * (kPoints - done) / kMsPerSecond;
        text += ", " + formatFixed(std::ceil(left), 0) + kLeftText;
    }
    return text;
}

}  // namespace

void startKeeping(Form1& w, bool amplitudeSweep) {
    KeptMeasurements& kept = w.mon().kept;
    kept.sweep.clear();
    kept.amplitudeSweep = amplitudeSweep;
    kept.amplitudeUnit = w.combstarta->text;
    const DisplayScale* scale = findDisplayScale(w.selrfrange->text);
    kept.levelUnit = scale != nullptr ? std::string(scale->unit) : w.selrfrange->text;
    kept.sweepStartMs = w.clock().elapsedMs();
    w.sweepprogress->value = 0;
    w.sweepprogress->text = progressText(0, 0);
}

void keepPoint(Form1& w, double at, double level) {
    KeptMeasurements& kept = w.mon().kept;
    kept.sweep.push_back({at, level});
    const int done = std::min(static_cast<int>(kept.sweep.size()), kPoints);
    w.sweepprogress->value = done;
    w.sweepprogress->text = progressText(done, w.clock().elapsedMs() - kept.sweepStartMs);
}

void showProgressIn(Form1& w, bool sweepMode) {
    w.sweepprogress->visible = sweepMode;
}

}  // namespace tunx
