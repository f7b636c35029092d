#include "monitor/modes/ModeParts.h"

namespace tunx::monitormodes {

extern const MonitorMode kScopeCH2 = {
    .name = "Scope CH2",
    .ch2 = true,
    .layout = [](Form1& w) { scopeMode(w, Groups(w), Channel::CH2); },
    .start = [](Form1& w) { w.mon().monstate = RunState::StartScope; },
    .steps = kScopeSteps,
    .remoteName = "CH2",
};

}  // namespace tunx::monitormodes
