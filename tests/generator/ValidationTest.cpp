#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "generator/Validation.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

const char* const kFreq200Numeric = "Frequency must be a numeric value between 0.1 Hz and 200 MHz";
const char* const kFreq200Range = "Frequency must be between 0.1 Hz and 200 MHz";
const char* const kFreq100kNumeric = "Frequency must be a numeric value between 0.1 Hz and 100 kHz";
const char* const kFreq100kRange = "Frequency must be between 0.1 Hz and 100 kHz";
const char* const kAmpNumeric = "Amplitude range must be a numeric value between 10 mV and 5000 mV";
const char* const kAmpNumericVpp =
    "Amplitude range must be a numeric value between 10 mVpp and 5000 mVpp";
const char* const kAmpRange = "Amplitude range must be between 10 mV and 5000 mV";
const char* const kAmpRangeVpp = "Amplitude range must be between 10 mVpp and 5000 mVpp";
const char* const kOffNumeric = "Offset range must be a numeric value between -1 V and +4 V";
const char* const kOffRange = "Offset range must be between -1 V and +4 V";
const char* const kPulseNumeric = "Pulse range must be a numeric value between 10 ns and 10 s";
const char* const kPulseRange = "Pulse range must be between 10 ns and 10 s";
const char* const kStartNumeric =
    "Start frequency must be a numeric value between 10 Hz and 100 MHz";
const char* const kStopNumeric = "Stop frequency must be a numeric value between 10 Hz and 100 MHz";
const char* const kStepsNumeric =
    "Number of steps range must be a numeric value between 2 and 1000";
const char* const kStepTimeNumeric =
    "Step time must be in range 1 - 10000 where freq 10Hz - 20kHz,\r\n"
    "OR, 1 - 650 where freq 20kHz - 200MHz";
const char* const kSweepRange = "Frequency must be between 10 Hz and 200 MHz";
const char* const kStepTimeLow = "Step time must be 1 - 10000 when frequency 10 Hz - 20 kHz";
const char* const kStepTimeHigh = "Step time must be 1 - 650 when frequency 20 kHz - 100 MHz";
const char* const kStepsRange = "Number of steps must be between 2 and 1000";
const char* const kNoMode = "Please make a mode selection first!";
const char* const kOk = "Ok";

using Fields = std::vector<std::pair<const char*, const char*>>;

struct Case {
    const char* mode;
    Fields fields;  // set on top of entries that every mode accepts
    const char* expected;
};

// Entries that pass every mode's rules: 1 kHz, 1 Vpp, 0 V, 10 us pulse, 10-20 kHz sweep.
const Fields kValid = {{"Frek", "1"},        {"frequnit", "kHz"},   {"Vpp", "1"},
                       {"VppUnit", "Vpp"},   {"VBias", "0"},        {"BiasUnit", " V"},
                       {"Pulse", "10"},      {"PulseUnit", "us"},   {"Pause", "15"},
                       {"startf", "10"},     {"startfunit", "kHz"}, {"stopf", "20"},
                       {"stopfunit", "kHz"}, {"stepcnt", "1000"},   {"steptime", "600"}};

std::string validate(Rig& rig, const Case& c) {
    for (const auto& [field, text] : kValid) {
        rig.w()[field].text = text;
    }
    for (const auto& [field, text] : c.fields) {
        rig.w()[field].text = text;
    }
    return InputValidation(rig.w(), rig.link(), c.mode);
}

void runCases(const std::vector<Case>& cases) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    for (const Case& c : cases) {
        std::string fields;
        for (const auto& [field, text] : c.fields) {
            fields += std::string(field) + "=\"" + text + "\" ";
        }
        EXPECT_EQ(validate(rig, c), c.expected) << c.mode << ": " << fields;
    }
}

TEST(InputValidation, SingleToneSine) {
    const char* m = "Single Tone Sine";
    runCases({
        {m, {}, kOk},
        // Rule 1: frequency is a number.
        {m, {{"Frek", "abc"}}, kFreq200Numeric},
        {m, {{"Frek", ""}}, kFreq200Numeric},
        {m, {{"Frek", "abc"}, {"Vpp", "x"}, {"VBias", "y"}}, kFreq200Numeric},
        // Rule 2: amplitude is a number.
        {m, {{"Vpp", "x"}}, kAmpNumeric},
        {m, {{"Vpp", "x"}, {"VBias", "y"}}, kAmpNumeric},
        // Rule 3: offset is a number, checked before any range.
        {m, {{"VBias", "y"}}, kOffNumeric},
        {m, {{"VBias", "y"}, {"Frek", "300"}, {"frequnit", "MHz"}}, kOffNumeric},
        // Rule 4: at most 200 MHz, no lower bound.
        {m, {{"Frek", "0"}}, kOk},
        {m, {{"Frek", "200"}, {"frequnit", "MHz"}}, kOk},
        {m, {{"Frek", "200000"}, {"frequnit", "kHz"}}, kOk},
        {m, {{"Frek", "200000001"}, {"frequnit", "Hz"}}, kFreq200Range},
        {m, {{"Frek", "201"}, {"frequnit", "GHz"}}, kFreq200Range},  // unknown unit: MHz
        {m, {{"Frek", "200"}, {"frequnit", "GHz"}}, kOk},
        {m,
         {{"Frek", "300"}, {"frequnit", "MHz"}, {"Vpp", "1"}, {"VppUnit", "mVpp"}},
         kFreq200Range},
        // Rule 5: 10 to 5000 mV.
        {m, {{"Vpp", "10"}, {"VppUnit", "mVpp"}}, kOk},
        {m, {{"Vpp", "5000"}, {"VppUnit", "mVpp"}}, kOk},
        {m, {{"Vpp", "9.99"}, {"VppUnit", "mVpp"}}, kAmpRange},
        {m, {{"Vpp", "5.001"}, {"VppUnit", "Vpp"}}, kAmpRange},
        {m, {{"Vpp", "1000"}, {"VppUnit", "mVrms"}}, kOk},
        {m, {{"Vpp", "5"}, {"VppUnit", "dBmV"}}, kAmpRange},
        {m, {{"Vpp", "20"}, {"VppUnit", "dBmV"}}, kOk},
        {m, {{"Vpp", "1"}, {"VppUnit", "V"}}, kAmpRange},  // unknown unit: 0 mV
        {m, {{"Vpp", "1"}, {"VppUnit", "mVpp"}, {"VBias", "9"}}, kAmpRange},
        // Rule 6: -1 V to +4 V.
        {m, {{"VBias", "4"}}, kOk},
        {m, {{"VBias", "4.001"}}, kOffRange},
        {m, {{"VBias", "-1"}}, kOk},
        {m, {{"VBias", "-1.001"}}, kOffRange},
        {m, {{"VBias", "4000"}, {"BiasUnit", "mV"}}, kOk},
        {m, {{"VBias", "4001"}, {"BiasUnit", "mV"}}, kOffRange},
        {m, {{"VBias", "4"}, {"BiasUnit", "V"}}, kOk},  // any unit but mV is volts
        // Numbers as the numeric test reads them.
        {m, {{"Frek", " 1.5e3 "}, {"frequnit", "Hz"}}, kOk},
        {m, {{"Frek", "1e400"}}, kFreq200Numeric},
        {m, {{"Frek", "1e300"}, {"frequnit", "MHz"}}, kFreq200Range},
    });
}

TEST(InputValidation, SineModulatedHasALowerFrequencyBound) {
    const char* m = "Sine Modulated";
    runCases({
        {m, {}, kOk},
        {m, {{"Frek", "abc"}}, kFreq200Numeric},
        {m, {{"Vpp", "x"}}, kAmpNumeric},
        {m, {{"VBias", "y"}}, kOffNumeric},
        {m, {{"Frek", "0.05"}, {"frequnit", "Hz"}}, kFreq200Range},
        {m, {{"Frek", "0"}}, kFreq200Range},
        {m, {{"Frek", "0.1"}, {"frequnit", "Hz"}}, kOk},
        {m, {{"Frek", "200.1"}, {"frequnit", "MHz"}}, kFreq200Range},
        {m, {{"Vpp", "5001"}, {"VppUnit", "mVpp"}}, kAmpRange},
        {m, {{"Vpp", "1000"}, {"VppUnit", "mVrms"}}, kOk},
        {m, {{"VBias", "-2"}}, kOffRange},
        {m, {{"modtype", "nonsense"}, {"amfactor", "x"}}, kOk},  // checked when it runs
    });
}

TEST(InputValidation, PulseGenerator) {
    const char* m = "Pulse Generator";
    runCases({
        {m, {}, kOk},
        {m, {{"Frek", "abc"}, {"Pause", "abc"}}, kOk},  // neither is checked
        {m, {{"Vpp", "x"}, {"VBias", "y"}, {"Pulse", "z"}}, kAmpNumeric},
        {m, {{"VBias", "y"}, {"Pulse", "z"}}, kOffNumeric},
        {m, {{"Pulse", "z"}}, kPulseNumeric},
        {m, {{"Vpp", "5"}, {"VppUnit", "mVpp"}, {"VBias", "9"}}, kAmpRangeVpp},
        {m, {{"Vpp", "1"}, {"VppUnit", "mVrms"}}, kOk},  // any unit but mVpp is volts
        {m, {{"Vpp", "5.1"}, {"VppUnit", "mVrms"}}, kAmpRangeVpp},
        {m, {{"VBias", "5"}, {"Pulse", "1"}, {"PulseUnit", "ns"}}, kOffRange},
        {m, {{"Pulse", "10"}, {"PulseUnit", "ns"}}, kOk},
        {m, {{"Pulse", "9.99"}, {"PulseUnit", "ns"}}, kPulseRange},
        {m, {{"Pulse", "10"}, {"PulseUnit", "s"}}, kOk},  // unknown unit: nanoseconds
        {m, {{"Pulse", "10000"}, {"PulseUnit", "ms"}}, kOk},
        {m, {{"Pulse", "10000.001"}, {"PulseUnit", "ms"}}, kPulseRange},
        {m, {{"Pulse", "0.01"}, {"PulseUnit", "us"}}, kOk},
        {m, {{"Pulse", "0.009"}, {"PulseUnit", "us"}}, kPulseRange},
    });
}

TEST(InputValidation, RampAndTriangle) {
    for (const char* m : {"Ramp", "Triangle"}) {
        const bool ramp = std::string(m) == "Ramp";
        runCases({
            {m, {}, kOk},
            {m, {{"Frek", "abc"}, {"Vpp", "x"}}, kFreq100kNumeric},
            {m, {{"Vpp", "x"}, {"VBias", "y"}}, ramp ? kAmpNumericVpp : kAmpNumeric},
            {m, {{"VBias", "y"}, {"Frek", "1"}, {"frequnit", "MHz"}}, kOffNumeric},
            {m, {{"Frek", "0.1"}, {"frequnit", "Hz"}}, kOk},
            {m, {{"Frek", "0.09"}, {"frequnit", "Hz"}}, kFreq100kRange},
            {m, {{"Frek", "100"}, {"frequnit", "kHz"}}, kOk},
            {m, {{"Frek", "100.001"}, {"frequnit", "kHz"}, {"Vpp", "0"}}, kFreq100kRange},
            {m, {{"Frek", "1"}, {"frequnit", "MHz"}}, kFreq100kRange},
            {m, {{"Vpp", "5"}, {"VppUnit", "mVpp"}, {"VBias", "9"}}, kAmpRange},
            {m, {{"Vpp", "5"}, {"VppUnit", "Vpp"}}, kOk},
            {m, {{"VBias", "-1001"}, {"BiasUnit", "mV"}}, kOffRange},
        });
    }
}

TEST(InputValidation, SweepSineGenerator) {
    const char* m = "Sweep Sine Generator";
    runCases({
        {m, {}, kOk},
        // Rules 1-6: every entry is a number, in this order.
        {m, {{"startf", "a"}, {"stopf", "b"}, {"Vpp", "c"}}, kStartNumeric},
        {m, {{"stopf", "b"}, {"Vpp", "c"}}, kStopNumeric},
        {m, {{"Vpp", "c"}, {"VBias", "d"}}, kAmpNumeric},
        {m, {{"VBias", "d"}, {"stepcnt", "e"}}, kOffNumeric},
        {m, {{"stepcnt", "e"}, {"steptime", "f"}}, kStepsNumeric},
        {m, {{"steptime", "f"}, {"startf", "1"}, {"startfunit", "Hz"}}, kStepTimeNumeric},
        {m, {{"Frek", "abc"}}, kOk},  // the single frequency is not used
        // Rule 7: both ends 10 Hz to 200 MHz.
        {m, {{"startf", "9"}, {"startfunit", "Hz"}, {"steptime", "0"}}, kSweepRange},
        {m, {{"stopf", "201"}, {"stopfunit", "MHz"}}, kSweepRange},
        {m, {{"startf", "10"}, {"startfunit", "GHz"}}, kSweepRange},  // unknown unit: 0 Hz
        {m, {{"startf", "10"}, {"startfunit", "Hz"}, {"stopf", "200"}, {"stopfunit", "MHz"}}, kOk},
        // Rule 8: step time by band.
        {m, {{"steptime", "10000"}}, kOk},
        {m, {{"steptime", "10001"}, {"Vpp", "0"}}, kStepTimeLow},
        {m, {{"steptime", "0.5"}}, kStepTimeLow},
        {m, {{"startf", "30"}, {"stopf", "40"}, {"steptime", "650"}}, kOk},
        {m, {{"startf", "30"}, {"stopf", "40"}, {"steptime", "700"}}, kStepTimeHigh},
        {m, {{"startf", "30"}, {"stopf", "40"}, {"steptime", "650.01"}}, kStepTimeHigh},
        {m, {{"startf", "30"}, {"stopf", "40"}, {"steptime", "0"}}, kStepTimeHigh},
        {m, {{"startf", "20"}, {"stopf", "20.001"}, {"steptime", "5000"}}, kOk},
        {m, {{"startf", "10"}, {"stopf", "30"}, {"steptime", "5000"}}, kOk},
        {m, {{"startf", "30"}, {"stopf", "10"}, {"steptime", "99999"}}, kOk},
        // Sweep units are trimmed before they are compared.
        {m,
         {{"startf", "1"},
          {"startfunit", " MHz "},
          {"stopf", "2"},
          {"stopfunit", " MHz "},
          {"steptime", "700"}},
         kStepTimeHigh},
        {m, {{"startfunit", "khz"}}, kSweepRange},  // compared case-sensitively
        // Rules 9-11.
        {m, {{"Vpp", "5"}, {"VppUnit", "mVpp"}, {"VBias", "9"}, {"stepcnt", "1"}}, kAmpRange},
        {m, {{"VBias", "4.5"}, {"stepcnt", "1"}}, kOffRange},
        {m, {{"stepcnt", "1"}}, kStepsRange},
        {m, {{"stepcnt", "2"}}, kOk},
        {m, {{"stepcnt", "1001"}}, kStepsRange},
    });
}

TEST(InputValidation, ModesWithoutRulesAcceptAnything) {
    const Fields junk = {{"Frek", "x"},   {"Vpp", "x"},     {"VBias", "x"},   {"Pulse", "x"},
                         {"startf", "x"}, {"stepcnt", "x"}, {"steptime", "x"}};
    runCases({
        {"Arbitrary", junk, kOk},
        {"Square-Wave2", junk, kOk},
        {"Single Tone Sine2", junk, kOk},
        // The square wave sends its offset while it is checked; its answer is always Ok.
        {"Square-Wave", junk, kOk},
    });
}

TEST(InputValidation, AnyOtherModeTextAsksForAMode) {
    runCases({
        {"Sine", {}, kNoMode},
        {"Select Mode", {}, kNoMode},
        {"", {}, kNoMode},
        {"single tone sine", {}, kNoMode},
        {"Ramp ", {}, kNoMode},
    });
}

TEST(InputValidation, SendsNothingAndShowsNothingForTheCheckedModes) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    for (const char* m :
         {"Single Tone Sine", "Sine Modulated", "Pulse Generator", "Ramp", "Triangle",
          "Sweep Sine Generator", "Arbitrary", "Square-Wave2", "Single Tone Sine2", "Sine"}) {
        rig.w()["Frek"].text = "abc";
        InputValidation(rig.w(), rig.link(), m);
    }
    EXPECT_TRUE(rig.lines(mark).empty());
    EXPECT_TRUE(rig.messages().empty());
}

}  // namespace
}  // namespace tunx::test
