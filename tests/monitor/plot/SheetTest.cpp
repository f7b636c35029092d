// The plot as "Save plot as PNG" keeps it: which texts go where around the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "../MonitorRig.h"
#include "monitor/plot/Sheet.h"

namespace tunx::test {
namespace {

using Sheet = MonitorRig;

const SheetText* find(const PlotSheet& sheet, const std::string& text) {
    const auto it = std::find_if(sheet.texts.begin(), sheet.texts.end(),
                                 [&](const SheetText& t) { return t.text == text; });
    return it == sheet.texts.end() ? nullptr : &*it;
}

// A 1 kHz, 4 Vpp sine on the scope: the CH1 indicator right of the plot at the channel's level,
// the captions, the measurement line and the settings in force under it, every text within the
// picture.
TEST_F(Sheet, TheScopesPlotKeepsItsIndicatorsCaptionsMeasurementsAndSettings) {
    generatorSine("1", "kHz", "4");
    set("selmonmode=Scope CH1|trigmode=Auto|trigeredge=Negative");
    click("cmdstartsweep_Click");
    tick(3);
    const PlotSheet sheet = plotSheet(m());
    const int bottom = sheet.plotY + kPictureHeight;

    const SheetText* ch1 = find(sheet, m().ch1text->text);
    ASSERT_NE(ch1, nullptr);
    EXPECT_GE(ch1->x, sheet.plotX + kPictureWidth);
    EXPECT_EQ(ch1->y, sheet.plotY + static_cast<int>(m().ch1text->top) + 7);

    const SheetText* perDiv = find(sheet, m().tdivtext->text);
    ASSERT_NE(perDiv, nullptr);
    EXPECT_GT(perDiv->y, bottom);

    ASSERT_FALSE(m().measch1->text.empty());
    const SheetText* measured = find(sheet, m().measch1->text);
    ASSERT_NE(measured, nullptr);
    EXPECT_GT(measured->y, perDiv->y);

    const SheetText& mode = sheet.texts[sheet.texts.size() - 2];
    const SheetText& trigger = sheet.texts.back();
    EXPECT_EQ(mode.text, "Scope CH1   1ms/div   CH1 1V/div");
    EXPECT_EQ(trigger.text, "Trigger CH1 Negative Auto   8 bit 40Ms, Real time");
    EXPECT_FALSE(mode.dated);
    EXPECT_TRUE(trigger.dated);
    EXPECT_GT(mode.y, measured->y);
    EXPECT_EQ(trigger.y, mode.y + PlotSheet::kRowHeight);
    for (const SheetText& t : sheet.texts) {
        EXPECT_GE(t.y - PlotSheet::kRowHeight / 2, 0) << t.text;
        EXPECT_LE(t.y + PlotSheet::kRowHeight / 2, sheet.height) << t.text;
        EXPECT_TRUE(t.x >= 0 && t.x <= sheet.width) << t.text;
    }
}

// A sweep's scale: ldiv0 at the bottom grid line (row 544), ldiv8 eight divisions of 64 above,
// right-aligned left of the plot.
TEST_F(Sheet, TheScaleLabelsStandAtTheirGridLinesLeftOfThePlot) {
    choose(m().selmonmode, "Frequency Sweep");
    const PlotSheet sheet = plotSheet(m());
    ASSERT_FALSE(m().ldiv0->text.empty());
    const SheetText* low = find(sheet, m().ldiv0->text);
    const SheetText* high = find(sheet, m().ldiv8->text);
    ASSERT_NE(low, nullptr);
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(low->y, sheet.plotY + 544);
    EXPECT_EQ(high->y, sheet.plotY + 544 - 8 * 64);
    EXPECT_LT(low->x, sheet.plotX);
    EXPECT_EQ(low->align, TextAlign::Right);
}

// The settings lines say what the mode measures with.
TEST_F(Sheet, TheSettingsLinesNameWhatTheModeMeasuresWith) {
    struct Row {
        const char* choices;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {.choices = "selmonmode=Frequency Sweep|stopfunit=kHz",
         .lines = {"Frequency Sweep   1 MHz to 2 kHz   " + m().selrfrange->text}},
        {.choices = "selmonmode=Scope CH1+CH2|seltimediv=10us/div|ch2vdiv=0.2V|trigsource=CH2",
         .lines = {"Scope CH1+CH2   10us/div   CH1 1V/div   CH2 0.2V/div",
                   "Trigger CH2 Positive Free-running   8 bit 40Ms, Real time"}},
        {.choices = "selmonmode=Scope CH2|scopemode=Undersampling|seltimediv=10ns/div",
         .lines = {"Scope CH2   10ns/div   CH2 0.2V/div",
                   "Trigger CH2 Positive Free-running   8 bit 40Ms, Undersampling"}},
        {.choices = "selmonmode=Frequency Counter|frangesel=10-300Mhz",
         .lines = {"Frequency Counter   10-300Mhz"}},
    };
    for (const Row& row : rows) {
        set(row.choices);
        EXPECT_EQ(settingsLines(m()), row.lines) << row.choices;
        EXPECT_EQ(plotSheet(m()).texts.back().text, row.lines.back()) << row.choices;
    }
}

// The statistics table and other texts under the plot come along, one line to a row, and the
// picture grows to hold them.
TEST_F(Sheet, TextsUnderThePlotComeAlongOneLineToARow) {
    generatorSine("1", "kHz", "4");
    choose(m().selmonmode, "Scope CH1");
    rig.program.dispatch([&] { m().check(*m().measstats, 1); });
    click("cmdstartsweep_Click");
    tick(4);
    ASSERT_TRUE(m().statch1->visible);
    const PlotSheet with = plotSheet(m());
    std::istringstream table(m().statch1->text);
    int lines = 0;
    for (std::string line; std::getline(table, line); ++lines) {
        EXPECT_NE(find(with, line), nullptr) << line;
    }
    EXPECT_GE(lines, 3);
    rig.program.dispatch([&] { m().check(*m().measstats, 0); });
    const PlotSheet without = plotSheet(m());
    EXPECT_GE(with.height - without.height, lines * PlotSheet::kRowHeight);
}

}  // namespace
}  // namespace tunx::test
