#pragma once

#include "controls/frmMainControls.h"
#include "dds/OutputTraits.h"
#include "link/Link.h"

namespace tunx {

inline constexpr const char* kMsgFrequencyError = "Error Calculating frequency!";

// Sine modes: output path, main clock, control register 2 and the tuning word for Frek (the
// carrier of a modulation shifted for the external FM input).
void SetFrequency(frmMainControls& panel, Link& link, const OutputTraits& mode);
// "Square-Wave2": the same sequence with its own path byte, CFR1 and a fixed amplitude.
void SetSquare2Frequency(frmMainControls& panel, Link& link);
// "Single Tone Sine2": has no effect.
void SetSine2Frequency(frmMainControls& panel, Link& link);
// Re-sends the tuning word for sgfreq plus the undersampling shift, at 400 MHz.
void SetFreqFTW(Link& link);

}  // namespace tunx
