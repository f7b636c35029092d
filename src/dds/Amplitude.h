#pragma once

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

// Amplitude scale factor from Vpp (or, for "Square-Wave2", the output level sgaten).
void SetVpp(Window& panel, Link& link);
// Output stage, offset DAC command, output stage again, and the offset read-back.
void SetBias(Window& panel, Link& link);
// Amplitude from the bare Vpp number, sent when the generator stops.
void sgstop(Window& panel, Link& link);

}  // namespace tunx
