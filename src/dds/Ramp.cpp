#include "dds/Ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/Hex.h"
#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "dds/RateTable.h"
#include "dds/WaveRam.h"
#include "link/Relay.h"

namespace tunx {

namespace {

constexpr const char* kMsgRampError = "Rampup error";
constexpr const char* kMsgOutOfRange =
    "Frequency out of range!, Valid range in rumpup mode is 0.1Hz to 200kHz";

constexpr const char* kLabelOutputPath = "Set Frequency Sine2_";
constexpr const char* kLabelClockSetting = "SetFreq_Square_Wave_";
constexpr const char* kLabelClockControl = "Set_Pulse_CFR2";
constexpr const char* kLabelControl1 = "Set_Rump_CFR1_";
constexpr const char* kLabelRamAck = "Ram Write_";
constexpr const char* kLabelMultipliers = "Set_Rump_CMD23_";
constexpr const char* kRateUnit = "Hz";
constexpr const char* kUnitKilo = "kHz";
constexpr const char* kUnitMega = "MHz";

constexpr std::int32_t kClockControlTimeoutMs = 2000;
constexpr int kClockSettleMs = 300;
constexpr int kControlSettleMs = 100;
constexpr std::int32_t kRamAckTimeoutMs = 1000;

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
constexpr std::int32_t kMax16 = 65535;

// Control register 1 of the RAM playback.
constexpr Command kControl1{code::kCfr1, 194, 0, 2, 0, 0};

// Bits 15-8 and 7-0 of a value, as ltotx splits it.
std::pair<int, int> lowBytes(std::int32_t value) {
    const auto b = ltotx(value);
    return {CInt(std::stod(b[2])), CInt(std::stod(b[3]))};
}

// A multiplier the device takes in two bytes; anything else is an overflow.
std::int32_t unsigned16(double value) {
    const std::int32_t v = CLng(value);
    if (v < 0 || v > kMax16) {
        throw RuntimeError(kOverflow);
    }
    return v;
}

double unitFactor(const std::string& unit) {
    if (unit == kUnitKilo) {
        return 1000;
    }
    if (unit == kUnitMega) {
        return 1'000'000;
    }
    return 1;
}

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
    auto& cmd = link.state().link.cmd;
    for (std::int16_t w : words) {
        const auto [hi, lo] = lowBytes(w);
        cmd[1] = static_cast<std::int16_t>(hi);
        cmd[2] = static_cast<std::int16_t>(lo);
        // Bytes 3-4 keep the start address of the RAM write command.
        if (!writeram(link)) {
            return false;
        }
    }
    return true;
}

bool programRamp(Window& panel, Link& link) {
    SharedState& s = link.state();
    if (!link.send(switchCommand(line::kSquare2Path, false), kLabelOutputPath)) {
        return false;
    }
    const std::string unit = panel["frequnit"].text;
    const double f = CDbl(panel["Frek"].text) * unitFactor(unit);
    if (f > kMaxFrequency || f < kMinFrequency) {
        link.ui().MsgBox(kMsgOutOfRange);
        return false;
    }

    const RampClock clock = rampClock(f);
    const auto [settingHi, settingLo] = lowBytes(clock.setting.setting);
    if (!link.send({code::kClockSetting, settingHi, settingLo, 1, 0, 0}, kLabelClockSetting)) {
        return false;
    }
    link.clock().Sleep(kClockSettleMs);
    const std::string clockText =
        formatGrouped(clock.produced, 0, s.host.groupSeparator) + kRateUnit;
    panel["lmainclk"].text = clockText;
    const bool clockChange = clockText != s.gen.clklabel;
    const int controlCode = clockChange ? code::kClock20MHz : code::kCfr2;
    if (!link.send({controlCode, 0, 2, cfr2MultiplierByte(clock.multiplier), 0, 0},
                   kLabelClockControl, kClockControlTimeoutMs)) {
        return false;
    }
    if (clockChange) {
        s.gen.clklabel = clockText;
    }
    link.clock().Sleep(kControlSettleMs);
    panel["lmainclk"].text = clockText;

    // Periods per second at one step per word; K whole steps per word give the nearest match.
    const double x = clock.produced / kWords;
    const std::int32_t k = unsigned16(divide(x, f));
    panel["Frek"].text = formatGeneral(divide(x, k) / unitFactor(unit));

    if (!link.send(kControl1, kLabelControl1)) {
        return false;
    }
    const auto words = shapeWords(s.cal.ampfullscale, s.gen.triangle, panel["invert"].value == 1);
    if (!writeShape(link, words)) {
        return false;
    }
    if (!link.rxver(1, kRamAckTimeoutMs, kLabelRamAck)) {
        return false;
    }
    const auto [kHi, kLo] = lowBytes(k);
    const auto [m2Hi, m2Lo] = lowBytes(unsigned16(CDbl(panel["multi2"].text)));
    return link.send({code::kMultipliers, kHi, kLo, m2Hi, m2Lo, 0}, kLabelMultipliers);
}

}  // namespace

void SetRampUp(Window& panel, Link& link) {
    bool ok = false;
    try {
        ok = programRamp(panel, link);
    } catch (const RuntimeError&) {
        ok = false;
    }
    if (!ok) {
        link.ui().MsgBox(kMsgRampError);
        link.state().gen.sgerror = true;
    }
}

}  // namespace tunx
