#include "dds/Frequency.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"

namespace tunx::modes {

// The square wave of the comparator: its level is the output stage's, its offset fixed.
extern const OutputMode kSquareWave2 = {
    .name = "Square-Wave2",
    .layout = {.frequency = true, .amplitude = true},
    .limitations = {"Frequency Range(-3dB): 0.1 Hz - 50MHz", "Maximum Frequency: 100MHz ",
                    "Amplitude Range:  1000mV - 5000mV", "Amplitude Range(50 Ohm): 500mV - 2500mV",
                    "Offset Range: -1V - +4V", "Offset Range(@50 Ohm): -0.5V - +2V"},
    .traits = {.amplitude = AmplitudeScale::Square2Level, .offset = OffsetShift::Square2},
    .setUp = {{step::bias, kStopOnError},
              {step::run<SetSquare2Frequency>, kStopOnError},
              {step::vpp}},
    .example = {{&frmMainControls::Frek, "1"},
                {&frmMainControls::frequnit, "MHz"},
                {&frmMainControls::Vpp, "1"}},
    .remoteName = "SQUare2",
};

}  // namespace tunx::modes
