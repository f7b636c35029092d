#include "dds/Sweep.h"
#include "generator/Limits.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

// The modulation fields are checked when the modulation is set up, not before.
extern const OutputMode kSineModulated = {
    .name = "Sine Modulated",
    .layout = {.modulation = true, .frequency = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range(-3dB): 0.1 Hz -- 100MHz", "Maximum Frequency: 200MHz ",
                    "Amplitude Range:  10mV - 5000mV", "Offset Range: -1V  - +4V",
                    "Offset Range(@50 Ohm):  -1V  - +4V", "Maximum Modulation Input Voltage: 4Vpp",
                    "Maximum FM Deviation:100kHz"},
    .limitationsEndInBreak = true,
    .traits = {.amplitude = AmplitudeScale::SineFlatness, .modulationCarrier = true},
    .validate = [](frmMainControls& panel, Link&,
                   const OutputMode&) { return rules::sineRules(panel, limits::kMinModulatedHz); },
    // The output goes on before the modulation is set up, and only then.
    .setUp = {{step::bias, kStopOnError},
              {step::vpp, kStopOnError},
              {step::frequency, kStopOnError},
              {step::relayOn},
              {step::run<SetModulation>}},
    .switchOnAtEnd = false,
    .example = {{&frmMainControls::Frek, "1"},
                {&frmMainControls::Vpp, "1"},
                {&frmMainControls::modtype, kModExternalAm}},
    .remoteName = "MODulated",
    .frequencyHz = {limits::kMinModulatedHz, limits::kMaxFrequencyHz},
};

}  // namespace tunx::modes
