#pragma once

// Commands shared by the pulse and square-wave patterns.
#include "link/Link.h"

namespace tunx {

inline constexpr const char* kLabelPulseCfr1 = "Set_Pulse_CFR1_";
inline constexpr const char* kLabelPulseMultipliers = "Set_Pulse_cmd23_";
inline constexpr const char* kLabelPulseStart = "Set_Pulse_CMD20_";

// Control register 1 of the pulse pattern, played from profile 0.
inline constexpr Command kPulseCfr1{code::kCfr1, 194, 0, 2, 0, 0};
// One pass of the pattern on the next trigger.
inline constexpr Command kPulseStart{code::kStart, 3, 1, 0, 0, 0};

}  // namespace tunx
