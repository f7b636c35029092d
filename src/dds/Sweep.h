#pragma once

#include "controls/frmMainControls.h"
#include "link/Link.h"

namespace tunx {

// The modulation types of modtype.
inline constexpr const char* kModExternalFm = "External FM";
inline constexpr const char* kModExternalAm = "External AM";
inline constexpr const char* kModInternalFm = "Internal FM1000Hz";

// "Sweep Sine Generator": validates the sweep fields, loads the frequency list, programs it.
void SetSweepGen(frmMainControls& panel, Link& link);
// "Sine Modulated": external AM, external FM, or the internal FM list.
void SetModulation(frmMainControls& panel, Link& link);

}  // namespace tunx
