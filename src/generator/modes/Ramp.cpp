#include "dds/Ramp.h"
#include "generator/Limits.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

namespace {
constexpr const char* kAmplitudeNumericVpp =
    "Amplitude range must be a numeric value between 10 mVpp and 5000 mVpp";
}  // namespace

// The ramp's set-up shares the triangle's procedure; the shared triangle flag tells them
// apart. It switches the output on twice, in its sequence and at the end.
extern const OutputMode kRamp = {
    .name = "Ramp",
    .layout = {.invert = true, .frequency = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range: 0.1 Hz - 100kHz", "Amplitude Range:  10mV - 5000mV",
                    "Offset Range:       -1V - +4V"},
    .limitationsEndInBreak = true,
    .traits = {.amplitude = AmplitudeScale::Ramp, .offset = OffsetShift::Ramp},
    .validate = [](frmMainControls& panel, Link&,
                   const OutputMode&) { return rules::rampRules(panel, kAmplitudeNumericVpp); },
    .setUp = {{[](frmMain& w, const OutputMode&) { w.state().gen.triangle = false; }},
              {step::bias, kStopOnError},
              {step::run<SetRampUp>, kStopOnError},
              {step::vpp},
              {step::relayOn}},
    .example = {{&frmMainControls::Frek, "1"}, {&frmMainControls::Vpp, "1"}},
    .remoteName = "RAMP",
    .frequencyHz = {limits::kMinRampHz, limits::kMaxRampHz},
};

}  // namespace tunx::modes
