#pragma once

#include <string>
#include <vector>

#include "controls/frmMainControls.h"
#include "dds/Modes.h"

namespace tunx {

struct SharedState;

// The mode's lines for the Limitations box (empty for a text that is not a mode).
std::vector<std::string> modeDescription(const std::string& modeText);

// Lays the panel out for the mode in ModeSelect: enabled states, Vpp reset and the
// Limitations text. "Select Mode" asks for a mode and sets sgerror.
void AdjustInterfaceOptions(frmMainControls& panel, SharedState& state, class Ui& ui);

}  // namespace tunx
