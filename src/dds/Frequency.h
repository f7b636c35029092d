#pragma once

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

inline constexpr const char* kMsgFrequencyError = "Error Calculating frequency!";

// Sine modes: output path, main clock, control register 2 and the tuning word for Frek.
void SetFrequency(Window& panel, Link& link);
// "Square-Wave2": the same sequence with its own path byte, CFR1 and a fixed amplitude.
void SetSquare2Frequency(Window& panel, Link& link);
// "Single Tone Sine2": has no effect.
void SetSine2Frequency(Window& panel, Link& link);
// Re-sends the tuning word for sgfreq plus the undersampling shift, at 400 MHz.
void SetFreqFTW(Link& link);

}  // namespace tunx
