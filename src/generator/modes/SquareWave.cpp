#include "dds/Amplitude.h"
#include "dds/Pulse.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"
#include "generator/Validation.h"

namespace tunx::modes {

extern const OutputMode kSquareWave = {
    .name = "Square-Wave",
    .layout = {.frequency = true, .amplitude = true, .offset = true},
    .limitations = {"Frequency Range(-3dB): 0.5 Hz - 50MHz", "Maximum Frequency: 50MHz ",
                    "Amplitude Range:  10mV - 5000mV", "Amplitude Range(50 Ohm): 10mV - 2500mV",
                    "Offset Range: -1V - +4V", "Offset Range(@50 Ohm): -0.5V - +2V"},
    // No rule; the offset goes out while the entries are being checked.
    .validate = [](frmMainControls& panel, Link& link, const OutputMode& mode) -> std::string {
        SetBias(panel, link, mode.traits);
        return kValidationOk;
    },
    .setUp = {{step::bias, kStopOnError},
              {step::run<SetSquareFrequency>, kStopOnError},
              {step::vpp}},
    .example = {{&frmMainControls::Frek, "1"}, {&frmMainControls::Vpp, "1"}},
    .remoteName = "SQUare",
};

}  // namespace tunx::modes
