#pragma once

namespace tunx {

class Form1;

// Marks, in the plot's margins, where a triggered record was triggered: a triangle on the
// left at the trigger level and one on top at the trigger point (the grid's left edge, where
// the record shown starts). Erases them when the record shown was not triggered.
void drawTriggerMarks(Form1& w);

}  // namespace tunx
