// Placeholder definitions until frequency and amplitude land. Delete when implemented.
#include "dds/Amplitude.h"
#include "dds/Frequency.h"

namespace tunx {
void SetFrequency(Window&, Link&) {}
void SetSquare2Frequency(Window&, Link&) {}
void SetSine2Frequency(Window&, Link&) {}
void SetFreqFTW(Link&) {}
void SetVpp(Window&, Link&) {}
void SetBias(Window&, Link&) {}
void sgstop(Window&, Link&) {}
}  // namespace tunx
