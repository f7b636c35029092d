// The plot with the texts around it, as a picture keeps it.
#include "monitor/plot/Sheet.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/PanelGroups.h"
#include "monitor/plot/Plot.h"

namespace tunx {

namespace {

constexpr int kLeft = 64;   // room for the scale labels
constexpr int kRight = 56;  // and for the indicators
constexpr int kTop = 10;
constexpr int kGap = 4;              // between a label and the plot
constexpr int kGridBottom = 544;     // the bottom grid line
constexpr int kIndicatorMiddle = 7;  // an indicator's `top` is this far above the level it marks
constexpr int kAxisLeft = 32;        // the grid's left and right edges
constexpr int kAxisRight = 672;
constexpr const char* kSeparator = "   ";
constexpr const char* kPerDivision = "/div";

bool shown(const Control& c) {
    return c.visible && !c.text.empty();
}

// Texts spread over the grid's width in equal cells: the first at the left, the last at the
// right, the others centred.
void spread(PlotSheet& sheet, std::span<const Control* const> row, int y) {
    const int cells = static_cast<int>(row.size());
    const int width = (kAxisRight - kAxisLeft) / std::max(cells, 1);
    for (int i = 0; i < cells; ++i) {
        const Control& c = *row[static_cast<std::size_t>(i)];
        if (!shown(c)) {
            continue;
        }
        const int left = sheet.plotX + kAxisLeft + i * width;
        SheetText t{.text = c.text, .x = left + width / 2, .y = y, .align = TextAlign::Centre};
        if (cells > 1 && i == 0) {
            t.align = TextAlign::Left;
            t.x = left;
        } else if (cells > 1 && i == cells - 1) {
            t.align = TextAlign::Right;
            t.x = left + width;
        }
        sheet.texts.push_back(std::move(t));
    }
}

bool anyShown(std::span<const Control* const> row) {
    return std::any_of(row.begin(), row.end(), [](const Control* c) { return shown(*c); });
}

}  // namespace

std::vector<std::string> settingsLines(const Form1& w) {
    std::ostringstream first;
    first << w.selmonmode->text;
    const MonitorMode* mode = chosenMode(w);
    if (mode != nullptr && mode->isScope()) {
        first << kSeparator << w.seltimediv->text;
        if (mode->ch1) {
            first << kSeparator << "CH1 " << w.ch1vdiv->text << kPerDivision;
        }
        if (mode->ch2) {
            first << kSeparator << "CH2 " << w.ch2vdiv->text << kPerDivision;
        }
        std::ostringstream second;
        second << "Trigger " << w.trigsource->text << ' ' << w.trigeredge->text << ' '
               << w.trigmode->text << kSeparator << w.adcselect->text << ", " << w.scopemode->text;
        return {first.str(), second.str()};
    }
    if (mode != nullptr && mode->sweep) {
        first << kSeparator << w.startf->text << ' ' << w.startfunit->text << " to "
              << w.stopf->text << ' ' << w.stopfunit->text << kSeparator << w.selrfrange->text;
    } else if (mode != nullptr) {
        first << kSeparator << w.frangesel->text;
    }
    return {first.str()};
}

PlotSheet plotSheet(const Form1& w) {
    PlotSheet sheet;
    sheet.plotX = kLeft;
    sheet.plotY = kTop;
    sheet.width = kLeft + plot::kPictureWidth + kRight;
    const int row = PlotSheet::kRowHeight;

    // The scale at the grid lines, its unit at the bottom.
    const std::array<Ctl, 9> divs{w.ldiv0, w.ldiv1, w.ldiv2, w.ldiv3, w.ldiv4,
                                  w.ldiv5, w.ldiv6, w.ldiv7, w.ldiv8};
    for (std::size_t i = 0; i < divs.size(); ++i) {
        const Control& c = *divs[i];
        if (shown(c)) {
            sheet.texts.push_back({.text = c.text,
                                   .x = kLeft - kGap,
                                   .y = kTop + kGridBottom - plot::kDivision * static_cast<int>(i),
                                   .align = TextAlign::Right});
        }
    }
    if (shown(*w.ldivunit)) {
        sheet.texts.push_back({.text = w.ldivunit->text,
                               .x = kLeft - kGap,
                               .y = kTop + plot::kPictureHeight - row / 2,
                               .align = TextAlign::Right});
    }
    // The indicators at the levels they mark.
    for (const Ctl& c : {w.ch1text, w.ch2text, w.trigertext}) {
        if (shown(*c)) {
            const int y = kTop + static_cast<int>(c->top) + kIndicatorMiddle;
            sheet.texts.push_back({.text = c->text,
                                   .x = kLeft + plot::kPictureWidth + 2,
                                   .y = std::clamp(y, row / 2, kTop + plot::kPictureHeight),
                                   .fore = c->fore,
                                   .back = c->back});
        }
    }

    // Under the plot, row by row.
    int y = kTop + plot::kPictureHeight + row / 2 + 2;
    const std::array<const Control*, 3> axis{w.labstartfr.get(), w.centerfr.get(),
                                             w.labstopfr.get()};
    const std::array<const Control*, 5> captions{w.tdivtext.get(), w.ch1vdivtext.get(),
                                                 w.ch2vdivtext.get(), w.horpostext.get(),
                                                 w.fftmaxfrequency.get()};
    for (std::span<const Control* const> cells :
         {std::span<const Control* const>(axis), std::span<const Control* const>(captions)}) {
        if (anyShown(cells)) {
            spread(sheet, cells, y);
            y += row;
        }
    }
    // Every other text the window shows under the plot, in the window's order.
    const auto placed = [&](const Control* c) {
        return std::find(axis.begin(), axis.end(), c) != axis.end() ||
               std::find(captions.begin(), captions.end(), c) != captions.end() ||
               c == w.ch1text.get() || c == w.ch2text.get() || c == w.trigertext.get() ||
               c == w.ldivunit.get() ||
               std::any_of(divs.begin(), divs.end(), [c](const Ctl& d) { return d.get() == c; });
    };
    for (const auto& owned : w.controls()) {
        const Control& c = *owned;
        if (c.group != monitorgroup::kPlot || c.kind != ControlKind::Label || !shown(c) ||
            placed(&c)) {
            continue;
        }
        std::istringstream lines(c.text);
        for (std::string text; std::getline(lines, text);) {
            sheet.texts.push_back({.text = text, .x = kLeft + kAxisLeft / 2, .y = y});
            y += row;
        }
    }
    const std::vector<std::string> settings = settingsLines(w);
    for (std::size_t i = 0; i < settings.size(); ++i) {
        sheet.texts.push_back({.text = settings[i],
                               .x = kLeft + kAxisLeft / 2,
                               .y = y,
                               .dated = i + 1 == settings.size()});
        y += row;
    }
    sheet.height = y - row / 2 + kTop;
    return sheet;
}

}  // namespace tunx
