#pragma once

#include <cstddef>

namespace tunx {

class Form1;

// What the plot shows besides the channels' traces: the reference traces behind them, the
// math trace over them, and the XY view in their place. While any of these shows, each
// record draws the picture afresh (grid, references, traces, math) instead of erasing the
// previous record segment by segment, so that nothing cuts through what lies behind.

// The plot shows one of them now (a scope mode with a reference, math or the XY view on).
bool layered(Form1& w);
// "Scope CH1+CH2" with XY ticked: CH2 against CH1.
bool xyShown(const Form1& w);

// Draws the picture afresh with the record the plot shows, its screen starting at sample
// `start` of the record.
void drawLayers(Form1& w, std::size_t start);
// The picture again after a change of what it shows, without a new record: the record it
// shows with its layers, or the grid and the references when it shows none; then the cursors.
// Nothing outside the scope modes.
void redrawPlot(Form1& w);
// Draws the references over the picture as it is (a fresh grid of a scope set-up).
void drawReferences(Form1& w);

// The math and XY controls, offered in "Scope CH1+CH2" only, and the captions of the math trace
// and the references under the plot, shown in the scope modes.
void showPlotExtras(Form1& w);

}  // namespace tunx
