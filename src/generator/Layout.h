#pragma once

#include "controls/frmMainControls.h"

namespace tunx {

struct SharedState;
class Ui;

// Groups of controls the layout enables or disables together.
enum class PanelGroup { Modulation, Sweep, Pulse, Frequency, Amplitude, Arbitrary };
void enable(frmMainControls& panel, PanelGroup group, bool on);

// Lays the panel out for the mode in ModeSelect: enabled states, Vpp reset and the
// Limitations text. "Select Mode" asks for a mode and sets sgerror; another text that names
// no mode changes nothing.
void AdjustInterfaceOptions(frmMainControls& panel, SharedState& state, Ui& ui);

}  // namespace tunx
