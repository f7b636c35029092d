#pragma once

#include "window/Ctl.h"

namespace tunx {

// The monitor window's controls, one handle each, named as the program names them and
// declared in the window's control order.
struct Form1Controls {
    Ctl Picture1;  // the plot
    Ctl Timer1;    // the 10 ms timer; disabled, it skips its ticks
};

}  // namespace tunx
