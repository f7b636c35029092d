#pragma once

#include <cstdint>
#include <optional>

#include "common/Colour.h"
#include "state/MonitorState.h"

namespace tunx {

class Form1;

// The plot column of a sweep's first point, and the colour of its trace (the fast sweep draws in
// CH1's).
inline constexpr std::int16_t kFirstSweepColumn = 34;
inline constexpr Colour kSweepColour = colour::kRed;

// Beside the original sweep: every point is kept, for export and for drawing again on another
// display scale, and the progress bar under the plot shows how many of the 639 points are done,
// how many could not be measured, and the time left.

// A new sweep of `kind` begins: nothing kept yet, the bar at 0.
void startKeeping(Form1& w, SweepKind kind);
// A point was taken `at` (hertz, or the amplitude); `dbv` is its level, none when the
// detector's reading did not come.
void keepPoint(Form1& w, double at, std::optional<float> dbv);
// Whether the point kept last was measured (a new point is joined to it).
bool lastPointMeasured(Form1& w);
// Shows the bar in the sweep modes and hides it in the others.
void showProgressIn(Form1& w, bool sweepMode);
// The kept points drawn again on the display scale now chosen, with gaps where a point was
// not measured, and the level readout of the last point in its unit; the points that follow
// join the last one on that scale. Only the sweep of the mode shown is drawn.
void showKeptSweep(Form1& w);

}  // namespace tunx
