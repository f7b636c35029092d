#pragma once

#include <string>
#include <vector>

#include "ports/PlotSheet.h"

namespace tunx {

class Form1;

// The plot as "Save plot as PNG" keeps it: the picture with its scale labels and unit at the
// left, the channel and trigger indicators at the right at their levels, and under it the
// frequency axis, the captions (time and volts per division, position, spectrum span), each
// other text the window shows under the plot (measurements, statistics, counter), one to a
// row, and the settings in force (mode, time base, each shown channel's V/div; trigger
// source, edge and mode, converter and sampling), followed by the date of saving.
PlotSheet plotSheet(const Form1& w);

// The sheet's lines of settings: the mode and what it measures with; for a scope a second
// line with the trigger and the converter.
std::vector<std::string> settingsLines(const Form1& w);

}  // namespace tunx
