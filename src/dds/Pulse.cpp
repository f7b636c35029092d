// "Pulse Generator": a two-level RAM pattern whose step count sets the pulse and pause times.
#include "dds/Pulse.h"

#include <string>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "common/RuntimeError.h"
#include "dds/PulseCommands.h"
#include "dds/RateTable.h"
#include "dds/StepClock.h"
#include "dds/Units.h"
#include "dds/WaveRam.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kMsgPulseError = "Set Pulse Error!";
constexpr const char* kMsgPauseTooShort = "Pause must be longer than Pulse! Use Invert Chek box";
constexpr const char* kMsgPulseRange = "Pulse is out of Range";
constexpr const char* kMsgPauseRange = "Puase is out of Range";
constexpr const char* kLabelProfile1 = "Set_Pulse_CMD21_";
constexpr const char* kLabelProfile2 = "Set_Pulse_CMD22_";
constexpr const char* kLabelLongMultipliers = "Set_Pulse_CMD23_";

// Control register 1 of the long pattern: pause and pulse profiles played in turn.
constexpr Command kLongCfr1{code::kCfr1, 226, 0, 2, 0, 0};

constexpr double kNsPerSecond = 1e9;
constexpr double kSecondsPerNs = 1e-9;
constexpr double kRateFill = 50'000'000;  // short pulses are stretched towards this step rate
constexpr double kMinTableRate = 1001;
constexpr double kSlowRate = 4'000'000;  // step rate of long pulses, at multiplier 1
constexpr int kSlowMultiplier = 1;
constexpr double kSettingUnitHz = 5000;
constexpr std::int32_t kStepUnitLimit = 65001;  // pulses of more steps are written step by step
constexpr double kReducedWords = 500;
constexpr double kMaxReduction = 65536;
constexpr std::int32_t kMaxMultiplier = 65635;
constexpr int kShortPatternPauseMs = 1000;
constexpr int kLongPatternPauseMs = 10;

enum class Outcome { Done, Failed, OutOfRange };

// Nanoseconds per unit of a time field; any other unit text counts as nanoseconds.
double nsPerUnit(const std::string& unit) {
    if (unit == unit::kUs) {
        return 1e3;
    }
    if (unit == unit::kMs) {
        return 1e6;
    }
    return 1;
}

// Rewrites a time field with `seconds` in its own unit, three decimals.
void showTime(Ctl field, Ctl unitField, double seconds) {
    const double ns = seconds * kNsPerSecond;
    field->text = formatFixed(divide(ns, nsPerUnit(unitField->text)), 3);
}

// A step count as a word count and a step multiplier: divided by 1, 2, 3, ... until fewer
// than 500 words remain or the multiplier has passed 16 bits.
struct Reduced {
    std::int32_t words = 0;
    std::int32_t multiplier = 1;
};
Reduced reduce(std::int32_t count) {
    double x = count;
    double m = 1;
    int i = 1;
    do {
        x = x / i;
        m = m * i;
        ++i;
    } while (!(x < kReducedWords || m >= kMaxReduction));
    return {CLng(x), CLng(m)};
}

struct Levels {
    int pulse = kLevelLow;
    int pause = kLevelHigh;
};
Levels swapped(Levels l, bool swap) {
    return swap ? Levels{l.pause, l.pulse} : l;
}

struct Timing {
    double pulseNs = 0;
    int multiplier = 0;
    std::int32_t p = 0;  // pulse steps
    std::int32_t q = 0;  // pause steps
    std::int32_t k = 1;  // steps per word: the pulse when the pause is a multiple of it
};

// Up to 1023 words: one word per step unit K, played from profile 0 with multiplier K.
Outcome shortPattern(Link& link, const Timing& t, bool single, bool invert) {
    const std::int32_t k = t.k;
    const Levels levels =
        swapped(single ? Levels{kLevelHigh, kLevelLow} : Levels{kLevelLow, kLevelHigh}, invert);
    if (!writeLevelPattern(link, {{levels.pulse, t.p / k}, {levels.pause, t.q / k}})) {
        return Outcome::Failed;
    }
    link.clock().Sleep(kShortPatternPauseMs);
    const BytePair kb = split16(k);
    if (!link.send({code::kMultipliers, kb.high, kb.low, kb.high, kb.low, 0},
                   kLabelPulseMultipliers)) {
        return Outcome::Failed;
    }
    if (!link.send(kPulseCfr1, kLabelPulseCfr1)) {
        return Outcome::Failed;
    }
    if (single && !link.send(kPulseStart, kLabelPulseStart)) {
        return Outcome::Failed;
    }
    return Outcome::Done;
}

// 1024 steps and more: the pause in profile 1 and the pulse in profile 2, each as fewer than
// 500 words with its own step multiplier; the step clock is re-tuned to the pulse's words.
Outcome longPattern(frmMainControls& panel, Link& link, const Timing& t, bool invert) {
    const Reduced pulse = reduce(t.p);
    const Reduced pause = reduce(t.q);
    if (pulse.multiplier > kMaxMultiplier) {
        link.ui().MsgBox(kMsgPulseRange);
        return Outcome::OutOfRange;
    }
    if (pause.multiplier > kMaxMultiplier) {
        link.ui().MsgBox(kMsgPauseRange);
        return Outcome::OutOfRange;
    }
    const double quarterM = t.multiplier / 4.0;
    const std::int32_t reference = CLng(
        divide(static_cast<double>(pulse.words) * pulse.multiplier, t.pulseNs * kSecondsPerNs) *
        4.0 / t.multiplier);
    const std::int16_t setting = CInt(reference / kSettingUnitHz);
    const std::int32_t actual = CLng(setting * kSettingUnitHz * quarterM);
    showTime(panel.Pulse, panel.PulseUnit,
             divide(static_cast<double>(pulse.words) * pulse.multiplier, actual));
    if (!sendStepClock(panel, link, {t.multiplier, setting, reference * quarterM},
                       SettingSend::OnLabelChange, RegisterCode::Cfr2Or24OnLabelChange)) {
        return Outcome::Failed;
    }
    const Levels levels = swapped(Levels{kLevelHigh, kLevelLow}, invert);
    if (!writeLevelPattern(link, {{levels.pulse, pulse.words}, {levels.pause, pause.words}})) {
        return Outcome::Failed;
    }
    link.clock().Sleep(kLongPatternPauseMs);
    // A one-word pulse is played as two words: profile 1 gives up its last pause word.
    const bool oneWord = pulse.words == 1;
    const BytePair p1 = split16(oneWord ? pause.words - 1 : pause.words);
    const BytePair one = split16(1);
    if (!link.send({code::kProfile1, p1.high, p1.low, one.high, one.low, 0}, kLabelProfile1)) {
        return Outcome::Failed;
    }
    const BytePair p2 = split16(oneWord ? 2 : pulse.words);
    const BytePair a2 = split16(oneWord ? pause.words : pause.words + 1);
    if (!link.send({code::kProfile2, p2.high, p2.low, a2.high, a2.low, 0}, kLabelProfile2)) {
        return Outcome::Failed;
    }
    const BytePair mq = split16(pause.multiplier);
    const BytePair mp = split16(pulse.multiplier);
    if (!link.send({code::kMultipliers, mq.high, mq.low, mp.high, mp.low, 0},
                   kLabelLongMultipliers)) {
        return Outcome::Failed;
    }
    return link.send(kLongCfr1, kLabelPulseCfr1) ? Outcome::Done : Outcome::Failed;
}

Outcome programPulse(frmMainControls& panel, Link& link) {
    if (!sendRamOutputPath(link)) {
        return Outcome::Failed;
    }
    const bool single = panel.outmode->text == kPlaySingle;
    const double pulseNs = CDbl(panel.Pulse->text) * nsPerUnit(panel.PulseUnit->text);
    const double pauseNs =
        single ? pulseNs : CDbl(panel.Pause->text) * nsPerUnit(panel.PauseUnit->text);
    if (pulseNs > pauseNs) {
        link.ui().MsgBox(kMsgPauseTooShort);
        return Outcome::Failed;
    }
    if (!(pulseNs > 0)) {
        return Outcome::Failed;  // no pattern has a pulse of no length
    }
    if (!link.send(kPulseCfr1, kLabelPulseCfr1)) {
        return Outcome::Failed;
    }

    Timing t;
    t.pulseNs = pulseNs;
    double rate = CLng(divide(1.0, pulseNs * kSecondsPerNs));
    if (rate >= kMinTableRate && rate < kRateFill) {
        rate = CLng(rate * roundHalfEven(kRateFill / rate));
    }
    if (rate < kMinTableRate) {
        t.multiplier = kSlowMultiplier;
        rate = kSlowRate;
    } else {
        t.multiplier = clockMultiplier(rate);  // 0 above 100 MHz: the division below fails
    }
    const RateSetting rs = rateSetting(rate, t.multiplier);
    const double tau = divide(1.0, rs.reference / 4.0 * t.multiplier);  // seconds per step
    t.p = CLng(divide(pulseNs, tau * kNsPerSecond));
    t.q = CLng(divide(pauseNs, tau * kNsPerSecond));
    if (t.p < 1) {
        throw RuntimeError(kDivisionByZero);  // the pause cannot be counted in pulses
    }
    const std::int32_t actual = CLng(rs.setting * kSettingUnitHz * t.multiplier / 4.0);
    showTime(panel.Pulse, panel.PulseUnit, divide(t.p, actual));
    showTime(panel.Pause, panel.PauseUnit, t.q * tau);

    if (!sendStepClock(panel, link, {t.multiplier, rs.setting, rs.reference * t.multiplier / 4.0},
                       SettingSend::OnLabelChange, RegisterCode::Cfr2)) {
        return Outcome::Failed;
    }
    const bool invert = ticked(*panel.invert);
    t.k = (t.p < kStepUnitLimit && t.q % t.p == 0) ? t.p : 1;
    const std::int32_t words = CLng((static_cast<double>(t.p) + t.q) / t.k);
    return words < kRamWords ? shortPattern(link, t, single, invert)
                             : longPattern(panel, link, t, invert);
}

}  // namespace

void SetPulse(frmMainControls& panel, Link& link) {
    Outcome outcome = Outcome::Failed;
    try {
        outcome = programPulse(panel, link);
    } catch (const RuntimeError&) {
        outcome = Outcome::Failed;
    }
    if (outcome == Outcome::Failed) {
        link.ui().MsgBox(kMsgPulseError);
    }
    // Out of range has shown its own message; it is a failure all the same, so the refresh
    // must not report the output as running.
    if (outcome != Outcome::Done) {
        link.state().gen.sgerror = true;
    }
}

}  // namespace tunx
