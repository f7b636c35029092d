#pragma once

namespace tunx {

class Form1;

// One counter reading of the timer: start a recording, wait for it, read the samples and show
// the frequency (freqcalc). False when the counting start was not acknowledged.
bool counterReading(Form1& w);

}  // namespace tunx
