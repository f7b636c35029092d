#include "monitor/plot/Plot.h"

#include <algorithm>
#include <array>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Cursors.h"
#include "monitor/plot/Layers.h"
#include "monitor/scope/Record.h"

namespace tunx {

namespace {

struct GridLine {
    int x1, y1, x2, y2, width;
};

// The first row and column sit 2 units inside the origin; the others on whole divisions.
constexpr std::array<GridLine, 20> kGrid{{
    {34, 34, 672, 34, 1},   {34, 96, 672, 96, 1},   {34, 160, 672, 160, 1}, {34, 224, 672, 224, 1},
    {34, 288, 672, 288, 2}, {34, 352, 672, 352, 1}, {34, 416, 672, 416, 1}, {34, 480, 672, 480, 1},
    {34, 544, 673, 544, 1}, {34, 34, 34, 544, 1},   {96, 34, 96, 544, 1},   {160, 34, 160, 544, 1},
    {224, 34, 224, 544, 1}, {288, 34, 288, 544, 1}, {352, 34, 352, 544, 2}, {416, 34, 416, 544, 1},
    {480, 34, 480, 544, 1}, {544, 34, 544, 544, 1}, {608, 34, 608, 544, 1}, {672, 34, 672, 544, 1},
}};

constexpr std::int32_t kMinValue = 1;
constexpr std::int32_t kMaxValue = 511;

// refreshplot2: the window of a long record that one screen shows.
constexpr double kWindowStartAtZero = 2816;
constexpr double kBytesPerPosition = 1.375;

}  // namespace

void mgrid1(Canvas& canvas) {
    for (const GridLine& g : kGrid) {
        canvas.Line(g.x1, g.y1, g.x2, g.y2, colour::kBlack, g.width, LineStyle::Solid);
    }
}

std::int32_t rowOf(std::int32_t v) {
    return plot::kRows - std::clamp(v, kMinValue, kMaxValue);
}

void TraceDrawer::point(int column, std::int32_t row) {
    const std::size_t c = static_cast<std::size_t>(std::clamp(column, 0, int(rows_.size()) - 1));
    if (column >= plot::kFirstDrawnColumn) {
        if (erase_) {
            canvas_.Line(prevColumn_ + ox_, prevOldRow_ + oy_, column + ox_, rows_[c] + oy_,
                         colour::kPictureBack, plot::kTraceWidth, LineStyle::Solid);
        }
        canvas_.Line(prevColumn_ + ox_, prevRow_ + oy_, column + ox_, row + oy_, colour_,
                     plot::kTraceWidth, LineStyle::Solid);
    }
    prevOldRow_ = rows_[c];
    prevColumn_ = column;
    prevRow_ = row;
    rows_[c] = static_cast<std::int16_t>(row);
}

void refreshplot2(Form1& w, const ScopeCapture& record) {
    MonitorState& m = w.mon();
    const bool twelveBit = record.converter == Converter::TwelveBit;
    const auto start = static_cast<std::size_t>(
        std::max(0.0, roundHalfEven(kWindowStartAtZero - kBytesPerPosition * m.horpos)));
    // The window starts at byte `start` of the record as it came: an 8-bit record's CH1 byte
    // is the second of each pair and CH2's the first, a 12-bit sample takes a pair.
    // A sample in screen units: the average where the display shows it.
    const auto unitsAt = [twelveBit](const ChannelCapture& channel, std::size_t n) {
        if (n < channel.averaged.size()) {
            const double code = channel.averaged[n];
            return twelveBit ? CLng(code * double(channel.scale)) : CLng(2 * code);
        }
        const std::int32_t code = n < channel.codes.size() ? channel.codes[n] : 0;
        return twelveBit ? CLng(code * double(channel.scale)) : 2 * code;
    };
    const auto draw = [&](const ChannelCapture& channel, std::size_t first, TraceRows& rows,
                          Colour colour) {
        TraceDrawer trace(w.canvas(), rows, colour, m.originx, m.originy);
        if (twelveBit) {
            for (int c = 1; c <= plot::kColumns; ++c) {
                trace.point(c, rowOf(unitsAt(channel, first + static_cast<std::size_t>(c) - 1)));
            }
            return;
        }
        const std::vector<int> columns = traceColumns(record.hexpand);
        for (std::size_t j = 0; j < columns.size(); ++j) {
            trace.point(columns[j], rowOf(unitsAt(channel, first + j)));
        }
    };
    if (layered(w)) {
        drawLayers(w, start / 2);
        refreshCR(w);
        return;
    }
    if (!record.ch1.codes.empty()) {
        draw(record.ch1, twelveBit ? (start + 1) / 2 : start / 2, m.ch1rows, m.ch1colour);
    }
    if (!record.ch2.codes.empty()) {
        draw(record.ch2, (start + 1) / 2, m.ch2rows, m.ch2colour);
    }
    mgrid1(w.canvas());
    refreshCR(w);
}

}  // namespace tunx
