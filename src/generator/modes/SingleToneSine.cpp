#include <limits>

#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

extern const OutputMode kSingleToneSine = {
    .name = "Single Tone Sine",
    .layout = {.frequency = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range(-3dB): 0.01 Hz - 100MHz", "Maximum Frequency: 200MHz ",
                    "Amplitude Range:  10mV - 5000mV", "Amplitude Range(50 Ohm): 10mV - 2500mV"},
    .traits = {.amplitude = AmplitudeScale::SineFlatness},
    // No lower frequency bound: its limitations announce 0.01 Hz, and 0 passes.
    .validate =
        [](frmMainControls& panel, Link&, const OutputMode&) {
            return rules::sineRules(panel, -std::numeric_limits<double>::infinity());
        },
    .setUp = {{step::bias, kStopOnError}, {step::frequency, kStopOnError}, {step::vpp}},
    .example = {{&frmMainControls::Frek, "1"}, {&frmMainControls::Vpp, "1"}},
    .remoteName = "SINusoid",
};

}  // namespace tunx::modes
