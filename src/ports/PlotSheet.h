#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Colour.h"

namespace tunx {

enum class TextAlign { Left, Centre, Right };

// A text of a saved plot picture, in the picture's pixels: `x` is its left edge, centre or
// right edge (by `align`), `y` the middle of its line.
struct SheetText {
    std::string text;
    int x = 0;
    int y = 0;
    TextAlign align = TextAlign::Left;
    Colour fore = colour::kBlack;
    std::optional<Colour> back{};  // a box behind the text (the level indicators)
    bool dated = false;            // the date and time of saving follow the text
};

// The monitor's plot as a picture to keep: the plot at (plotX, plotY) on white paper, with
// the texts around it (scale labels, captions, measurements, settings). Every text lies
// within the picture; a line of text is kRowHeight pixels high.
struct PlotSheet {
    static constexpr int kRowHeight = 18;
    int width = 0;
    int height = 0;
    int plotX = 0;
    int plotY = 0;
    std::vector<SheetText> texts;
};

}  // namespace tunx
