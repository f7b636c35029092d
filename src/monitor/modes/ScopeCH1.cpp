#include "monitor/modes/ModeParts.h"

namespace tunx::monitormodes {

extern const MonitorMode kScopeCH1 = {
    .name = "Scope CH1",
    .ch1 = true,
    .layout = [](Form1& w) { scopeMode(w, Groups(w), Channel::CH1); },
    .start = [](Form1& w) { w.mon().monstate = RunState::StartScope; },
    .steps = kScopeSteps,
    .remoteName = "CH1",
};

}  // namespace tunx::monitormodes
