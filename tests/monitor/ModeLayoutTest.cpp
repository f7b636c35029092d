// What each monitor mode does to the window, from a fresh start; the grid; and the timer's
// handling of a failed command.
#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

using Member = Ctl Form1Controls::*;

// Enabled and shown as a mode leaves it: "e" enabled, "d" disabled, "h" disabled and hidden,
// "v" enabled and visible.
struct Look {
    Member control;
    char look;
};

struct ModeRow {
    const char* mode;
    std::vector<Look> looks;
    std::vector<std::pair<Member, const char*>> texts;
    std::int16_t cursorch;
};

const ModeRow kModes[] = {
    {"Frequency Sweep",
     {{&Form1Controls::startf, 'e'},
      {&Form1Controls::cmdfastsweep, 'e'},
      {&Form1Controls::textstarta, 'e'},
      {&Form1Controls::textstopa, 'd'},
      {&Form1Controls::selrfrange, 'e'},
      {&Form1Controls::adcselect, 'd'},
      {&Form1Controls::tdivtext, 'h'},
      {&Form1Controls::ch1text, 'h'},
      {&Form1Controls::ch2vdivtext, 'h'},
      {&Form1Controls::combocursorselect, 'd'},
      {&Form1Controls::frangesel, 'd'},
      {&Form1Controls::Slider1, 'd'},
      {&Form1Controls::TabStrip2, 'd'},
      {&Form1Controls::fftmaxfrequency, 'h'}},
     {{&Form1Controls::ldiv0, "0"},
      {&Form1Controls::ldiv8, "800"},
      {&Form1Controls::ldivunit, "mVrms"},
      {&Form1Controls::labvoltunit, "mVrms"},
      {&Form1Controls::labchsel, "CH1 IN"}},
     1},
    {"Amplitude Sweep",
     {{&Form1Controls::startf, 'e'},
      {&Form1Controls::stopf, 'd'},
      {&Form1Controls::cmdfastsweep, 'd'},
      {&Form1Controls::textstopa, 'e'},
      {&Form1Controls::combstopa, 'e'},
      {&Form1Controls::Textpower, 'e'},
      {&Form1Controls::trigmode, 'd'},
      {&Form1Controls::trigertext, 'h'}},
     {{&Form1Controls::centerfr, ""}, {&Form1Controls::labstartfr, ""}},
     1},
    {"Scope CH1",
     {{&Form1Controls::adcselect, 'e'},
      {&Form1Controls::cmdfft, 'e'},
      {&Form1Controls::ch1vdiv, 'e'},
      {&Form1Controls::ch1text, 'v'},
      {&Form1Controls::tdivtext, 'v'},
      {&Form1Controls::ch2vdiv, 'd'},
      {&Form1Controls::ch2text, 'h'},
      {&Form1Controls::startf, 'd'},
      {&Form1Controls::cmdfastsweep, 'd'},
      {&Form1Controls::textfr, 'd'},
      {&Form1Controls::combocursorselect, 'd'},
      {&Form1Controls::Slider1, 'e'},
      {&Form1Controls::horpostext, 'h'}},
     {{&Form1Controls::trigsource, "CH1"},
      {&Form1Controls::combocursorselect, "CH1"},
      {&Form1Controls::labchsel, "CH2 IN"},
      {&Form1Controls::ldiv8, ""},
      {&Form1Controls::ldivunit, ""},
      {&Form1Controls::tdivtext, "1ms"}},
     1},
    {"Scope CH2",
     {{&Form1Controls::ch2vdiv, 'e'},
      {&Form1Controls::ch2text, 'v'},
      {&Form1Controls::ch1text, 'h'},
      {&Form1Controls::ch1vdivtext, 'h'},
      {&Form1Controls::frfrsweep, 'e'},  // left as the sweep mode had it
      {&Form1Controls::stopf, 'd'}},
     {{&Form1Controls::trigsource, "CH2"}, {&Form1Controls::combocursorselect, "CH2"}},
     2},
    {"Scope CH1+CH2",
     {{&Form1Controls::cmdfft, 'd'},
      {&Form1Controls::fftscale, 'd'},
      {&Form1Controls::ch1text, 'v'},
      {&Form1Controls::ch2text, 'v'},
      {&Form1Controls::combocursorselect, 'e'},
      {&Form1Controls::CRCH, 'e'},
      {&Form1Controls::selrfrange, 'd'},
      {&Form1Controls::Label17, 'd'},
      {&Form1Controls::textfr, 'e'},  // the other sweep readouts are left alone
      {&Form1Controls::frangesel, 'd'}},
     {{&Form1Controls::adcselect, "8 bit 40Ms"}, {&Form1Controls::labchsel, "CH1 IN"}},
     1},
    {"Frequency Counter",
     {{&Form1Controls::frangesel, 'e'},
      {&Form1Controls::frcountertxt, 'e'},
      {&Form1Controls::startf, 'd'},
      {&Form1Controls::combstopa, 'd'},  // as the sweep left it
      {&Form1Controls::textfr, 'd'},
      {&Form1Controls::cmdfft, 'd'},
      {&Form1Controls::tdivtext, 'h'},
      {&Form1Controls::ch1vdivtext, 'h'}},
     {},
     1},
};

TEST(MonitorModes, EachModeEnablesShowsAndLabelsItsControls) {
    for (const ModeRow& row : kModes) {
        SCOPED_TRACE(row.mode);
        Rig rig;
        ASSERT_TRUE(rig.start());
        Form1& w = rig.program.monitor();
        w.adcselect->text = "12 bit 480Ks";  // CH1+CH2 must end on the 8-bit converter
        const std::size_t from = rig.mark();
        rig.program.dispatch(w, [&] { w.choose(*w.selmonmode, row.mode); });
        for (const Look& l : row.looks) {
            const Control& c = *(w.*l.control);
            EXPECT_EQ(c.enabled, l.look == 'e' || l.look == 'v') << c.name;
            if (l.look == 'h' || l.look == 'v') {
                EXPECT_EQ(c.visible, l.look == 'v') << c.name;
            }
        }
        for (const auto& [control, text] : row.texts) {
            EXPECT_EQ((w.*control)->text, text) << (w.*control)->name;
        }
        EXPECT_EQ(rig.s().mon.cursorch, row.cursorch);
        // Only the counter sends anything when chosen: its range, at once.
        const auto sent = rig.frames(from);
        if (std::string(row.mode) == "Frequency Counter") {
            EXPECT_EQ(sent, (std::vector<Frame>{{32, 4, 8, 0, 0, 0}, {32, 4, 4, 1, 0, 0}}));
            EXPECT_EQ(rig.s().mon.fcprescale, 1);
        } else {
            EXPECT_TRUE(sent.empty());
        }
    }
}

using Monitor = MonitorRig;

TEST_F(Monitor, TheGridIsNineByElevenLinesWithTwoCentreLines) {
    const std::size_t from = mark();
    choose(m().selmonmode, "Scope CH1");
    const auto lines = drawn(from);
    int horizontal = 0, vertical = 0, wide = 0;
    for (const Drawn& d : lines) {
        EXPECT_EQ(d.colour, "0");
        horizontal += d.y1 == d.y2 ? 1 : 0;
        vertical += d.x1 == d.x2 ? 1 : 0;
        if (d.width == 2) {
            ++wide;
            EXPECT_TRUE(d.y1 == 288 || d.x1 == 352);
        }
    }
    EXPECT_EQ(horizontal, 9);
    EXPECT_EQ(vertical, 11);
    EXPECT_EQ(wide, 2);
    EXPECT_EQ(rig.lines(from).front(), "clear");  // the picture is repainted first
}

TEST_F(Monitor, AFailedCommandStopsTheRunOnTheNextTickWhateverTheState) {
    runScope("Scope CH1", 0);
    rig.sim.nakNext(3, 1);  // the first set-up command after the clock synchronisation
    tick();
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(mon().monstate, "startscope");
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
    EXPECT_EQ(rig.lines(from), std::vector<std::string>{"sleep 1"});
    click("cmdstartsweep_Click");  // START clears the error and runs again
    tick(2);
    EXPECT_EQ(m().textstatus->text, "Running");
    EXPECT_EQ(mon().monstate, "scope");
}

TEST_F(Monitor, StopEndsASweepWithTheOutputStageButNotAScope) {
    runScope("Scope CH1", 2);
    std::size_t from = mark();
    click("cmdstop_Click");
    EXPECT_TRUE(frames(from).empty());
    EXPECT_EQ(m().textstatus->text, "Stopped");
    choose(m().selmonmode, "Frequency Sweep");
    click("cmdstartsweep_Click");
    from = mark();
    click("cmdstop_Click");
    const auto sent = frames(from);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[0], 30);  // the output stage closes
}

TEST_F(Monitor, ASecondActivationKeepsTheUsersSettings) {
    choose(m().selmonmode, "Scope CH2");
    choose(m().ch2vdiv, "0.2V");
    click("Form_Activate");
    EXPECT_EQ(m().selmonmode->text, "Scope CH2");
    EXPECT_EQ(m().ch2vdivtext->text, "0.2V");
    EXPECT_EQ(mon().cursorch, 2);
}

}  // namespace
}  // namespace tunx::test
