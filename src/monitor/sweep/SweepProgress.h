#pragma once

namespace tunx {

class Form1;

// Beside the original sweep: every point is kept for export, and the progress bar under the
// plot shows how many of the 639 points are done and the time left.

// A new sweep begins: nothing kept yet, the bar at 0.
void startKeeping(Form1& w, bool amplitudeSweep);
// A point was measured `at` (hertz, or the amplitude), with `level` in the scale's unit.
void keepPoint(Form1& w, double at, double level);
// Shows the bar in the sweep modes and hides it in the others.
void showProgressIn(Form1& w, bool sweepMode);

}  // namespace tunx
