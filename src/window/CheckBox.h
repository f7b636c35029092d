#pragma once

#include "window/Control.h"

namespace tunx {

// The values of a check box.
inline constexpr int kCleared = 0;
inline constexpr int kTicked = 1;
inline constexpr int kGreyed = 2;

// The box is ticked; a greyed box is not.
inline bool ticked(const Control& box) {
    return box.value == kTicked;
}

// The box is ticked or greyed: any value but clear counts, as the scope's record length and
// statistics boxes have always been read.
inline bool tickedOrGreyed(const Control& box) {
    return box.value != kCleared;
}

}  // namespace tunx
