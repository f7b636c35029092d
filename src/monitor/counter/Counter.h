#pragma once

namespace tunx {

class Form1;

// One counter reading of the timer: start a recording, wait for it, read the samples and show
// the frequency (freqcalc). False when the counting start was not acknowledged or the reading
// did not arrive whole ("Freq Count error" shown, the counter idle).
bool counterReading(Form1& w);

}  // namespace tunx
