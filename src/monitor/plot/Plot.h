#pragma once

#include <cstdint>
#include <string>

#include "common/Colour.h"
#include "ports/Canvas.h"
#include "state/MonitorState.h"

namespace tunx {

class Form1;

// Plot geometry, in Picture1's drawing units.
namespace plot {
inline constexpr int kOrigin = 32;  // the grid origin, added to every trace coordinate
inline constexpr int kDivision = 64;
inline constexpr int kColumns = 640;  // trace columns 1..640
inline constexpr int kRows = 512;     // rows 0 (top) .. 512 (bottom)
inline constexpr int kTraceWidth = 2;
inline constexpr int kFirstDrawnColumn = 4;  // columns 1 to 3 are never drawn
inline constexpr int kPictureWidth = 704;
inline constexpr int kPictureHeight = 576;
// The spectrum's scale: 10 dB a division, from 0 dBFS or +10 dBVrms on the top line.
inline constexpr double kRowsPerDb = 6.4;
inline constexpr double kDbvrmsTop = 10;
}  // namespace plot

// Draws the empty grid over the present picture: 9 horizontal and 11 vertical black lines,
// the centre lines 2 units wide. Clears nothing.
void mgrid1(Canvas& canvas);

// The row of a value in screen units counted from the bottom, clamped to 1..511 first.
std::int32_t rowOf(std::int32_t v);

// Draws one channel's trace column by column over the previous one: for every column past
// the third, the old segment is erased in the background colour, then the new one drawn in
// `colour`; `rows` keeps the row drawn at each column. Without `erase` the earlier traces stay.
class TraceDrawer {
  public:
    TraceDrawer(Canvas& canvas, TraceRows& rows, Colour colour, int originX, int originY,
                bool erase = true)
        : canvas_(canvas),
          rows_(rows),
          colour_(colour),
          ox_(originX),
          oy_(originY),
          erase_(erase) {}

    void point(int column, std::int32_t row);

  private:
    Canvas& canvas_;
    TraceRows& rows_;
    Colour colour_;
    int ox_, oy_;
    bool erase_;
    int prevColumn_ = 0;
    std::int32_t prevRow_ = 0;
    std::int32_t prevOldRow_ = 0;
};

// Redraws a long record at the horizontal position horpos, then the grid and cursors.
void refreshplot2(Form1& w, const ScopeCapture& record);

}  // namespace tunx
