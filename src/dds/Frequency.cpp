#include "dds/Frequency.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "common/RuntimeError.h"
#include "dds/Amplitude.h"
#include "dds/Failure.h"
#include "dds/MainClock.h"
#include "dds/PulseCommands.h"
#include "dds/Sweep.h"
#include "dds/Units.h"
#include "link/Relay.h"

namespace tunx {

namespace {

constexpr const char* kLabelCfr2 = "SetFreq_CFR2_";
constexpr const char* kLabelFtw = "SetFreq_FTW_";

constexpr double kLowClockUpTo = 100.0;             // at or below: the 20 MHz clock
constexpr double kUncorrectedFrom = 199'900'000.0;  // the clock correction stops here
constexpr double kNoWordFrom = 200'000'000.0;
constexpr double kHalfClockAbove = 199'999'999.0;
constexpr std::array<int, 4> kHalfClockBytes = {128, 0, 0, 0};  // word 2^31
constexpr double kTwoPow32 = 4'294'967'296.0;
// One step of the 20 MHz clock (20,000,000 / 2^32), as the panel shows the produced frequency.
constexpr double kStep20MHz = 0.0046566;
constexpr int kFrekDecimals = 5;

// Undersampling: 64 samples per signal period against the monitor's time per division.
constexpr double kUnderSamples = 64.0;
constexpr double kNanosecond = 1e-9;
constexpr double kUnderShiftScale = 10000.0;
constexpr std::int32_t kRetuneFromHz = 1'000'000;

constexpr int kTuningPauseMs = 10;
constexpr int kHoldAtZero = 16;  // code 6, byte 1, when the frequency is 0
constexpr std::int32_t kSquare2Asf = 8000;

constexpr Command kClockSettingSquare2{code::kClockSetting, 0, 0, 0, 0, 0};
constexpr Command kCfr1Square2{code::kCfr1, 2, 0, 2, 0, 0};

enum class Path { Sine, Square2 };

// What one frequency programs into the DDS.
struct Tuning {
    double hz = 0;  // after the shifts
    bool lowClock = false;
    std::int32_t word = 0;
    std::array<int, 4> bytes{};
};

double enteredHertz(const frmMainControls& panel) {
    return CDbl(panel.Frek->text) * hzPerUnit(panel.frequnit->text);
}

// Adds the undersampling shift for the monitor's time per division and keeps its values.
double withUndersampling(GeneratorState& g, double hz) {
    g.undersratio = divide(kUnderSamples * divide(1.0, hz), kNanosecond * g.undersdiv);
    g.undersshift = CSng(divide(kUnderShiftScale, g.undersratio));
    return hz + g.undersshift;
}

Tuning tune(double hz, bool lowClock, double clkcorr) {
    if (!std::isfinite(hz)) {
        throw RuntimeError(kOverflow);
    }
    const double clock = lowClock ? kLowClockHz : kSystemClockHz;
    Tuning t;
    t.hz = hz;
    t.lowClock = lowClock;
    if (hz < kUncorrectedFrom) {
        t.word = CLng(hz * kTwoPow32 / clock * clkcorr);
    } else if (hz < kNoWordFrom) {
        t.word = CLng(hz * kTwoPow32 / clock);
    }
    // The tuning word is unsigned: a negative frequency has none.
    if (t.word < 0) {
        throw RuntimeError(kOverflow);
    }
    t.bytes = hz > kHalfClockAbove ? kHalfClockBytes : registerBytes(t.word);
    return t;
}

bool sendTuningWord(Link& link, const Tuning& t) {
    return link.send({code::kFtw, t.bytes[0], t.bytes[1], t.bytes[2], t.bytes[3], 0}, kLabelFtw) &&
           link.send({code::kFtwUpdate, t.hz == 0 ? kHoldAtZero : 0, 0, 0, 0, 0}, kLabelFtw);
}

// The clock and control-register commands; the clock label follows each clock change sent.
bool sendClock(Link& link, const Tuning& t, Path path) {
    std::string& clklabel = link.state().gen.clklabel;
    if (t.lowClock) {
        const bool change = clklabel != kClockLabel20MHz;
        if (!link.send(cfr2At20MHz(change ? code::kClock20MHz : code::kCfr2), kLabelCfr2,
                       kCfr2TimeoutMs)) {
            return false;
        }
        if (change) {
            clklabel = kClockLabel20MHz;
        }
        return true;
    }
    if (clklabel != kClockLabel400MHz) {
        if (!link.send(path == Path::Square2 ? kClockSettingSquare2 : kClockSetting400MHz,
                       kLabelClockSetting)) {
            return false;
        }
        link.clock().Sleep(kClockSettingPauseMs);
        clklabel = kClockLabel400MHz;
    }
    return link.send(kCfr2At400MHz, kLabelCfr2, kCfr2TimeoutMs);
}

bool sendSequence(Link& link, const Tuning& t, Path path) {
    const bool square2 = path == Path::Square2;
    if (!link.send(switchCommand(line::kOutputPath, true), kLabelOutputPath) ||
        !link.send(switchCommand(line::kSquare2Path, square2), kLabelOutputPath) ||
        !sendClock(link, t, path)) {
        return false;
    }
    if (square2 && !link.send(kCfr1Square2, kLabelPulseCfr1)) {
        return false;
    }
    link.clock().Sleep(kTuningPauseMs);
    if (!sendTuningWord(link, t)) {
        return false;
    }
    if (square2) {
        return link.send(amplitudeCommand(kSquare2Asf), kLabelAmplitude);
    }
    return true;
}

void setFrequency(frmMainControls& panel, Link& link, Path path, const OutputTraits& mode) {
    SharedState& s = link.state();
    runOrFail(link, kMsgFrequencyError, [&] {
        double hz = enteredHertz(panel);
        s.gen.sgfreq = CLng(hz);
        if (mode.modulationCarrier && panel.modtype->text == kModExternalFm) {
            hz += s.cal.fmoffset;
        }
        if (s.gen.undersmonflag) {
            hz = withUndersampling(s.gen, hz);
        }
        const bool lowClock = hz <= kLowClockUpTo;
        const Tuning t = tune(hz, lowClock, s.cal.clkcorr);
        panel.lmainclk->text = lowClock ? kClockLabel20MHz : kClockLabel400MHz;
        if (lowClock) {
            // The field shows, in hertz, what the 20 MHz clock actually produces.
            panel.Frek->text = formatFixed(t.word * kStep20MHz, kFrekDecimals);
        }
        return sendSequence(link, t, path);
    });
}

}  // namespace

void SetFrequency(frmMainControls& panel, Link& link, const OutputTraits& mode) {
    setFrequency(panel, link, Path::Sine, mode);
}

void SetSquare2Frequency(frmMainControls& panel, Link& link) {
    setFrequency(panel, link, Path::Square2, OutputTraits{});
}

void SetSine2Frequency(frmMainControls& /*panel*/, Link& /*link*/) {}

void SetFreqFTW(Link& link) {
    SharedState& s = link.state();
    if (s.gen.sgfreq < kRetuneFromHz) {
        return;
    }
    runOrFail(link, kMsgFrequencyError, [&] {
        const double hz = withUndersampling(s.gen, s.gen.sgfreq);
        return sendTuningWord(link, tune(hz, false, s.cal.clkcorr));
    });
}

}  // namespace tunx
