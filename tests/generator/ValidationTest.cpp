#include <gtest/gtest.h>

#include <tuple>

#include "generator/OutputMode.h"
#include "generator/PanelSnapshot.h"
#include "generator/Validation.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

// The messages of the rules.
const auto kF200N = "Frequency must be a numeric value between 0.1 Hz and 200 MHz";
const auto kF200R = "Frequency must be between 0.1 Hz and 200 MHz";
const auto kF100kN = "Frequency must be a numeric value between 0.1 Hz and 100 kHz";
const auto kF100kR = "Frequency must be between 0.1 Hz and 100 kHz";
const auto kAmpN = "Amplitude range must be a numeric value between 10 mV and 5000 mV";
const auto kAmpNVpp = "Amplitude range must be a numeric value between 10 mVpp and 5000 mVpp";
const auto kAmpR = "Amplitude range must be between 10 mV and 5000 mV";
const auto kAmpRVpp = "Amplitude range must be between 10 mVpp and 5000 mVpp";
const auto kOffN = "Offset range must be a numeric value between -1 V and +4 V";
const auto kOffR = "Offset range must be between -1 V and +4 V";
const auto kPulseN = "Pulse range must be a numeric value between 10 ns and 10 s";
const auto kPulseR = "Pulse range must be between 10 ns and 10 s";
const auto kStartN = "Start frequency must be a numeric value between 10 Hz and 100 MHz";
const auto kStopN = "Stop frequency must be a numeric value between 10 Hz and 100 MHz";
const auto kStepsN = "Number of steps range must be a numeric value between 2 and 1000";
const auto kTimeN =
    "Step time must be in range 1 - 10000 where freq 10Hz - 20kHz,\r\n"
    "OR, 1 - 650 where freq 20kHz - 200MHz";
const auto kSweepR = "Frequency must be between 10 Hz and 200 MHz";
const auto kTimeLow = "Step time must be 1 - 10000 when frequency 10 Hz - 20 kHz";
const auto kTimeHigh = "Step time must be 1 - 650 when frequency 20 kHz - 100 MHz";
const auto kStepsR = "Number of steps must be between 2 and 1000";

const auto kS = "Single Tone Sine", kM = "Sine Modulated", kP = "Pulse Generator", kR = "Ramp",
           kT = "Triangle", kW = "Sweep Sine Generator";

// Entries every mode accepts: 1 kHz, 1 Vpp, 0 V, 10 us pulse, 10-20 kHz sweep in 1000 steps.
const auto kValid =
    "Frek=1|frequnit=kHz|Vpp=1|VppUnit=Vpp|VBias=0|BiasUnit= V|Pulse=10|PulseUnit=us|Pause=15|"
    "startf=10|startfunit=kHz|stopf=20|stopfunit=kHz|stepcnt=1000|steptime=600";

// Mode, entries set on top of kValid, the answer. Each mode's rules are checked in their
// order: a row breaks one rule and every rule after it.
const std::tuple<const char*, const char*, const char*> kCases[] = {
    {kS, "Frek=abc|Vpp=x|VBias=y", kF200N},
    {kS, "Vpp=x|VBias=y|Frek=300|frequnit=MHz", kAmpN},
    {kS, "VBias=y|Frek=300|frequnit=MHz", kOffN},
    {kS, "Frek=300|frequnit=MHz|Vpp=1|VppUnit=mVpp|VBias=9", kF200R},
    {kS, "Vpp=1|VppUnit=mVpp|VBias=9", kAmpR},
    {kS, "VBias=4.001", kOffR},
    {kS, "Frek=0", "Ok"},  // no lower bound
    {kS, "Vpp=1000|VppUnit=mVrms", "Ok"},
    {kS, "Vpp=5|VppUnit=dBmV", kAmpR},
    {kS, "VBias=4", "Ok"},
    {kS, "VBias=-1", "Ok"},
    {kM, "Frek=abc|Vpp=x|VBias=y", kF200N},
    {kM, "Vpp=x|VBias=y|Frek=0", kAmpN},
    {kM, "VBias=y|Frek=0", kOffN},
    {kM, "Frek=0.05|frequnit=Hz|Vpp=9|VppUnit=mVpp", kF200R},
    {kM, "Vpp=5001|VppUnit=mVpp|VBias=-2", kAmpR},
    {kM, "VBias=-2", kOffR},
    {kP, "Vpp=x|VBias=y|Pulse=z", kAmpN},
    {kP, "VBias=y|Pulse=z|Vpp=5|VppUnit=mVpp", kOffN},
    {kP, "Pulse=z|Vpp=5|VppUnit=mVpp", kPulseN},
    {kP, "Vpp=5|VppUnit=mVpp|VBias=9|Pulse=1|PulseUnit=ns", kAmpRVpp},
    {kP, "VBias=9|Pulse=1|PulseUnit=ns", kOffR},
    {kP, "Pulse=9.99|PulseUnit=s", kPulseR},  // an unknown unit is nanoseconds
    {kR, "Frek=abc|Vpp=x|VBias=y", kF100kN},
    {kR, "Vpp=x|VBias=y|Frek=1|frequnit=MHz", kAmpNVpp},
    {kT, "Vpp=x|VBias=y|Frek=1|frequnit=MHz", kAmpN},
    {kT, "VBias=y|Frek=1|frequnit=MHz", kOffN},
    {kR, "Frek=100.001|frequnit=kHz|Vpp=0|VBias=9", kF100kR},
    {kT, "Vpp=5|VppUnit=mVpp|VBias=9", kAmpR},
    {kR, "VBias=-1001|BiasUnit=mV", kOffR},
    {kW, "startf=a|stopf=b|Vpp=c", kStartN},
    {kW, "stopf=b|Vpp=c", kStopN},
    {kW, "Vpp=c|VBias=d", kAmpN},
    {kW, "VBias=d|stepcnt=e", kOffN},
    {kW, "stepcnt=e|steptime=f", kStepsN},
    {kW, "steptime=f|startf=1|startfunit=Hz", kTimeN},
    {kW, "startf=9|startfunit=Hz|steptime=0", kSweepR},
    {kW, "steptime=10001|Vpp=0", kTimeLow},
    {kW, "startf=30|stopf=40|steptime=700|Vpp=0", kTimeHigh},
    {kW, "startf=10|stopf=30|steptime=99999|Frek=abc", "Ok"},  // no step time rule, no Frek
    {kW, "startf=30|stopf=10|steptime=99999", "Ok"},
    {kW, "startf=1|startfunit= MHz |stopf=2|stopfunit= MHz |steptime=700", kTimeHigh},
    {kW, "Vpp=5|VppUnit=mVpp|VBias=9|stepcnt=1", kAmpR},
    {kW, "VBias=4.5|stepcnt=1", kOffR},
    {kW, "stepcnt=1", kStepsR},
    {"Arbitrary", "Frek=x|Vpp=x|VBias=x|Pulse=x|startf=x|stepcnt=x|steptime=x", "Ok"},
    {"Sine", "", "Please make a mode selection first!"},
    {"Select Mode", "", "Please make a mode selection first!"},
};

TEST(InputValidation, EachModesRulesInOrder) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    for (const auto& [mode, fields, expected] : kCases) {
        setTexts(rig.w(), kValid);
        setTexts(rig.w(), fields);
        const auto mark = rig.mark();
        EXPECT_EQ(InputValidation(rig.w(), rig.link(), outputModeOf(mode)), expected)
            << mode << ": " << fields;
        EXPECT_TRUE(rig.lines(mark).empty()) << mode << ": " << fields;  // nothing sent or shown
    }
}

}  // namespace
}  // namespace tunx::test
