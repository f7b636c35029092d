#pragma once

namespace tunx {

class Form1;

// Redraws the cursors of the present selection after a new trace: the other cursor of the
// kind dotted, the selected one solid.
void refreshCR(Form1& w);

// Erases the four cursor lines.
void erasecursors(Form1& w);

// Redraw the last CH1 / CH2 trace from the rows stored when it was drawn.
void refreshch1(Form1& w);
void refreshch2(Form1& w);

}  // namespace tunx
