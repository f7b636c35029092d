#pragma once

#include "program/Program.h"

namespace tunx::remote {

// *RST: the output off (STOP), a running measurement stopped, and every entry of both windows
// (text boxes, lists, check boxes) back to what the windows start with, each through its own
// handler as a user's change would; then the generator's mode is laid out as at start-up
// (which clears its amplitude). The device list, the calibration file's name and the boxes
// that show results are left alone, and so are positions and cursors.
void resetPanels(Program& program);

}  // namespace tunx::remote
