// Checks the entries of the selected mode against the instrument's limits before a refresh
// sends anything: the rules every mode is made of, and the sine and ramp families.
#include "generator/Validation.h"

#include "common/Numbers.h"
#include "dds/Units.h"
#include "generator/Limits.h"
#include "generator/OutputMode.h"

namespace tunx {

namespace {

constexpr const char* kNoMode = "Please make a mode selection first!";
constexpr const char* kFrequencyNumeric200M =
    "Frequency must be a numeric value between 0.1 Hz and 200 MHz";
constexpr const char* kFrequencyRange200M = "Frequency must be between 0.1 Hz and 200 MHz";
constexpr const char* kFrequencyNumeric100k =
    "Frequency must be a numeric value between 0.1 Hz and 100 kHz";
constexpr const char* kFrequencyRange100k = "Frequency must be between 0.1 Hz and 100 kHz";

using namespace unit;

using namespace limits;

const std::string& unitOf(Ctl field) {
    return field->text;
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

double offsetFactor(const frmMainControls& panel) {
    return unitOf(panel.BiasUnit) == kMV ? 1 : 1000;
}

}  // namespace

std::string InputValidation(frmMainControls& panel, Link& link, const OutputMode* mode) {
    if (mode == nullptr) {
        return kNoMode;
    }
    return mode->validate(panel, link, *mode);
}

std::string noRules(frmMainControls& /*panel*/, Link& /*link*/, const OutputMode& /*mode*/) {
    return kValidationOk;
}

namespace rules {

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

double amplitudeFactorOther(const frmMainControls& panel) {
    return unitOf(panel.VppUnit) == kMVpp ? 1 : 1000;
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

std::string firstFailure(std::initializer_list<Rule> rules) {
    for (const Rule& r : rules) {
        if (!r.holds) {
            return r.message;
        }
    }
    return kValidationOk;
}

std::string sineRules(const frmMainControls& panel, double lowestHz) {
    const Entry f = read(panel.Frek, frequencyFactor(panel));
    const Entry a = read(panel.Vpp, amplitudeFactorSine(panel));
    const Entry o = offset(panel);
    return firstFailure({{f.numeric, kFrequencyNumeric200M},
                         {a.numeric, kAmplitudeNumeric},
                         {o.numeric, kOffsetNumeric},
                         {within(f.value, lowestHz, kMaxFrequencyHz), kFrequencyRange200M},
                         {amplitudeInRange(a), kAmplitudeRange},
                         {offsetInRange(o), kOffsetRange}});
}

std::string rampRules(const frmMainControls& panel, const char* amplitudeNumericMessage) {
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

}  // namespace rules

}  // namespace tunx
