#pragma once

#include <string>

#include "controls/frmMainControls.h"
#include "dds/Modes.h"

namespace tunx {

struct SharedState;

// Lays the panel out for the mode in ModeSelect: enabled states, Vpp reset and the
// Limitations text. "Select Mode" asks for a mode and sets sgerror.
void AdjustInterfaceOptions(frmMainControls& panel, SharedState& state, class Ui& ui);

}  // namespace tunx
