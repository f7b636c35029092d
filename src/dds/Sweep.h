#pragma once

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

// "Sweep Sine Generator": validates the sweep fields, loads the frequency list, programs it.
void SetSweepGen(Window& panel, Link& link);
// "Sine Modulated": external AM, external FM, or the internal FM list.
void SetModulation(Window& panel, Link& link);

}  // namespace tunx
