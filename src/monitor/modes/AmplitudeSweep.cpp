#include "monitor/modes/ModeParts.h"
#include "monitor/sweep/Sweep.h"

namespace tunx {

namespace {

// The start frequency, the start and stop amplitudes and the readouts; no frequency captions
// under the plot.
void layout(Form1& w) {
    const Groups g(w);
    enable({w.startf, w.startfunit, w.lstartf, w.frfrsweep}, true);
    enable({w.stopf, w.stopfunit, w.lstopf, w.cmdfastsweep}, false);
    enable(g.amplitudeInputs(), true);
    enable(g.sweepReadouts(), true);
    w.Frame12->enabled = true;
    sweepMode(w, g);
    w.labstartfr->text.clear();
    w.centerfr->text.clear();
}

constexpr std::array<RunStep, 2> kSteps = {{
    {RunState::StartAmplitudeSweep, amplitudeSweepSetup},
    {RunState::AmplitudeSweeping, amplitudeSweepPoint},
}};

}  // namespace

namespace monitormodes {
extern const MonitorMode kAmplitudeSweep = {
    .name = "Amplitude Sweep",
    .sweep = SweepKind::Amplitude,
    .layout = layout,
    .start = [](Form1& w) { startSweep(w, SweepKind::Amplitude); },
    .steps = kSteps,
    .remoteName = "ASWeep",
};
}  // namespace monitormodes

}  // namespace tunx
