// The layers of the plot besides the channels' traces: references, math, XY.
#include "monitor/plot/Layers.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Cursors.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/MathTrace.h"
#include "monitor/scope/Record.h"

namespace tunx {

namespace {

// Colour numbers (blue, green, red bytes from the top): the math trace cyan, the references
// green and violet, the XY trace in CH1's red.
constexpr Colour kMathColour = 0xFFFF00;
constexpr std::array<Colour, 2> kReferenceColours = {0x40E040, 0xFF80C0};
constexpr std::array<const char*, 2> kReferenceNames = {"REF A ", "REF B "};
constexpr const char* kMathCaption = "M ";

constexpr double kUnitsPerDivision = 64;
constexpr int kCentre = plot::kRows / 2;           // the math trace's 0 V, from the bottom
constexpr int kCentreColumn = plot::kColumns / 2;  // the XY view's 0 V of CH1
constexpr double kFarOutside = 4 * plot::kRows;    // beyond this a point is off the plot anyway

// Screen units (from the bottom) of a value on a scale of `perDivision` with 0 at `zero`.
double unitsOf(double value, double perDivision, double zero) {
    const double units = zero + value * kUnitsPerDivision / perDivision;
    return std::clamp(std::isfinite(units) ? units : 0.0, -kFarOutside, kFarOutside);
}

// Screen units of a converter code of a channel, as the channel's trace draws it.
std::int32_t codeUnits(const ScopeCapture& c, const ChannelCapture& channel, std::int32_t code) {
    return c.converter == Converter::TwelveBit ? CLng(code * double(channel.scale)) : 2 * code;
}

bool scopeShown(const Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    return mode != nullptr && mode->isScope();
}

const ScopeCapture* recordShown(Form1& w) {
    const MonitorState& m = w.mon();
    return m.capture && m.captureShown ? &*m.capture : nullptr;
}

std::optional<double> rangePerDivision(const Ctl& inForce) {
    const VoltsRange* range = findRange(inForce->text);
    return range == nullptr ? std::nullopt : std::optional(voltsPerDivision(*range));
}

// The scale a reference is drawn on now: units per division and where its 0 sits.
std::optional<std::pair<double, double>> scaleNow(Form1& w, ReferenceScale scale) {
    const MonitorState& m = w.mon();
    switch (scale) {
        case ReferenceScale::CH1:
            if (const auto perDiv = rangePerDivision(w.ch1vdivtext)) {
                return std::pair(*perDiv, double(m.ch1pos));
            }
            return std::nullopt;
        case ReferenceScale::CH2:
            if (const auto perDiv = rangePerDivision(w.ch2vdivtext)) {
                return std::pair(*perDiv, double(m.ch2pos));
            }
            return std::nullopt;
        case ReferenceScale::Math:
            break;
    }
    if (const auto perDiv = mathPerDivision(w.mathvdiv->text)) {
        return std::pair(*perDiv, double(kCentre));
    }
    return std::nullopt;
}

void drawReference(Form1& w, const ReferenceTrace& ref, Colour colour) {
    const MonitorState& m = w.mon();
    const auto scale = scaleNow(w, ref.scale);
    // Columns per second of the time base in force: a sample interval apart the columns are
    // hexpand apart.
    if (!scale || m.sampleInterval <= 0 || m.hexpand <= 0) {
        return;
    }
    const double columnsPerSecond = m.hexpand / m.sampleInterval;
    std::optional<std::pair<double, double>> previous;
    for (std::size_t i = 0; i < ref.values.size() && i < ref.times.size(); ++i) {
        const double column = 1 + ref.times[i] * columnsPerSecond;
        if (column > plot::kColumns) {
            break;
        }
        const double row = rowOf(CLng(unitsOf(ref.values[i], scale->first, scale->second)));
        if (previous && column >= plot::kFirstDrawnColumn) {
            w.canvas().Line(previous->first + m.originx, previous->second + m.originy,
                            column + m.originx, row + m.originy, colour, plot::kTraceWidth,
                            LineStyle::Solid);
        }
        previous = std::pair(column, row);
    }
}

void drawChannels(Form1& w, const ScopeCapture& c, std::size_t start) {
    MonitorState& m = w.mon();
    const std::vector<int> columns = traceColumns(c.hexpand);
    const auto draw = [&](const ChannelCapture& channel, TraceRows& rows, Colour colour) {
        TraceDrawer trace(w.canvas(), rows, colour, m.originx, m.originy, false);
        for (std::size_t j = 0; j < columns.size(); ++j) {
            const std::size_t n = start + j;
            if (n < channel.averaged.size()) {  // the average the display shows
                const double units = channel.averaged[n] *
                                     (c.converter == Converter::TwelveBit ? channel.scale : 2.0);
                trace.point(columns[j], rowOf(CLng(units)));
                continue;
            }
            const std::int32_t code = n < channel.codes.size() ? channel.codes[n] : 0;
            trace.point(columns[j], rowOf(codeUnits(c, channel, code)));
        }
    };
    if (!c.ch1.codes.empty()) {
        draw(c.ch1, m.ch1rows, m.ch1colour);
    }
    if (!c.ch2.codes.empty()) {
        draw(c.ch2, m.ch2rows, m.ch2colour);
    }
}

void drawMath(Form1& w, const ScopeCapture& c, std::size_t start) {
    const MonitorState& m = w.mon();
    const std::vector<int> columns = traceColumns(c.hexpand);
    const std::vector<double> values = mathValues(c, mathOpNow(w), start, columns.size());
    const std::optional<double> perDiv = mathPerDivision(w.mathvdiv->text);
    if (!perDiv) {
        return;
    }
    for (std::size_t j = 1; j < values.size() && j < columns.size(); ++j) {
        if (columns[j] < plot::kFirstDrawnColumn) {
            continue;
        }
        const auto row = [&](std::size_t k) {
            return rowOf(CLng(unitsOf(values[k], *perDiv, kCentre)));
        };
        w.canvas().Line(columns[j - 1] + m.originx, row(j - 1) + m.originy, columns[j] + m.originx,
                        row(j) + m.originy, kMathColour, plot::kTraceWidth, LineStyle::Solid);
    }
}

// CH2 up against CH1 across, each at its own V/div: 0 V of CH1 at the centre column moved by
// its position as CH2's 0 V is moved up by its own.
void drawXy(Form1& w, const ScopeCapture& c, std::size_t start) {
    const MonitorState& m = w.mon();
    const std::size_t count = traceColumns(c.hexpand).size();
    std::optional<std::pair<int, int>> previous;
    for (std::size_t n = start;
         n < start + count && n < c.ch1.codes.size() && n < c.ch2.codes.size(); ++n) {
        const int column = std::clamp(kCentreColumn + codeUnits(c, c.ch1, c.ch1.codes[n]) - kCentre,
                                      1, plot::kColumns - 1);
        const int row = rowOf(codeUnits(c, c.ch2, c.ch2.codes[n]));
        if (previous) {
            w.canvas().Line(previous->first + m.originx, previous->second + m.originy,
                            column + m.originx, row + m.originy, m.ch1colour, plot::kTraceWidth,
                            LineStyle::Solid);
        }
        previous = std::pair(column, row);
    }
}

}  // namespace

bool xyShown(const Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    return mode != nullptr && mode->ch1 && mode->ch2 && w.xyview->value != 0;
}

bool layered(Form1& w) {
    if (!scopeShown(w)) {
        return false;
    }
    const References& refs = w.mon().refs;
    const bool reference = std::any_of(refs.traces.begin(), refs.traces.end(),
                                       [](const auto& slot) { return slot.has_value(); });
    return reference || mathShown(w) || xyShown(w);
}

void drawReferences(Form1& w) {
    if (!scopeShown(w) || xyShown(w)) {
        return;
    }
    const References& refs = w.mon().refs;
    for (std::size_t i = 0; i < refs.traces.size(); ++i) {
        if (refs.traces[i]) {
            drawReference(w, *refs.traces[i], kReferenceColours[i]);
        }
    }
}

void drawLayers(Form1& w, std::size_t start) {
    w.canvas().Clear();
    mgrid1(w.canvas());
    drawReferences(w);
    const ScopeCapture* c = recordShown(w);
    if (c == nullptr) {
        return;
    }
    if (xyShown(w)) {
        drawXy(w, *c, start);
        return;
    }
    drawChannels(w, *c, start);
    if (mathShown(w)) {
        drawMath(w, *c, start);
    }
}

void redrawPlot(Form1& w) {
    showPlotExtras(w);
    if (!scopeShown(w)) {
        return;
    }
    const ScopeCapture* c = recordShown(w);
    if (c != nullptr && c->rolling) {
        return;  // the rolling display draws its samples as they come; its next pass shows it
    }
    drawLayers(w, c == nullptr ? 0 : c->first);
    refreshCR(w);
}

void showPlotExtras(Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    const bool scope = mode != nullptr && mode->isScope();
    const bool both = scope && mode->ch1 && mode->ch2;
    for (const Ctl& c : {w.lmath, w.mathmode, w.mathvdiv, w.xyview}) {
        c->enabled = both;
    }
    const MathOp op = mathOpNow(w);
    // The list's entries take the operation's unit; the step chosen stays.
    std::vector<std::string> ranges = mathRangeTexts(op);
    if (w.mathvdiv->items != ranges) {
        const auto at =
            std::find(w.mathvdiv->items.begin(), w.mathvdiv->items.end(), w.mathvdiv->text);
        const auto index = at == w.mathvdiv->items.end()
                               ? std::size_t{2}
                               : static_cast<std::size_t>(at - w.mathvdiv->items.begin());
        w.mathvdiv->items = std::move(ranges);
        w.mathvdiv->listIndex = static_cast<int>(index);
        w.mathvdiv->text = w.mathvdiv->items[index];
    }
    const bool math = both && op != MathOp::Off && !xyShown(w);
    w.mathvdivtext->visible = math;
    w.mathvdivtext->text = math ? kMathCaption + w.mathvdiv->text : std::string();
    const References& refs = w.mon().refs;
    for (std::size_t i = 0; i < refs.traces.size(); ++i) {
        Control& caption = *(i == 0 ? w.refatext : w.refbtext);
        const bool shown = scope && refs.traces[i].has_value() && !xyShown(w);
        caption.visible = shown;
        caption.text = shown ? kReferenceNames[i] + refs.traces[i]->source : std::string();
    }
}

void Form1::mathmode_Click() {
    showPlotExtras(*this);
    showMeasurementsNow(*this);
    redrawPlot(*this);
}

void Form1::mathvdiv_Click() {
    showPlotExtras(*this);
    redrawPlot(*this);
}

void Form1::xyview_Click() {
    showPlotExtras(*this);
    redrawPlot(*this);
}

}  // namespace tunx
