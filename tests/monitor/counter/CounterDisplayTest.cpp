// The counter's large display on the virtual bench: the reading in big digits on the plot, the
// gate time and resolution of the range, and the last ten readings with their spread.
#include <algorithm>
#include <array>
#include <map>
#include <sstream>

#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

using CounterDisplay = MonitorRig;

// Reads the digits drawn on the plot back as a seven-segment display is read: every glyph is a
// group of strokes apart from the next; a full-height glyph's strokes are segments a (top) to
// g (middle); a short one low down is a separator. Strokes that are no segment read as '?'.
std::string readDigits(const std::vector<Drawn>& lines) {
    std::vector<Drawn> sorted = lines;
    std::ranges::sort(sorted, {}, [](const Drawn& d) { return std::min(d.x1, d.x2); });
    std::vector<std::vector<Drawn>> glyphs;
    double right = -1e9;
    for (const Drawn& d : sorted) {
        if (glyphs.empty() || std::min(d.x1, d.x2) > right + 1) {
            glyphs.emplace_back();
        }
        glyphs.back().push_back(d);
        right = glyphs.back().size() == 1 ? std::max(d.x1, d.x2)
                                          : std::max(right, std::max(d.x1, d.x2));
    }
    double top = 1e9, bottom = -1e9;
    for (const Drawn& d : lines) {
        top = std::min({top, d.y1, d.y2});
        bottom = std::max({bottom, d.y1, d.y2});
    }
    const double s = (bottom - top) / 2;  // a segment's length (the separators reach a bit lower)
    const std::map<int, char> digitOf{{0x3F, '0'}, {0x06, '1'}, {0x5B, '2'}, {0x4F, '3'},
                                      {0x66, '4'}, {0x6D, '5'}, {0x7D, '6'}, {0x07, '7'},
                                      {0x7F, '8'}, {0x6F, '9'}};
    const auto near = [&](double a, double b) { return std::abs(a - b) < s / 4; };
    std::string out;
    for (const std::vector<Drawn>& g : glyphs) {
        double gl = 1e9, gr = -1e9, gt = 1e9, gb = -1e9;
        for (const Drawn& d : g) {
            gl = std::min({gl, d.x1, d.x2});
            gr = std::max({gr, d.x1, d.x2});
            gt = std::min({gt, d.y1, d.y2});
            gb = std::max({gb, d.y1, d.y2});
        }
        if (gb - gt < s / 2) {
            out += ',';
            continue;
        }
        const double left = gr - s;
        int mask = 0;
        bool segments = true;
        for (const Drawn& d : g) {
            const bool flat = near(d.y1, d.y2), upright = near(d.x1, d.x2);
            const double midY = (d.y1 + d.y2) / 2;
            int bit = -1;
            if (flat && near(std::abs(d.x2 - d.x1), s)) {
                bit = near(midY, top)           ? 0
                      : near(midY, top + s)     ? 6
                      : near(midY, top + 2 * s) ? 3
                                                : -1;
            } else if (upright && near(std::abs(d.y2 - d.y1), s)) {
                const bool upper = midY < top + s;
                bit = near(d.x1, gr) ? (upper ? 1 : 2) : near(d.x1, left) ? (upper ? 5 : 4) : -1;
            }
            segments = segments && bit >= 0;
            mask |= bit >= 0 ? 1 << bit : 0;
        }
        const auto digit = segments ? digitOf.find(mask) : digitOf.end();
        out += digit == digitOf.end() ? '?' : digit->second;
    }
    return out;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        out.push_back(l);
    }
    return out;
}

// The readings of the history, newest first, and its last line (the spread).
std::pair<std::vector<std::string>, std::string> historyOf(const std::string& text) {
    std::vector<std::string> lines = linesOf(text);
    const std::string spread = lines.back();
    lines.pop_back();
    std::vector<std::string> readings;
    for (std::string l : lines) {
        for (auto gap = l.find("   "); gap != std::string::npos; gap = l.find("   ")) {
            readings.push_back(l.substr(0, gap));
            l.erase(0, gap + 3);
        }
        readings.push_back(l);
    }
    return {readings, spread};
}

TEST_F(CounterDisplay, ShowsTheReadingLargeWithGateResolutionAndTheLastTenReadings) {
    struct Row {
        const char* what;
        const char* signal;  // sim instruction
        const char* range;
        const char* gate;
        double hz;     // the signal's frequency; 0: above the range
        double count;  // the counter's own +-1 count, times the prescaler
    };
    const Row rows[] = {
        {"12.345678 MHz direct", "signal CH2 sine 12345678 1", "1Hz - 20Mhz",
         "Gate 1 s, resolution 1 Hz", 12345678, 1},
        {"1.5 GHz through the prescaler of 128", "signal CH2 sine 1500M 1", "200-2000Mhz",
         "Gate 1 s, resolution 128 Hz", 1.5e9, 128},
        {"100 MHz direct is over the range", "signal CH2 sine 100M 1", "1Hz - 20Mhz",
         "Gate 1 s, resolution 1 Hz", 0, 0},
    };
    choose(m().selmonmode, "Frequency Counter");
    rig.program.dispatch([&] { m().check(*m().cntdisplay, 1); });
    EXPECT_TRUE(m().cntgate->visible);
    EXPECT_TRUE(m().cnthistory->visible);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        instruct(row.signal);
        choose(m().frangesel, row.range);
        EXPECT_EQ(m().cntgate->text, row.gate);
        EXPECT_EQ(m().cnthistory->text, "Spread of 0: \u2014");  // a new range starts afresh
        click("cmdstartsweep_Click");
        std::size_t from = 0;
        for (int reading = 0; reading < 12; ++reading) {
            from = mark();
            tick();
        }
        const auto [history, spread] = historyOf(m().cnthistory->text);
        ASSERT_EQ(history.size(), 10u);  // the last ten, newest first
        const std::vector<Drawn> digits = drawn(from);
        EXPECT_EQ(m().ldiv8->text, "");  // no scale beside digits
        ASSERT_FALSE(digits.empty());
        for (const Drawn& d : digits) {
            EXPECT_EQ(d.colour, kYellow);
            EXPECT_TRUE(d.x1 >= 0 && d.x2 <= 704 && d.y1 >= 0 && d.y2 <= 576);
        }
        if (row.hz == 0) {
            EXPECT_EQ(m().frcountertxt->text, "Over range");
            EXPECT_EQ(history.front(), "Over range");
            EXPECT_EQ(spread, "Spread of 0: \u2014");
            continue;
        }
        // The picture says what the field says, in digits a bench user reads from afar.
        EXPECT_EQ(readDigits(digits), m().frcountertxt->text + "??");
        EXPECT_EQ(history.front(), m().frcountertxt->text);
        for (const std::string& reading : history) {
            EXPECT_NEAR(number(reading), row.hz, row.count);
        }
        ASSERT_TRUE(spread.starts_with("Spread of 10: "));
        const std::string hz = spread.substr(14);
        // From one count below to one above: the readings spread over two counts at most.
        EXPECT_LE(number(hz.substr(0, hz.find(' '))), 2 * row.count);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(CounterDisplay, IsOffUntilTickedAndLeavesThePlotToTheOriginal) {
    instruct("signal CH2 sine 1M 1");
    choose(m().selmonmode, "Frequency Counter");
    EXPECT_EQ(m().cntdisplay->value, 0);
    EXPECT_FALSE(m().cntgate->visible);
    EXPECT_FALSE(m().cnthistory->visible);
    click("cmdstartsweep_Click");
    std::size_t from = mark();
    tick(3);
    EXPECT_TRUE(drawn(from).empty());
    EXPECT_EQ(m().frcountertxt->text, "1,000,000");
    // Ticked later, it shows the readings already taken; unticked, the grid comes back.
    rig.program.dispatch([&] { m().check(*m().cntdisplay, 1); });
    EXPECT_EQ(
        historyOf(m().cnthistory->text),
        std::make_pair(std::vector<std::string>(3, "1,000,000"), std::string("Spread of 3: 0 Hz")));
    from = mark();
    rig.program.dispatch([&] { m().check(*m().cntdisplay, 0); });
    const std::vector<Drawn> grid = drawn(from);
    EXPECT_FALSE(grid.empty());
    EXPECT_TRUE(std::ranges::all_of(grid, [](const Drawn& d) { return d.colour == "0"; }));
    // Other modes do not offer it, and hide its lines, which share the rows of the scope's
    // readouts under the plot; the counter's mode shows them again.
    rig.program.dispatch([&] { m().check(*m().cntdisplay, 1); });
    choose(m().selmonmode, "Scope CH1");
    EXPECT_FALSE(m().cntdisplay->enabled);
    EXPECT_FALSE(m().cntgate->visible || m().cnthistory->visible);
    rig.program.dispatch([&] { m().check(*m().cntdisplay, 1); });  // as a script may
    EXPECT_FALSE(m().cntgate->visible || m().cnthistory->visible);
    choose(m().selmonmode, "Frequency Counter");
    EXPECT_TRUE(m().cntgate->visible && m().cnthistory->visible);
}

}  // namespace
}  // namespace tunx::test
