// Beside the counter's field: its reading in large digits on the plot, the gate time and
// resolution, and the last readings with their spread.
#include "monitor/counter/CounterDisplay.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Plot.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kUnit = " Hz";
constexpr const char* kNoSpread = "\u2014";
constexpr const char* kReadingGap = "   ";
constexpr std::size_t kReadingsPerLine = 5;
// The counter's input is CH2 IN: its reading in CH2's trace colour.
constexpr Colour kDigitColour = colour::kYellow;

// One stroke of a glyph in a cell 1 wide and 2 high, y downwards.
struct Stroke {
    float x1, y1, x2, y2;
};

// The seven segments of a digit.
constexpr Stroke kA{0, 0, 1, 0}, kB{1, 0, 1, 1}, kC{1, 1, 1, 2}, kD{0, 2, 1, 2}, kE{0, 1, 0, 2},
    kF{0, 0, 0, 1}, kG{0, 1, 1, 1};

struct Glyph {
    char c;
    std::vector<Stroke> strokes;
};

const std::array<Glyph, 20> kGlyphs{{
    {'0', {kA, kB, kC, kD, kE, kF}},
    {'1', {kB, kC}},
    {'2', {kA, kB, kG, kE, kD}},
    {'3', {kA, kB, kG, kC, kD}},
    {'4', {kF, kG, kB, kC}},
    {'5', {kA, kF, kG, kC, kD}},
    {'6', {kA, kF, kG, kC, kD, kE}},
    {'7', {kA, kB, kC}},
    {'8', {kA, kB, kC, kD, kE, kF, kG}},
    {'9', {kA, kB, kC, kD, kF, kG}},
    {'H', {kB, kC, kE, kF, kG}},
    {'z', {{0, 1, 1, 1}, {1, 1, 0, 2}, {0, 2, 1, 2}}},
    {'O', {kA, kB, kC, kD, kE, kF}},
    {'v', {{0, 1, 0.5f, 2}, {0.5f, 2, 1, 1}}},
    {'e', {kG, {1, 1, 1, 1.5f}, {0, 1.5f, 1, 1.5f}, kE, kD}},
    {'r', {kE, {0, 1, 1, 1}}},
    {'a', {kG, kC, kD, kE, {0, 1.5f, 1, 1.5f}}},
    {'n', {kE, kG, kC}},
    {'g', {kG, kB, kC, kD, {0, 1, 0, 1.5f}, {0, 1.5f, 1, 1.5f}}},
    {'-', {kG}},
}};

constexpr float kGlyphAdvance = 1.5f;   // a glyph and the gap after it
constexpr float kNarrowAdvance = 0.5f;  // a group separator
constexpr float kSpaceAdvance = 0.75f;
constexpr float kLargestUnit = 60;  // a cell is at most 60 units wide and 120 high

const Glyph* glyphOf(char c) {
    const auto* g =
        std::find_if(kGlyphs.begin(), kGlyphs.end(), [c](const Glyph& x) { return x.c == c; });
    return g == kGlyphs.end() ? nullptr : g;
}

float advanceOf(char c) {
    if (c == ' ') {
        return kSpaceAdvance;
    }
    return glyphOf(c) != nullptr ? kGlyphAdvance : kNarrowAdvance;
}

void drawLarge(Form1& w, const std::string& shown) {
    // No grid behind the digits: the scale beside the plot, left from a sweep, goes too.
    for (Ctl* div : w.divLabels()) {
        (*div)->text.clear();
    }
    w.ldivunit->text.clear();
    w.canvas().Clear();
    drawLargeText(w.canvas(), shown, kDigitColour);
}

std::string shownReading(const std::optional<double>& hz, char group) {
    return hz ? formatGrouped(*hz, 0, group) + kUnit : kCounterOverRange;
}

}  // namespace

CounterSpread counterSpread(const std::deque<std::optional<double>>& history) {
    CounterSpread out;
    std::optional<double> lowest, highest;
    for (const std::optional<double>& hz : history) {
        if (!hz) {
            continue;
        }
        ++out.known;
        lowest = std::min(lowest.value_or(*hz), *hz);
        highest = std::max(highest.value_or(*hz), *hz);
    }
    if (out.known >= 2) {
        out.spreadHz = *highest - *lowest;
    }
    return out;
}

std::string counterGateText(std::int32_t prescale) {
    return "Gate 1 s, resolution " + std::to_string(prescale) + " Hz";
}

std::string counterHistoryText(const std::deque<std::optional<double>>& history, char group) {
    // Five readings a line, newest first, so that ten fit in two lines under the plot.
    std::string out;
    std::size_t onLine = 0;
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        out += (onLine != 0 ? kReadingGap : "") +
               (*it ? formatGrouped(**it, 0, group) : std::string(kCounterOverRange));
        onLine = (onLine + 1) % kReadingsPerLine;
        out += onLine == 0 ? "\n" : "";
    }
    if (onLine != 0) {
        out += "\n";
    }
    const CounterSpread spread = counterSpread(history);
    out += "Spread of " + std::to_string(spread.known) + ": " +
           (spread.spreadHz ? formatGrouped(*spread.spreadHz, 0, group) + kUnit : kNoSpread);
    return out;
}

void drawLargeText(Canvas& canvas, std::string_view text, Colour colour) {
    float units = 0;
    for (const char c : text) {
        units += advanceOf(c);
    }
    if (units <= 0) {
        return;
    }
    units -= kGlyphAdvance - 1;  // no gap after the last
    const float usable = plot::kColumns;
    const float scale = std::min(kLargestUnit, usable / units);
    const int width = std::max(2, static_cast<int>(scale / 6));
    float x = (plot::kPictureWidth - units * scale) / 2;
    const float top = plot::kPictureHeight / 2.0f - scale;
    for (const char c : text) {
        if (const Glyph* g = glyphOf(c)) {
            for (const Stroke& s : g->strokes) {
                canvas.Line(x + s.x1 * scale, top + s.y1 * scale, x + s.x2 * scale,
                            top + s.y2 * scale, colour, width, LineStyle::Solid);
            }
        } else if (c == ',' || c == '.') {
            // A separator: a short stroke under the line, a comma slanting left.
            const float lean = c == ',' ? scale / 8 : 0;
            canvas.Line(x + scale / 8, top + 1.85f * scale, x + scale / 8 - lean,
                        top + 2.1f * scale, colour, width, LineStyle::Solid);
        }
        x += advanceOf(c) * scale;
    }
}

void counterReadingShown(Form1& w, std::optional<double> hz) {
    std::deque<std::optional<double>>& history = w.mon().counterHistory;
    history.push_back(hz);
    while (history.size() > kCounterHistoryLength) {
        history.pop_front();
    }
    if (!ticked(*w.cntdisplay)) {
        return;
    }
    const char group = w.state().host.groupSeparator;
    w.cnthistory->text = counterHistoryText(history, group);
    drawLarge(w, shownReading(hz, group));
}

void counterHistoryCleared(Form1& w) {
    w.mon().counterHistory.clear();
    w.cntgate->text = counterGateText(w.mon().fcprescale);
    w.cnthistory->text = counterHistoryText({}, w.state().host.groupSeparator);
}

void showCounterLines(Form1& w) {
    // Only the counter's mode shows them: under the plot they share the rows of the scope's
    // readouts.
    const MonitorMode* mode = chosenMode(w);
    const bool counter =
        mode != nullptr && std::ranges::any_of(mode->steps, [](const RunStep& step) {
            return step.state == RunState::Counter;
        });
    const bool on = counter && ticked(*w.cntdisplay);
    w.cntgate->visible = on;
    w.cnthistory->visible = on;
}

void Form1::cntdisplay_Click() {
    showCounterLines(*this);
    const bool on = cntgate->visible;
    cntgate->text = counterGateText(mon().fcprescale);
    cnthistory->text = counterHistoryText(mon().counterHistory, state().host.groupSeparator);
    const std::deque<std::optional<double>>& history = mon().counterHistory;
    if (on && !history.empty()) {
        drawLarge(*this, shownReading(history.back(), state().host.groupSeparator));
    } else if (!on && !history.empty()) {
        canvas().Clear();
        mgrid1(canvas());
    }
}

}  // namespace tunx
