#pragma once

#include <cstddef>

#include "monitor/scope/Record.h"

namespace tunx {

class Form1;

// Keeps the record just drawn in volts (as the display converts it: an 8-bit code is V/div / 32,
// a 12-bit sample the channel scale x V/div / 64, both from the channel's position) and shows
// each drawn channel's measurements beside the plot. A null channel was not drawn.
void keepRecord(Form1& w, const Samples* ch1, const Samples* ch2, std::size_t samples,
                bool twelveBit);

// Hides the measurement readouts (a mode that draws no scope record).
void hideMeasurements(Form1& w);

}  // namespace tunx
