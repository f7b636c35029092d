#pragma once

#include <QColor>
#include <QPalette>

#include "window/Control.h"

namespace tunx::app {

// A colour number of the program as a Qt colour: 0xBBGGRR literally, a system colour
// (high bit set, index in the low byte) through the desktop's palette `palette`.
QColor toQColor(Colour colour, const QPalette& palette);

}  // namespace tunx::app
