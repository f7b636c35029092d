#include "monitor/modes/ModeParts.h"

namespace tunx::monitormodes {

// Both channels need the 8-bit converter; there is no spectrum of two channels.
extern const MonitorMode kScopeCH1CH2 = {
    .name = "Scope CH1+CH2",
    .ch1 = true,
    .ch2 = true,
    .layout = [](Form1& w) { bothChannelsMode(w, Groups(w)); },
    .start = [](Form1& w) { w.mon().monstate = RunState::StartScope; },
    .steps = kScopeSteps,
    .remoteName = "DUAL",
};

}  // namespace tunx::monitormodes
