// Placeholder definitions until ramp, sweep and modulation land. Delete when implemented.
#include "dds/Ramp.h"
#include "dds/Sweep.h"

namespace tunx {
void SetRampUp(Window&, Link&) {}
void SetSweepGen(Window&, Link&) {}
void SetModulation(Window&, Link&) {}
}  // namespace tunx
