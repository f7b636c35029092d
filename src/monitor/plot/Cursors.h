#pragma once

#include <cstdint>

#include "monitor/scope/Ranges.h"

namespace tunx {

class Form1;

// Redraws the cursors of the present selection after a new trace: the other cursor of the
// kind dotted, the selected one solid.
void refreshCR(Form1& w);

// Erases the four cursor lines.
void erasecursors(Form1& w);

// Puts a channel's zero line at `pos` screen units from the bottom of the plot, with its
// position indicator; the channel's volts-per-division set-up sends it to the instrument.
void placeChannel(Form1& w, Channel ch, std::int16_t pos);
// Puts the trigger level at `level` screen units from the bottom, with its indicator.
void placeTriggerLevel(Form1& w, std::int16_t level);

// Redraw the last CH1 / CH2 trace from the rows stored when it was drawn.
void refreshch1(Form1& w);
void refreshch2(Form1& w);

}  // namespace tunx
