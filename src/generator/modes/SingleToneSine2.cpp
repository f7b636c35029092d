#include "dds/Frequency.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"

namespace tunx::modes {

// Chosen by typing its name. Its frequency procedure has no effect and no amplitude is set:
// a refresh programs the offset and the output stage only.
extern const OutputMode kSingleToneSine2 = {
    .name = "Single Tone Sine2",
    .listed = false,
    .layout = {.frequency = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range(-3dB): 100MHz - 200MHz", "Maximum Frequency: 200MHz ",
                    "Amplitude Range:  10mV - 5000mV", "Amplitude Range(50 Ohm): 10mV - 2500mV",
                    "Offset Range: -1V - +4V", "Offset Range(@50 Ohm): -0.5V - +2V"},
    .setUp = {{step::bias, kStopOnError}, {step::run<SetSine2Frequency>}},
    .example = {{&frmMainControls::Vpp, "1"}},
    .remoteName = "SINusoid2",
};

}  // namespace tunx::modes
