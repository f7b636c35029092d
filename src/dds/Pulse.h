#pragma once

#include "controls/frmMainControls.h"
#include "link/Link.h"

namespace tunx {

// "Pulse Generator": a two-level RAM pattern from the pulse and pause times.
void SetPulse(frmMainControls& panel, Link& link);
// "Square-Wave": a symmetric two-level RAM pattern for the frequency in Frek.
void SetSquareFrequency(frmMainControls& panel, Link& link);

}  // namespace tunx
