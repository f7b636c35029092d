// "Square-Wave": a symmetric two-level RAM pattern played at twice the frequency (or a
// multiple of it for low frequencies).
#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "dds/Failure.h"
#include "dds/Pulse.h"
#include "dds/PulseCommands.h"
#include "dds/RateTable.h"
#include "dds/StepClock.h"
#include "dds/Units.h"
#include "dds/WaveRam.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kMsgSquareError = "Error Calculating Square-Wave Frequency!";

// Control register 1 of the square wave.
constexpr Command kSquareCfr1{code::kCfr1, 194, 0, 2, 64, 0};

constexpr double kDirectLow = 7'500'000;  // from here to 50 MHz two words make one period
constexpr double kDirectHigh = 50'000'000;
constexpr double kTargetRate = 30'000'000;  // slower waves are stepped near this rate
constexpr std::int32_t kMaxStepMultiplier = 65534;
constexpr double kWordsPerMultiplierStep = 32000;
constexpr std::int32_t kMaxHalfWords = 511;
constexpr int kPatternPauseMs = 1000;

bool programSquare(frmMainControls& panel, Link& link) {
    if (!sendRamOutputPath(link)) {
        return false;
    }
    const double f = CDbl(panel.Frek->text) * hzPerUnit(panel.frequnit->text);
    link.state().gen.sgfreq = CLng(f);
    if (!(f > 0)) {
        return false;  // a square wave needs a period
    }

    std::int32_t k = 0;          // steps per word, sent with the multipliers command
    std::int32_t halfWords = 1;  // words of each level
    double rate = 0;
    if (f < kDirectLow || f > kDirectHigh) {
        k = CLng(divide(kTargetRate, 2 * f));
        rate = CLng(2 * f * k);
        if (k > kMaxStepMultiplier) {
            k += k % 2;
            std::int32_t m = CLng(k / kWordsPerMultiplierStep);
            k = CLng(divide(k, m));
            if (m > kMaxHalfWords) {
                m = CLng(m / 2.0);
                k = CLng(2.0 * k);
            }
            rate = CLng(2 * f * k * m);
            halfWords = m;
        }
    } else {
        rate = CLng(2 * f);
    }
    // The RAM holds 1024 words: a wave that needs more cannot be played.
    if (2 * halfWords > kRamWords) {
        return false;
    }

    const int multiplier = clockMultiplier(rate);  // 0 outside the table: the division fails
    const RateSetting rs = rateSetting(rate, multiplier);
    if (!sendStepClock(panel, link, {multiplier, rs.setting, rs.reference * multiplier / 4.0},
                       SettingSend::EveryTime, RegisterCode::Cfr2Or24OnLabelChange)) {
        return false;
    }

    const bool single = panel.outmode->text == kPlaySingle;
    const bool invert = ticked(*panel.invert);
    const bool lowFirst = single == invert;
    const int first = lowFirst ? kLevelLow : kLevelHigh;
    const int second = lowFirst ? kLevelHigh : kLevelLow;
    if (!writeLevelPattern(link, {{first, halfWords}, {second, halfWords}})) {
        return false;
    }
    link.clock().Sleep(kPatternPauseMs);
    const BytePair kb = split16(k);
    if (!link.send({code::kMultipliers, kb.high, kb.low, kb.high, kb.low, 0},
                   kLabelPulseMultipliers)) {
        return false;
    }
    if (!link.send(kSquareCfr1, kLabelPulseCfr1)) {
        return false;
    }
    if (single) {
        return link.send(kSquareCfr1, kLabelPulseCfr1) && link.send(kPulseStart, kLabelPulseStart);
    }
    return true;
}

}  // namespace

void SetSquareFrequency(frmMainControls& panel, Link& link) {
    runOrFail(link, kMsgSquareError, [&] { return programSquare(panel, link); });
}

}  // namespace tunx
