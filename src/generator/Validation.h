#pragma once

#include <initializer_list>
#include <string>

#include "controls/frmMainControls.h"

namespace tunx {

class Link;
struct OutputMode;

// The answer of InputValidation when every rule of the mode holds.
inline constexpr const char* kValidationOk = "Ok";

// Checks the entries the mode uses; "Ok" or the message of the first rule that failed. No mode
// (the mode box names none) asks for a mode selection.
std::string InputValidation(frmMainControls& panel, Link& link, const OutputMode* mode);

// The pieces the modes' rules are made of. Each entry is converted to hertz, millivolts,
// nanoseconds or microseconds; the set-up procedures read the fields again themselves.
namespace rules {

inline constexpr const char* kAmplitudeNumeric =
    "Amplitude range must be a numeric value between 10 mV and 5000 mV";
inline constexpr const char* kAmplitudeRange = "Amplitude range must be between 10 mV and 5000 mV";
inline constexpr const char* kOffsetNumeric =
    "Offset range must be a numeric value between -1 V and +4 V";
inline constexpr const char* kOffsetRange = "Offset range must be between -1 V and +4 V";

// A field read as a number and scaled to its common unit; the value stays 0 when the text
// is not numeric.
struct Entry {
    bool numeric = false;
    double value = 0;
};
Entry read(Ctl field, double factor);
bool within(double x, double low, double high);

// Hertz per unit of frequnit: Hz, kHz, anything else MHz.
double frequencyFactor(const frmMainControls& panel);
// Millivolts per unit of VppUnit outside the sine modes: mVpp, anything else volts.
double amplitudeFactorOther(const frmMainControls& panel);
Entry offset(const frmMainControls& panel);
bool amplitudeInRange(const Entry& a);
bool offsetInRange(const Entry& o);

// One rule of a mode: whether it holds, and the message when it does not.
struct Rule {
    bool holds;
    const char* message;
};
// The message of the first rule that fails, in the mode's order, or "Ok".
std::string firstFailure(std::initializer_list<Rule> rules);

// The sine modes' rules, with the lowest frequency they take.
std::string sineRules(const frmMainControls& panel, double lowestHz);
// The ramp's and the triangle's rules, which differ in the message of the amplitude entry.
std::string rampRules(const frmMainControls& panel, const char* amplitudeNumericMessage);

}  // namespace rules

}  // namespace tunx
