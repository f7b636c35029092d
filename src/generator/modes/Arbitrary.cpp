#include "dds/Profile.h"
#include "dds/WaveRam.h"
#include "generator/Layout.h"
#include "generator/OutputMode.h"
#include "generator/SetUpSteps.h"

namespace tunx::modes {

namespace {

constexpr int kLoadPauseMs = 1;

// The profile's destination decides the levels: a voltage profile takes no offset entry, a
// frequency or phase profile takes frequency, amplitude and offset; any other text leaves the
// offset field as it was. The amplitude entry keeps its text.
void followDestination(frmMainControls& panel, const PanelLayout& /*layout*/) {
    const std::string& destination = panel.arbit->text;
    if (destination == kTargetVoltage) {
        panel.VBias->enabled = false;
    } else if (destination == kTargetFreq || destination == kTargetPhase) {
        enable(panel, PanelGroup::Frequency, true);
        enable(panel, PanelGroup::Amplitude, true);
        panel.VBias->enabled = true;
    }
}

void phaseFrequency(frmMain& w, const OutputMode& mode) {
    if (w.arbit->text == kTargetPhase) {
        step::frequency(w, mode);
    }
}

}  // namespace

// The profile file is read on every refresh.
extern const OutputMode kArbitrary = {
    .name = "Arbitrary",
    .layout = {.loutmode = true, .arbitrary = true},
    .arrange = followDestination,
    .limitations = {"Maximum points: 1024", "Minimum Points: 2",
                    "Maximum sampling frequency: 100MHz", "Amplitude Range:  1mV - 5000mV",
                    "Offset Range: -1V - +4V", "Phase Range: 0-360 deg.",
                    "Frequency Range: 1Hz-200Mhz"},
    .limitationsEndInBreak = true,
    .traits = {.offset = OffsetShift::ArbitraryVoltage},
    .setUp = {{step::bias, kStopOnError},
              {step::run<loadfile_Click>},
              {[](frmMain& w, const OutputMode&) { w.link().clock().Sleep(kLoadPauseMs); },
               kStopOnError},
              {step::bias, kStopOnError},
              {phaseFrequency, kStopOnError},
              {step::run<setarb>},
              {step::vpp}},
    // The default profile of the installation folder, all its 1024 points.
    .example = {{&frmMainControls::endpt1, "1024"}, {&frmMainControls::endpt2, "1024"}},
    .remoteName = "ARBitrary",
};

}  // namespace tunx::modes
