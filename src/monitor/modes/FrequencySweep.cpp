#include "monitor/modes/ModeParts.h"
#include "monitor/sweep/Sweep.h"

namespace tunx {

namespace {

// The start and stop frequencies, the sweep's amplitude and its readouts.
void layout(Form1& w) {
    const Groups g(w);
    enable(g.frequencyInputs(), true);
    enable({w.textstarta, w.combstarta, w.lstartamp}, true);
    enable({w.textstopa, w.combstopa, w.lstopamp}, false);
    enable(g.sweepReadouts(), true);
    w.Frame12->enabled = true;
    sweepMode(w, g);
}

constexpr std::array<RunStep, 2> kSteps = {{
    {RunState::StartFrequencySweep, frequencySweepSetup},
    {RunState::FrequencySweeping, frequencySweepPoint},
}};

}  // namespace

namespace monitormodes {
extern const MonitorMode kFrequencySweep = {
    .name = "Frequency Sweep",
    .sweep = SweepKind::Frequency,
    .layout = layout,
    .start = [](Form1& w) { startSweep(w, SweepKind::Frequency); },
    .steps = kSteps,
    .remoteName = "FSWeep",
};
}  // namespace monitormodes

}  // namespace tunx
