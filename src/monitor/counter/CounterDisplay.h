#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "common/Colour.h"
#include "ports/Canvas.h"

namespace tunx {

class Form1;

// What the counter shows for a reading above its range.
inline constexpr const char* kCounterOverRange = "Over range";

// How many of the last readings the counter's history keeps.
inline constexpr std::size_t kCounterHistoryLength = 10;

// The known readings among the kept ones: how many, and the distance from the lowest to the
// highest (none below two).
struct CounterSpread {
    std::size_t known = 0;
    std::optional<double> spreadHz;
};
CounterSpread counterSpread(const std::deque<std::optional<double>>& history);

// "Gate 1 s, resolution 16 Hz": the counter counts for 1000 sample intervals, one second, so
// one count is one period of the prescaled input.
std::string counterGateText(std::int32_t prescale);

// The readings newest first, two a line ("Over range" for a reading above the range), and
// their spread on the last line.
std::string counterHistoryText(const std::deque<std::optional<double>>& history, char group);

// Draws `text` in large stroke digits across the middle of the picture: digits, the group
// separators, and the letters of "Hz" and "Over range".
void drawLargeText(Canvas& canvas, std::string_view text, Colour colour);

// A reading came in (none: above the range): kept in the history and, with the large display
// on, shown.
void counterReadingShown(Form1& w, std::optional<double> hz);

// A new range or a new start: the history begins again.
void counterHistoryCleared(Form1& w);
// Shows the gate and history lines while the counter's mode is chosen with its large display
// on; hides them otherwise.
void showCounterLines(Form1& w);

}  // namespace tunx
