// Placeholder definitions until arbitrary profiles, pulse and square land. Delete when implemented.
#include "dds/Pulse.h"
#include "dds/WaveRam.h"

namespace tunx {
void loadfile_Click(Window&, Link&) {}
void SelectFile1_Click(Window&, Link&) {}
void setarb(Window&, Link&) {}
void SetPulse(Window&, Link&) {}
void SetSquareFrequency(Window&, Link&) {}
}  // namespace tunx
