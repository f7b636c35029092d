// Checks the entries of the selected mode against the instrument's limits before a refresh
// sends anything. Each entry is converted to hertz, millivolts, nanoseconds or microseconds;
// the set-up procedures read the fields again themselves.
#include "generator/Validation.h"

#include <initializer_list>
#include <limits>

#include "common/Numbers.h"
#include "dds/Amplitude.h"
#include "dds/Units.h"
#include "generator/Layout.h"
#include "generator/Limits.h"

namespace tunx {

namespace {

// Messages, one per rule.
constexpr const char* kFrequencyNumeric200M =
    "Frequency must be a numeric value between 0.1 Hz and 200 MHz";
constexpr const char* kFrequencyRange200M = "Frequency must be between 0.1 Hz and 200 MHz";
constexpr const char* kFrequencyNumeric100k =
    "Frequency must be a numeric value between 0.1 Hz and 100 kHz";
constexpr const char* kFrequencyRange100k = "Frequency must be between 0.1 Hz and 100 kHz";
constexpr const char* kAmplitudeNumeric =
    "Amplitude range must be a numeric value between 10 mV and 5000 mV";
constexpr const char* kAmplitudeNumericVpp =
    "Amplitude range must be a numeric value between 10 mVpp and 5000 mVpp";
constexpr const char* kAmplitudeRange = "Amplitude range must be between 10 mV and 5000 mV";
constexpr const char* kAmplitudeRangeVpp = "Amplitude range must be between 10 mVpp and 5000 mVpp";
constexpr const char* kOffsetNumeric = "Offset range must be a numeric value between -1 V and +4 V";
constexpr const char* kOffsetRange = "Offset range must be between -1 V and +4 V";
constexpr const char* kPulseNumeric = "Pulse range must be a numeric value between 10 ns and 10 s";
constexpr const char* kPulseRange = "Pulse range must be between 10 ns and 10 s";
constexpr const char* kStartNumeric =
    "Start frequency must be a numeric value between 10 Hz and 100 MHz";
constexpr const char* kStopNumeric =
    "Stop frequency must be a numeric value between 10 Hz and 100 MHz";
constexpr const char* kStepsNumeric =
    "Number of steps range must be a numeric value between 2 and 1000";
constexpr const char* kStepTimeNumeric =
    "Step time must be in range 1 - 10000 where freq 10Hz - 20kHz,\r\n"
    "OR, 1 - 650 where freq 20kHz - 200MHz";
constexpr const char* kSweepFrequencyRange = "Frequency must be between 10 Hz and 200 MHz";
constexpr const char* kStepTimeLow = "Step time must be 1 - 10000 when frequency 10 Hz - 20 kHz";
constexpr const char* kStepTimeHigh = "Step time must be 1 - 650 when frequency 20 kHz - 100 MHz";
constexpr const char* kStepsRange = "Number of steps must be between 2 and 1000";
constexpr const char* kNoMode = "Please make a mode selection first!";

using namespace unit;

using namespace limits;

// A field read as a number and scaled to its common unit; the value stays 0 when the text
// is not numeric.
struct Entry {
    bool numeric = false;
    double value = 0;
};

Entry read(Ctl field, double factor) {
    const auto number = parseNumber(field->text);
    if (!number) {
        return {};
    }
    return {true, *number * factor};
}

bool within(double x, double low, double high) {
    return x >= low && x <= high;
}

const std::string& unitOf(Ctl field) {
    return field->text;
}

double frequencyFactor(const frmMainControls& panel) {
    const std::string& unit = unitOf(panel.frequnit);
    if (unit == kHz) {
        return 1;
    }
    if (unit == kKHz) {
        return 1000;
    }
    return 1'000'000;
}

// Sine modes: every amplitude unit compares its bare number, except Vpp.
double amplitudeFactorSine(const frmMainControls& panel) {
    const std::string& unit = unitOf(panel.VppUnit);
    if (unit == kMVpp || unit == kMVrms || unit == kDBmV) {
        return 1;
    }
    if (unit == kVpp) {
        return 1000;
    }
    return 0;
}

// Other modes: millivolts only for mVpp, volts for anything else.
double amplitudeFactorOther(const frmMainControls& panel) {
    return unitOf(panel.VppUnit) == kMVpp ? 1 : 1000;
}

double offsetFactor(const frmMainControls& panel) {
    return unitOf(panel.BiasUnit) == kMV ? 1 : 1000;
}

double pulseFactor(const frmMainControls& panel) {
    const std::string& unit = unitOf(panel.PulseUnit);
    if (unit == kMs) {
        return 1'000'000;
    }
    if (unit == kUs) {
        return 1000;
    }
    return 1;
}

double sweepFactor(Ctl unitField) {
    const std::string unit = trim(unitOf(unitField));
    if (unit == kHz) {
        return 1;
    }
    if (unit == kKHz) {
        return 1000;
    }
    if (unit == kMHz) {
        return 1'000'000;
    }
    return 0;
}

Entry offset(const frmMainControls& panel) {
    return read(panel.VBias, offsetFactor(panel));
}

bool amplitudeInRange(const Entry& a) {
    return within(a.value, kMinAmplitudeMv, kMaxAmplitudeMv);
}

bool offsetInRange(const Entry& o) {
    return within(o.value, kMinOffsetMv, kMaxOffsetMv);
}

// One rule of a mode: whether it holds, and the message when it does not.
struct Rule {
    bool holds;
    const char* message;
};

// The message of the first rule that fails, in the mode's order, or "Ok".
std::string firstFailure(std::initializer_list<Rule> rules) {
    for (const Rule& r : rules) {
        if (!r.holds) {
            return r.message;
        }
    }
    return kValidationOk;
}

std::string validateSine(const frmMainControls& panel, bool modulated) {
    const Entry f = read(panel.Frek, frequencyFactor(panel));
    const Entry a = read(panel.Vpp, amplitudeFactorSine(panel));
    const Entry o = offset(panel);
    // The plain sine has no lower frequency bound.
    const double lowest = modulated ? kMinModulatedHz : -std::numeric_limits<double>::infinity();
    return firstFailure({{f.numeric, kFrequencyNumeric200M},
                         {a.numeric, kAmplitudeNumeric},
                         {o.numeric, kOffsetNumeric},
                         {within(f.value, lowest, kMaxFrequencyHz), kFrequencyRange200M},
                         {amplitudeInRange(a), kAmplitudeRange},
                         {offsetInRange(o), kOffsetRange}});
}

std::string validatePulse(const frmMainControls& panel) {
    const Entry a = read(panel.Vpp, amplitudeFactorOther(panel));
    const Entry o = offset(panel);
    const Entry p = read(panel.Pulse, pulseFactor(panel));
    return firstFailure({{a.numeric, kAmplitudeNumeric},
                         {o.numeric, kOffsetNumeric},
                         {p.numeric, kPulseNumeric},
                         {amplitudeInRange(a), kAmplitudeRangeVpp},
                         {offsetInRange(o), kOffsetRange},
                         {within(p.value, kMinPulseNs, kMaxPulseNs), kPulseRange}});
}

// Ramp and triangle differ only in the wording of the amplitude entry message.
std::string validateRamp(const frmMainControls& panel, const char* amplitudeNumericMessage) {
    const Entry f = read(panel.Frek, frequencyFactor(panel));
    const Entry a = read(panel.Vpp, amplitudeFactorOther(panel));
    const Entry o = offset(panel);
    return firstFailure({{f.numeric, kFrequencyNumeric100k},
                         {a.numeric, amplitudeNumericMessage},
                         {o.numeric, kOffsetNumeric},
                         {within(f.value, kMinRampHz, kMaxRampHz), kFrequencyRange100k},
                         {amplitudeInRange(a), kAmplitudeRange},
                         {offsetInRange(o), kOffsetRange}});
}

// The step time limit depends on the band the sweep lies in; a sweep across 20 kHz has none.
bool stepTimeFits(double start, double stop, double stepTime, bool lowBand) {
    const bool startLow = start <= kSweepSplitHz;
    const bool stopLow = stop <= kSweepSplitHz;
    if (lowBand) {
        return !(startLow && stopLow) || within(stepTime, kMinStepTimeUs, kMaxStepTimeLowUs);
    }
    return startLow || stopLow || within(stepTime, kMinStepTimeUs, kMaxStepTimeHighUs);
}

std::string validateSweep(const frmMainControls& panel) {
    const Entry s1 = read(panel.startf, sweepFactor(panel.startfunit));
    const Entry s2 = read(panel.stopf, sweepFactor(panel.stopfunit));
    const Entry a = read(panel.Vpp, amplitudeFactorOther(panel));
    const Entry o = offset(panel);
    const Entry n = read(panel.stepcnt, 1);
    const Entry t = read(panel.steptime, 1);
    return firstFailure({{s1.numeric, kStartNumeric},
                         {s2.numeric, kStopNumeric},
                         {a.numeric, kAmplitudeNumeric},
                         {o.numeric, kOffsetNumeric},
                         {n.numeric, kStepsNumeric},
                         {t.numeric, kStepTimeNumeric},
                         {within(s1.value, kMinSweepHz, kMaxFrequencyHz) &&
                              within(s2.value, kMinSweepHz, kMaxFrequencyHz),
                          kSweepFrequencyRange},
                         {stepTimeFits(s1.value, s2.value, t.value, true), kStepTimeLow},
                         {stepTimeFits(s1.value, s2.value, t.value, false), kStepTimeHigh},
                         {amplitudeInRange(a), kAmplitudeRange},
                         {offsetInRange(o), kOffsetRange},
                         {within(n.value, kMinSteps, kMaxSteps), kStepsRange}});
}

}  // namespace

std::string InputValidation(frmMainControls& panel, Link& link, std::optional<Mode> m) {
    if (!m) {
        return kNoMode;
    }
    switch (*m) {
        case Mode::Sine:
            return validateSine(panel, false);
        case Mode::SineModulated:
            return validateSine(panel, true);
        case Mode::Pulse:
            return validatePulse(panel);
        case Mode::Ramp:
            return validateRamp(panel, kAmplitudeNumericVpp);
        case Mode::Triangle:
            return validateRamp(panel, kAmplitudeNumeric);
        case Mode::Sweep:
            return validateSweep(panel);
        case Mode::Square:
            // The square wave's offset goes out while it is being checked.
            SetBias(panel, link);
            return kValidationOk;
        case Mode::Arbitrary:
        case Mode::Square2:
        case Mode::Sine2:
            break;
    }
    return kValidationOk;
}

}  // namespace tunx
