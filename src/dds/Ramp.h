#pragma once

#include "controls/frmMainControls.h"
#include "link/Link.h"

namespace tunx {

// "Ramp" and "Triangle" (by the shared triangle flag): a 1000-word shape clocked so that
// the 1000 words make one period of the entered frequency.
void SetRampUp(frmMainControls& panel, Link& link);

}  // namespace tunx
