#include "dds/Ramp.h"
#include "generator/Limits.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

// The ramp's procedure with the shared triangle flag set.
extern const OutputMode kTriangle = {
    .name = "Triangle",
    .layout = {.invert = true, .frequency = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range: 0.1 Hz-100kHz", "Amplitude Range:  10mV - 5000mV",
                    "Offset Range:       -1V - +4V"},
    .limitationsEndInBreak = true,
    .traits = {.amplitude = AmplitudeScale::Ramp, .offset = OffsetShift::Ramp},
    .validate = [](frmMainControls& panel, Link&,
                   const OutputMode&) { return rules::rampRules(panel, rules::kAmplitudeNumeric); },
    .setUp = {{[](frmMain& w, const OutputMode&) { w.state().gen.triangle = true; }},
              {step::bias, kStopOnError},
              {step::run<SetRampUp>, kStopOnError},
              {step::vpp}},
    .example = {{&frmMainControls::Frek, "1"}, {&frmMainControls::Vpp, "1"}},
    .remoteName = "TRIangle",
    .frequencyHz = {limits::kMinRampHz, limits::kMaxRampHz},
};

}  // namespace tunx::modes
