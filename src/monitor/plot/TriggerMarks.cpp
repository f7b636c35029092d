#include "monitor/plot/TriggerMarks.h"

#include <cstdint>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Plot.h"

namespace tunx {

namespace {

constexpr Colour kMarkColour = 0x0080FF;  // orange: no trace, cursor or grid uses it
constexpr int kMarkSize = 8;              // the triangles' height, in drawing units

// A triangle pointing right whose tip touches the grid's left edge at `row`, and one pointing
// down whose tip touches its top edge at the first column.
void drawMarks(Canvas& canvas, int row, Colour colour) {
    const int tipX = plot::kOrigin - 1;
    const int tipY = plot::kOrigin + row;
    for (int d = 0; d <= kMarkSize; ++d) {
        canvas.Line(tipX - d, tipY - d / 2, tipX - d, tipY + d / 2, colour, 1, LineStyle::Solid);
    }
    const int topX = plot::kOrigin + 1;
    const int topY = plot::kOrigin - 1;
    for (int d = 0; d <= kMarkSize; ++d) {
        canvas.Line(topX - d / 2, topY - d, topX + d / 2, topY - d, colour, 1, LineStyle::Solid);
    }
}

// The row of the trigger level of the record shown, if that record was triggered; the 12-bit
// converter's records are never triggered by level.
std::int16_t triggeredRow(const MonitorState& m) {
    if (!m.capture || !m.captureShown || m.capture->converter != Converter::EightBit ||
        !trigger::waitsForTrigger(m.capture->trigger.mode)) {
        return -1;
    }
    return static_cast<std::int16_t>(rowOf(m.capture->trigger.level));
}

}  // namespace

void drawTriggerMarks(Form1& w) {
    MonitorState& m = w.mon();
    const std::int16_t row = triggeredRow(m);
    if (m.triggerMarkRow >= 0 && m.triggerMarkRow != row) {
        drawMarks(w.canvas(), m.triggerMarkRow, colour::kPictureBack);
    }
    if (row >= 0) {
        drawMarks(w.canvas(), row, kMarkColour);
    }
    m.triggerMarkRow = row;
}

}  // namespace tunx
