#pragma once

#include <cstdint>

#include "state/SharedState.h"

namespace tunx {

// Gain correction of the sine output at `hz`: linear between neighbouring calibration points
// from 1 MHz to 200 MHz, the 1 MHz value outside that span.
float flatness(const Calibration& c, std::int32_t hz);

// The gain with the extra boost of high amplitudes (`mvpp` in mVpp).
float boosted(float gain, float mvpp);

}  // namespace tunx
