// The slider and its tab strips, the measuring cursors and their readouts, the mouse readout.
#include <algorithm>

#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

constexpr const char* kWhite = "16777215";
constexpr int kTabCh1 = 1, kTabCh2 = 2, kTabTrigger = 3, kTabHorizontal = 4, kTabC1 = 5, kTabC2 = 6;
constexpr int kVoltage = 1, kTime = 2, kOff = 3;

class Cursors : public MonitorRig {
  protected:
    void SetUp() override {
        MonitorRig::SetUp();
        choose(m().selmonmode, "Scope CH1");
    }
    // Cursor kind, then the slider function, as a user clicks them.
    void select(int kind, int function) {
        tab(m().TabStrip3, kind);
        tab(m().TabStrip2, function);
    }
    // White cursor lines and lines in the picture's background since `from`.
    std::vector<Drawn> cursorLines(std::size_t from) const {
        std::vector<Drawn> out;
        for (const Drawn& d : drawn(from)) {
            if (d.width == 1 && (d.colour == kWhite || d.colour == "back")) {
                out.push_back(d);
            }
        }
        return out;
    }
};

// The slider moves the quantity its tab chose (a channel's position with its offset DAC), and
// choosing the tab sets the slider to the value that maps back onto the quantity as it stands,
// also at the slider's ends: choosing it again and again moves nothing and sends nothing.
TEST_F(Cursors, TheSliderMovesItsQuantityAndATabMapsItBack) {
    struct Row {
        int kind, function;
        int v;                  // where the slider put the quantity first (-1: the defaults)
        const char* indicator;  // the mark that moves with it, if checked
        double top;
        std::int16_t MonitorState::*value;  // the quantity, if checked
        std::int16_t expected;
        int dacChannel;  // 0: nothing sent
        int slider;      // after the tab is chosen again
        std::int16_t cursorsel;
    };
    using S = MonitorState;
    const Row rows[] = {
        {kOff, kTabCh1, -1, nullptr, 0, nullptr, 0, 0, 512, 0},  // CH1> at 281: position 256
        {kOff, kTabCh2, -1, nullptr, 0, nullptr, 0, 0, 256, 0},  // CH2> at 409: position 128
        {kOff, kTabTrigger, -1, nullptr, 0, nullptr, 0, 0, 640, 0},
        {kOff, kTabHorizontal, -1, nullptr, 0, nullptr, 0, 0, 512, 0},
        {kVoltage, kTabC1, -1, nullptr, 0, nullptr, 0, 0, 223, 1},  // row 400: 1023 - 400 x 4 / 2
        {kVoltage, kTabC2, -1, nullptr, 0, nullptr, 0, 0, 823, 2},  // row 100
        {kTime, kTabC1, -1, nullptr, 0, nullptr, 0, 0, 100, 3},
        {kTime, kTabC2, -1, nullptr, 0, nullptr, 0, 0, 300, 4},
        {kOff, kTabC1, -1, nullptr, 0, nullptr, 0, 0, 300, 0},  // no cursor: the slider stays
        {kOff, kTabCh1, 1023, "ch1text", 25.5, &S::ch1pos, 512, 8, 1023, 0},
        {kOff, kTabCh1, 0, "ch1text", 537, &S::ch1pos, 0, 8, 0, 0},
        {kOff, kTabCh1, 511, "ch1text", 281.5, &S::ch1pos, 256, 8, 511, 0},
        {kOff, kTabCh2, 300, "ch2text", 387, &S::ch2pos, 150, 5, 300, 0},
        {kOff, kTabCh2, 511, nullptr, 0, nullptr, 0, 5, 511, 0},
        {kOff, kTabTrigger, 641, "trigertext", 216, &S::triglevel, 320, 0, 640, 0},
        {kOff, kTabTrigger, 643, "trigertext", 216, &S::triglevel, 322, 0, 644, 0},
        {kOff, kTabTrigger, 0, "trigertext", 537, &S::triglevel, 0, 0, 0, 0},
        {kOff, kTabTrigger, 1023, nullptr, 0, &S::triglevel, 512, 0, 1023, 0},
        {kVoltage, kTabC1, 821, nullptr, 0, &S::vcur1, 101, 0, 821, 1},
        {kVoltage, kTabC2, 0, nullptr, 0, &S::vcur2, 512, 0, 0, 2},
        {kTime, kTabC2, 1023, nullptr, 0, &S::hcur2, 640, 0, 640, 4},  // the last column
    };
    const auto quantities = [&] {
        const MonitorState& s = mon();
        return std::vector<int>{s.ch1pos, s.ch2pos, s.triglevel, s.horpos,
                                s.vcur1,  s.vcur2,  s.hcur1,     s.hcur2};
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("tab " + std::to_string(row.function) + " at " + std::to_string(row.v));
        select(row.kind, row.function);
        if (row.v >= 0) {
            const std::size_t from = mark();
            slide(row.v);
            if (row.value != nullptr) {
                EXPECT_EQ(mon().*row.value, row.expected);
            }
            const std::vector<Frame> sent = frames(from);
            if (row.dacChannel != 0) {
                ASSERT_EQ(sent.size(), 1u);
                EXPECT_EQ(std::pair(sent[0][0], sent[0][3]), std::pair(31, row.dacChannel));
            } else {
                EXPECT_TRUE(sent.empty());
            }
            if (row.indicator != nullptr) {
                const Control& indicator = m()[row.indicator];
                EXPECT_DOUBLE_EQ(indicator.top, row.top);
                if (row.dacChannel != 0) {
                    EXPECT_EQ(indicator.fore, row.dacChannel == 8 ? 255u : 65535u);
                } else {
                    EXPECT_EQ(indicator.back, 16777215u);
                }
            }
        }
        const auto before = quantities();
        const std::size_t from = mark();
        for (int click = 0; click < 3; ++click) {
            tab(m().TabStrip2, row.function);
        }
        EXPECT_EQ(m().Slider1->value, row.slider);
        EXPECT_EQ(mon().cursorsel, row.cursorsel);
        EXPECT_EQ(quantities(), before);
        EXPECT_TRUE(frames(from).empty());
    }
    // Only the horizontal tab's slider speaks: the long record is not chosen.
    EXPECT_EQ(messages(), std::vector<std::string>{"Check 2048 Points Check box first!"});
    // The sweep modes leave the slider alone.
    choose(m().selmonmode, "Frequency Sweep");
    select(kOff, kTabTrigger);
    EXPECT_EQ(m().Slider1->value, 640);
}

// Hor. Position moves through the long record on the plot, drawn as it was taken; a short
// record there has nothing more to show, whatever the box says now.
TEST_F(Cursors, TheHorizontalPositionNeedsTheLongRecordAndAStoppedScope) {
    struct Row {
        bool longRecord, running;
        bool tickedAfter;  // the box ticked after a short record
        int v;
        const char* message;
        std::int16_t horpos;
    };
    const Row rows[] = {
        {false, false, false, 0, "Check 2048 Points Check box first!", 0},
        {true, true, false, 0, "Use Stop Button first!", 0},
        {true, false, false, 0, nullptr, 2048},
        {true, false, false, 1023, nullptr, 2},
        {true, false, false, 512, nullptr, 1024},
        {false, false, true, 0,
         "No 2048-sample record on the plot: press START with the box ticked, then STOP.", 1024},
    };
    generatorSine("1", "kHz", "4");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.v));
        m().reclenght->value = row.longRecord ? 1 : 0;
        click("cmdstartsweep_Click");
        tick(2);
        if (!row.running) {
            click("cmdstop_Click");
        }
        if (row.tickedAfter) {
            m().reclenght->value = 1;
        }
        tab(m().TabStrip2, kTabHorizontal);
        const std::size_t said = messages().size();
        const std::size_t from = mark();
        slide(row.v);
        EXPECT_EQ(messagesAfter(said),
                  row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
        EXPECT_EQ(mon().horpos, row.horpos);
        EXPECT_EQ(trace(from, kRed).size(), row.message ? 0u : 637u);
    }
}

// Voltage lines run from (34, 32 + v) to (672, 32 + v); time lines from (32 + h, 34) to
// (32 + h, 544). A cursor that lands on the other is dotted; its old line is wiped.
TEST_F(Cursors, AMovedCursorIsRedrawnAndLeavesTheOtherStanding) {
    struct Row {
        int kind, function, v;
        std::int16_t MonitorState::*cursor;
        std::int16_t position;
        bool dotted;
        int erased;  // where its old line was wiped (-1: nothing wiped)
    };
    const Row rows[] = {
        {kVoltage, kTabC1, 0, &MonitorState::vcur1, 512, false, 400},  // 511.5 goes to 512
        {kVoltage, kTabC1, 1023, &MonitorState::vcur1, 0, false, 512},
        {kVoltage, kTabC1, 823, &MonitorState::vcur1, 100, true, 0},    // onto the second
        {kVoltage, kTabC1, 623, &MonitorState::vcur1, 200, false, -1},  // the other stays
        {kVoltage, kTabC2, 423, &MonitorState::vcur2, 300, false, 100},
        {kTime, kTabC1, 1023, &MonitorState::hcur1, 640, false, 100},  // the last column
        {kTime, kTabC1, 0, &MonitorState::hcur1, 0, false, 640},
        {kTime, kTabC2, 201, &MonitorState::hcur2, 201, false, 300},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.function) + " at " + std::to_string(row.v));
        select(row.kind, row.function);
        const std::size_t from = mark();
        slide(row.v);
        EXPECT_EQ(mon().*row.cursor, row.position);
        const auto lines = cursorLines(from);
        ASSERT_FALSE(lines.empty());
        const Drawn& l = lines.back();
        const double at = 32.0 + row.position;
        EXPECT_EQ(std::tuple(l.x1, l.y1, l.x2, l.y2, l.colour, l.dotted),
                  row.kind == kVoltage ? std::tuple(34.0, at, 672.0, at, kWhite, row.dotted)
                                       : std::tuple(at, 34.0, at, 544.0, kWhite, row.dotted));
        const auto wiped = std::find_if(lines.begin(), lines.end(),
                                        [](const Drawn& d) { return d.colour == "back"; });
        ASSERT_EQ(wiped != lines.end(), row.erased >= 0);
        if (row.erased >= 0) {
            EXPECT_EQ(row.kind == kVoltage ? wiped->y1 : wiped->x1, 32 + row.erased);
            EXPECT_FALSE(wiped->dotted);
        }
    }
}

TEST_F(Cursors, CursorsComeBackWithEachTraceAndAfterAChangeOfKind) {
    generatorSine("1", "kHz", "2");
    click("cmdstartsweep_Click");
    tick(2);
    struct Row {
        int kind, function;
        double solid, dotted;  // x (time) or y (voltage) of the two lines
    };
    const Row rows[] = {
        {kVoltage, kTabC1, 32 + 400, 32 + 100},
        {kVoltage, kTabC2, 32 + 100, 32 + 400},
        {kTime, kTabC1, 32 + 100, 32 + 300},
        {kTime, kTabC2, 32 + 300, 32 + 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.kind) + "/" + std::to_string(row.function));
        tab(m().TabStrip2, row.function);
        std::size_t from = mark();
        tab(m().TabStrip3, row.kind);
        // A new kind first wipes all four cursor lines.
        const auto changed = cursorLines(from);
        ASSERT_GE(changed.size(), 4u);
        EXPECT_TRUE(std::all_of(changed.begin(), changed.begin() + 4,
                                [](const Drawn& d) { return d.colour == "back" && !d.dotted; }));
        from = mark();
        tick();
        const auto lines = cursorLines(from);
        ASSERT_EQ(lines.size(), 2u);  // after the trace: the other dotted, the selected solid
        const auto at = [&](const Drawn& d) { return row.kind == kVoltage ? d.y1 : d.x1; };
        EXPECT_EQ(std::tuple(lines[0].dotted, at(lines[0]), lines[1].dotted, at(lines[1])),
                  std::tuple(true, row.dotted, false, row.solid));
    }
    tab(m().TabStrip3, kOff);  // cursor OFF: the trace comes alone
    std::size_t from = mark();
    tick();
    EXPECT_TRUE(cursorLines(from).empty());

    // While running, a moved cursor moves alone; while stopped it is drawn over the grid and
    // the stored trace.
    select(kVoltage, kTabC2);
    from = mark();
    slide(500);
    EXPECT_TRUE(trace(from, kRed).empty());
    click("cmdstop_Click");
    for (const int function : {kTabC1, kTabC2}) {
        tab(m().TabStrip2, function);
        from = mark();
        slide(600);
        EXPECT_EQ(trace(from, kRed).size(), 637u);
        EXPECT_FALSE(cursorLines(from).empty());
    }
}

// The differences in the units of the range or time base: a column is the time between two
// samples as the converter really takes them, over the columns a sample takes (2us/div: 6.67
// MS/s, 4.84 columns a sample, 1.98 us a division). A record on the plot is measured with the
// settings it was taken with, whatever the panel says since.
TEST_F(Cursors, DifferenceReadouts) {
    struct Row {
        int kind;
        const char* channel;   // cursor channel
        const char* range;     // its V/div, or the time base's settings
        const char* recorded;  // settings a record on the plot was taken with
        std::int16_t first, second;
        const char* shown;
    };
    const Row rows[] = {
        {kVoltage, "CH1", "0.5V", "", 100, 164, "0.50 V"},
        {kVoltage, "CH1", "1V", "", 164, 100, "-1.00 V"},  // the second above the first
        {kVoltage, "CH1", "0.1V", "", 100, 200, "0.16 V"},
        {kVoltage, "CH1", "50mV", "", 100, 164, "50.00 mV"},
        {kVoltage, "CH1", "10mV", "", 0, 64, "10.00 mV"},
        {kVoltage, "CH2", "20mV", "", 0, 32, "10.00 mV"},
        {kVoltage, "CH1", "0.2V", "ch1vdiv=1V", 100, 164, "1.00 V"},
        {kTime, "CH1", "seltimediv=100us/div", "", 100, 164, "99.80 us"},
        {kTime, "CH1", "scopemode=Undersampling|seltimediv=1ns/div", "", 0, 640, "10.00 ns"},
        {kTime, "CH1", "scopemode=Real time|seltimediv=1s/div", "", 300, 268, "-0.50 s"},
        {kTime, "CH1", "seltimediv=20ms/div", "", 100, 200, "31.25 ms"},
        {kTime, "CH1", "seltimediv=5us/div", "", 0, 7, "0.54 us"},
        {kTime, "CH1", "seltimediv=2us/div", "", 0, 64, "1.98 us"},
        {kTime, "CH1", "seltimediv=200us/div|adcselect=12 bit 480Ks", "", 0, 64, "198.40 us"},
        {kTime, "CH1", "seltimediv=2ms/div", "adcselect=8 bit 40Ms|seltimediv=1ms/div", 0, 64,
         "1.00 ms"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.range) + " " + row.shown);
        const bool voltage = row.kind == kVoltage;
        choose(m().selmonmode, "Scope CH1");  // a clear plot
        if (*row.recorded != 0) {
            set(row.recorded);
            click("cmdstartsweep_Click");
            tick(3);
            click("cmdstop_Click");
        }
        choose(m().combocursorselect, row.channel);
        if (voltage) {
            (row.channel == std::string("CH1") ? m().ch1vdiv : m().ch2vdiv)->text = row.range;
            mon().vcur1 = mon().vcur1drawn = row.first;
        } else {
            set(row.range);
            mon().hcur1 = mon().hcur1drawn = row.first;
        }
        select(row.kind, kTabC2);
        slide(voltage ? 1023 - 2 * row.second : row.second);
        EXPECT_EQ(mon().cursordelta, row.second - row.first);
        EXPECT_EQ(m().centerfr->text, row.shown);
        EXPECT_TRUE(m().centerfr->visible && m().centerfr->enabled);
    }
}

TEST_F(Cursors, TheMouseReadsTheGridUnderThePointer) {
    struct Row {
        const char* mode;
        const char* scale;  // selrfrange, or fftscale with the FFT view
        double x, y;
        const char* frequency;  // nullptr: hidden; "kept": untouched
        const char* level;
    };
    const Row rows[] = {
        {"Frequency Sweep", "100mVrms/Div", 352, 32, "1,500,001 Hz", "800 mVrms"},
        {"Frequency Sweep", "100mVrms/Div", 34, 544, "1,003,126 Hz", "0 mVrms"},
        {"Frequency Sweep", "250mVrms/Div", 672, 288, "2,000,001 Hz", "1,002 mVrms"},
        {"Frequency Sweep", "5dBmV/Div", 673, 288, "2,001,564 Hz", "45.0 dBmV"},
        {"Frequency Sweep", "10dBV/Div", 352, 160, "1,500,001 Hz", "-20.0 dBV"},
        {"Frequency Sweep", "10dBm/Div", 352, 32, "1,500,001 Hz", "20.0 dBm"},
        {"Frequency Sweep", "15dBm/Div", 352, 545, "1,500,001 Hz", "-105.2 dBm"},
        {"Frequency Sweep", "100mVrms/Div", 700, 300, nullptr, nullptr},
        {"Frequency Sweep", "100mVrms/Div", 100, 20, nullptr, nullptr},
        {"Scope CH1", "dBFS", 48, 96, "1,000 Hz", "-10.0 dBFS"},
        {"Scope CH1", "dBVrms", 48, 96, "1,000 Hz", "0.0 dBVrms"},
        {"Scope CH1", "dBVrms", 10, 10, nullptr, nullptr},
        // Without a sweep or a spectrum the readout is left alone.
        {"Amplitude Sweep", "", 352, 288, "kept", "kept"},
        {"Scope CH1+CH2", "", 352, 288, "kept", "kept"},
    };
    std::string shown;  // the mode set up so far
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + " " + row.scale + " at " + std::to_string(row.x) +
                     ", " + std::to_string(row.y));
        const bool fft = row.mode == std::string("Scope CH1");
        if (shown != row.mode) {
            shown = row.mode;
            choose(m().selmonmode, row.mode);
            click("cmdstartsweep_Click");
            tick(2);
            if (fft) {
                click("cmdfft_Click");
            }
            m().centerfr->text = m().labstartfr->text = "kept";
        }
        (fft ? m().fftscale : m().selrfrange)->text = row.scale;
        rig.program.dispatch([&] { m().Picture1_MouseMove(0, 0, row.x, row.y); });
        const bool inside = row.frequency != nullptr;
        if (inside) {
            EXPECT_EQ(m().centerfr->text, row.frequency);
            EXPECT_EQ(m().labstartfr->text, row.level);
            EXPECT_TRUE(row.frequency == std::string("kept") ||
                        (m().centerfr->visible && m().labstartfr->visible));
        } else {
            EXPECT_FALSE(m().centerfr->visible || m().labstartfr->visible);
        }
        if (fft) {
            // The time and V/div labels give way to the readout inside the plot.
            for (const Ctl c : {m().tdivtext, m().ch1vdivtext}) {
                EXPECT_EQ(std::pair(c->visible, c->enabled), std::pair(!inside, !inside));
            }
        }
    }
}

TEST_F(Cursors, ARefusedOffsetCommandSaysScrollError) {
    tab(m().TabStrip2, kTabCh1);
    rig.sim.nakNext(3);
    slide(700);
    EXPECT_EQ(messages(), (std::vector<std::string>{"_Relay_ON_CommError", "Error Sending Data.",
                                                    "Scroll Error"}));
    EXPECT_EQ(mon().ch1pos, 350);  // the indicator and the position already moved
    EXPECT_DOUBLE_EQ(m().ch1text->top, 512 - 350 + 25);
}

// On a triggered 4 Vpp, 1 kHz sine at 1 V/div and 1 ms/div, each cursor reads where it stands:
// voltage cursors on the trace's top and bottom read its peaks, time cursors a division apart
// read one period and its frequency; the plot's margins mark the trigger level and point.
TEST_F(Cursors, EachCursorReadsWhereItStandsAndTheTriggerIsMarked) {
    constexpr const char* kOrange = "33023";
    generatorSine("1", "kHz", "4");
    set("trigmode=Normal|seltimediv=1ms/div");
    click("cmdstartsweep_Click");
    std::size_t from = mark();
    tick(3);
    click("cmdstop_Click");
    // The trigger level's mark points at the level's row from the left margin, the trigger
    // point's mark at the grid's first column from the top margin.
    const auto marks = [&](std::size_t since, const std::string& colour) {
        std::vector<Drawn> out;
        for (const Drawn& d : drawn(since)) {
            if (d.colour == colour && (d.x2 < 32 || d.y2 < 32)) {
                out.push_back(d);
            }
        }
        return out;
    };
    const std::vector<Drawn> shown = marks(from, kOrange);
    ASSERT_FALSE(shown.empty());
    const double levelRow = 32 + 512 - mon().triglevel;
    EXPECT_TRUE(std::ranges::any_of(shown, [&](const Drawn& d) {
        return d.x1 == 31 && d.y1 == levelRow;  // the tip
    }));
    EXPECT_TRUE(std::ranges::any_of(shown, [](const Drawn& d) { return d.y1 == 31; }));

    const auto rows = std::span(mon().ch1rows).subspan(8, 600);
    const std::int16_t top = *std::ranges::min_element(rows);
    const std::int16_t bottom = *std::ranges::max_element(rows);
    select(kVoltage, kTabC1);
    slide(1023 - 2 * top);
    select(kVoltage, kTabC2);
    slide(1023 - 2 * bottom);
    const auto after = [](const std::string& text, const std::string& label) {
        return number(text.substr(label.size()));
    };
    EXPECT_NEAR(after(m().labstartfr->text, "C1 "), 2.0, 0.1);
    EXPECT_NEAR(after(m().labstopfr->text, "C2 "), -2.0, 0.1);
    EXPECT_NEAR(number(m().centerfr->text), 4.0, 0.2);  // the difference C1 - C2, as before

    select(kTime, kTabC1);
    slide(0);
    select(kTime, kTabC2);
    slide(64);
    EXPECT_EQ(m().labstartfr->text, "C1 0.00 ms");
    EXPECT_EQ(m().labstopfr->text, "C2 1.00 ms   1/\u0394t 1.00 kHz");
    slide(0);
    EXPECT_EQ(m().labstopfr->text, "C2 0.00 ms   1/\u0394t \u2014");  // no difference

    // A free-running record was not triggered: the marks go.
    set("trigmode=Free-running");
    click("cmdstartsweep_Click");
    from = mark();
    tick(3);
    EXPECT_FALSE(marks(from, "back").empty());
    EXPECT_TRUE(marks(from, kOrange).empty());
}

}  // namespace
}  // namespace tunx::test
