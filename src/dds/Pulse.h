#pragma once

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

// "Pulse Generator": a two-level RAM pattern from the pulse and pause times.
void SetPulse(Window& panel, Link& link);
// "Square-Wave": a symmetric two-level RAM pattern for the frequency in Frek.
void SetSquareFrequency(Window& panel, Link& link);

}  // namespace tunx
