#include "dds/Ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "dds/Failure.h"
#include "dds/RateTable.h"
#include "dds/StepClock.h"
#include "dds/Units.h"
#include "dds/WaveRam.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kMsgRampError = "Rampup error";
constexpr const char* kMsgOutOfRange =
    "Frequency out of range!, Valid range in rumpup mode is 0.1Hz to 200kHz";

constexpr const char* kLabelControl1 = "Set_Rump_CFR1_";
constexpr const char* kLabelMultipliers = "Set_Rump_CMD23_";

constexpr double kMinFrequency = 0.1;
constexpr double kMaxFrequency = 200000;
// Between these frequencies 1000 words per period give a step rate the table covers directly;
// outside them the rate is raised to about 30 MHz and the multiplier K slows the RAM down.
constexpr double kDirectLow = 15000;
constexpr double kDirectHigh = 100000;
constexpr double kTargetRate = 30'000'000;
// Below 1 Hz the RAM runs from a fixed 4 MHz step rate without clock multiplication.
constexpr double kSlowBelow = 1;
constexpr double kSlowRate = 4'000'000;
constexpr int kSlowMultiplier = 1;

constexpr int kWords = 1000;
constexpr int kTrianglePeak = 501;  // the triangle rises up to this word, then falls
constexpr double kLowLevelMv = 1000;
constexpr double kZLimit = 0.9999999999;
constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kPhaseStepsPerDegree = 45.511111;
constexpr double kQuarterTurn = 4096;

// Control register 1 of the RAM playback.
constexpr Command kControl1{code::kCfr1, 194, 0, 2, 0, 0};

struct RampClock {
    int multiplier = 0;
    RateSetting setting;
    double produced = 0;  // B x M / 4: the step rate the device makes, Hz
};

RampClock rampClock(double f) {
    double rate = 0;
    if (f < kDirectLow || f > kDirectHigh) {
        const std::int32_t k0 = CLng(divide(kTargetRate, kWords * f));
        rate = CLng(kWords * f * k0);
    } else {
        rate = CLng(kWords * f);
    }
    RampClock c;
    c.multiplier = clockMultiplier(rate);
    if (f < kSlowBelow) {
        c.multiplier = kSlowMultiplier;
        rate = kSlowRate;
    }
    // No row of the table holds the rate when it is 0: the division below then fails.
    c.setting = rateSetting(rate, c.multiplier);
    c.produced = c.setting.reference * c.multiplier / 4;
    return c;
}

// The levels of one period in millivolts, one per RAM word.
std::vector<double> levels(double fullScale, bool triangle, bool inverted) {
    std::vector<double> v;
    v.reserve(kWords);
    if (triangle) {
        const double step = 2 * (fullScale - kLowLevelMv) / kWords;
        for (int i = 1; i <= kWords; ++i) {
            const int n = i <= kTrianglePeak ? i : 2 * kTrianglePeak - i;
            v.push_back(kLowLevelMv + n * step);
        }
    } else if (inverted) {
        const double top = fullScale - 1;
        const double step = top / kWords;
        for (int i = 0; i < kWords; ++i) {
            v.push_back(top - i * step);
        }
    } else {
        const double step = (fullScale - kLowLevelMv) / kWords;
        for (int i = 0; i < kWords; ++i) {
            v.push_back(kLowLevelMv + i * step);
        }
    }
    return v;
}

// The phase word whose cosine gives level v: the arcsine of the level's distance from
// mid-scale, a quarter turn down. The triangle's peaks reach full scale, so its z is kept
// inside the arcsine's domain on both sides.
std::int16_t levelWord(double v, double fullScale, bool limited) {
    const double half = fullScale / 2;
    double z = divide(half - v, half);
    if (limited) {
        z = std::clamp(z, -kZLimit, kZLimit);
    }
    const double angle = std::atan(divide(z, std::sqrt(1 - z * z))) * kDegreesPerRadian;
    return CInt(4 * (angle * kPhaseStepsPerDegree - kQuarterTurn));
}

// Computes every word before any is sent, so that an arithmetic fault never leaves the
// device waiting in the middle of a RAM block.
std::vector<std::int16_t> shapeWords(double fullScale, bool triangle, bool inverted) {
    std::vector<std::int16_t> words;
    words.reserve(kWords);
    for (double v : levels(fullScale, triangle, inverted)) {
        words.push_back(levelWord(v, fullScale, triangle));
    }
    return words;
}

bool writeShape(Link& link, const std::vector<std::int16_t>& words) {
    if (!ramwrinit(link, 0, kWords)) {
        return false;
    }
    for (std::int16_t w : words) {
        writeram16(link, w);
    }
    return true;
}

// The step clock, in the ramp's own order: the clock setting goes every time, lmainclk shows
// the rate only once the setting was taken, and clklabel takes it only once control register 2
// was taken. sendStepClock shows the label first and keeps it as soon as the setting is taken,
// which would leave other texts behind when a command fails.
bool sendRampClock(frmMainControls& panel, Link& link, const RampClock& clock) {
    GeneratorState& g = link.state().gen;
    if (!link.send(stepClockSetting(clock.setting.setting), kLabelClockSetting)) {
        return false;
    }
    link.clock().Sleep(kClockSettingPauseMs);
    const std::string label = stepClockLabel(clock.produced, link.state().host.groupSeparator);
    panel.lmainclk->text = label;
    const bool changed = label != g.clklabel;
    if (!link.send(stepClockRegister(changed ? code::kClock20MHz : code::kCfr2, clock.multiplier),
                   kLabelStepClockRegister, kCfr2TimeoutMs)) {
        return false;
    }
    if (changed) {
        g.clklabel = label;
    }
    link.clock().Sleep(kStepClockPauseMs);
    panel.lmainclk->text = label;
    return true;
}

bool programRamp(frmMainControls& panel, Link& link) {
    SharedState& s = link.state();
    if (!sendRamOutputPath(link)) {
        return false;
    }
    const double perUnit = hzPerUnit(panel.frequnit->text);
    const double f = CDbl(panel.Frek->text) * perUnit;
    if (f > kMaxFrequency || f < kMinFrequency) {
        link.ui().MsgBox(kMsgOutOfRange);
        return false;
    }

    const RampClock clock = rampClock(f);
    if (!sendRampClock(panel, link, clock)) {
        return false;
    }

    // Periods per second at one step per word; K whole steps per word give the nearest match.
    const double x = clock.produced / kWords;
    const std::int32_t k = unsigned16(divide(x, f));
    panel.Frek->text = formatGeneral(divide(x, k) / perUnit);

    if (!link.send(kControl1, kLabelControl1)) {
        return false;
    }
    const auto words = shapeWords(s.cal.ampfullscale, s.gen.triangle, ticked(*panel.invert));
    if (!writeShape(link, words)) {
        return false;
    }
    if (!link.rxver(kLabelRamAck)) {
        return false;
    }
    const BytePair kb = lowBytes(k);
    const BytePair m2 = split16(CDbl(panel.multi2->text));
    return link.send({code::kMultipliers, kb.high, kb.low, m2.high, m2.low, 0}, kLabelMultipliers);
}

}  // namespace

void SetRampUp(frmMainControls& panel, Link& link) {
    runOrFail(link, kMsgRampError, [&] { return programRamp(panel, link); });
}

}  // namespace tunx
