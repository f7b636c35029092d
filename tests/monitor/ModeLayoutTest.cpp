// What each monitor mode does to the window, from a fresh start; the grid; STOP; and the timer's
// handling of a failed command.
#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

// Per mode: "control:look" words ('e' enabled, 'd' disabled, 'h' disabled and hidden, 'v'
// enabled and visible), "control=text|..." texts, and the cursor channel.
struct ModeRow {
    const char *mode, *looks, *texts;
    int cursorch;
};
const ModeRow kModes[] = {
    {"Frequency Sweep",
     "startf:e cmdfastsweep:e textstarta:e textstopa:d selrfrange:e adcselect:d tdivtext:h "
     "ch1text:h ch2vdivtext:h combocursorselect:d frangesel:d Slider1:d TabStrip2:d "
     "fftmaxfrequency:h",
     "ldiv0=0|ldiv8=800|ldivunit=mVrms|labvoltunit=mVrms|labchsel=CH1 IN", 1},
    {"Amplitude Sweep",
     "startf:e stopf:d cmdfastsweep:d textstopa:e combstopa:e Textpower:e trigmode:d trigertext:h",
     "centerfr=|labstartfr=", 1},
    {"Scope CH1",
     "adcselect:e cmdfft:e ch1vdiv:e ch1text:v tdivtext:v ch2vdiv:d ch2text:h startf:d "
     "cmdfastsweep:d textfr:d combocursorselect:d Slider1:e horpostext:h",
     "trigsource=CH1|combocursorselect=CH1|labchsel=CH2 IN|ldiv8=|ldivunit=|tdivtext=1ms", 1},
    // frfrsweep is left as the sweep mode had it.
    {"Scope CH2", "ch2vdiv:e ch2text:v ch1text:h ch1vdivtext:h frfrsweep:e stopf:d",
     "trigsource=CH2|combocursorselect=CH2", 2},
    // textfr: the other sweep readouts are left alone; CH1+CH2 ends on the 8-bit converter.
    {"Scope CH1+CH2",
     "cmdfft:d fftscale:d ch1text:v ch2text:v combocursorselect:e CRCH:e selrfrange:d Label17:d "
     "textfr:e frangesel:d",
     "adcselect=8 bit 40Ms|labchsel=CH1 IN", 1},
    {"Frequency Counter",
     "frangesel:e frcountertxt:e startf:d combstopa:d textfr:d cmdfft:d tdivtext:h ch1vdivtext:h",
     "", 1},
};

TEST(MonitorModes, EachModeEnablesShowsAndLabelsItsControls) {
    for (const ModeRow& row : kModes) {
        SCOPED_TRACE(row.mode);
        Rig rig;
        ASSERT_TRUE(rig.start());
        Form1& w = rig.program.monitor();
        w.adcselect->text = "12 bit 480Ks";
        const std::size_t from = rig.mark();
        rig.program.dispatch([&] { w.choose(*w.selmonmode, row.mode); });
        std::istringstream looks(row.looks);
        for (std::string word; looks >> word;) {
            const Control& c = w[word.substr(0, word.find(':'))];
            const char look = word.back();
            EXPECT_EQ(c.enabled, look == 'e' || look == 'v') << c.name;
            if (look == 'h' || look == 'v') {
                EXPECT_EQ(c.visible, look == 'v') << c.name;
            }
        }
        std::istringstream texts(row.texts);
        for (std::string field; std::getline(texts, field, '|');) {
            const auto eq = field.find('=');
            EXPECT_EQ(w[field.substr(0, eq)].text, field.substr(eq + 1)) << field;
        }
        EXPECT_EQ(rig.s().mon.cursorch, row.cursorch);
        // Only the counter sends anything when chosen (its range; see the counter's tests).
        EXPECT_EQ(rig.frames(from).empty(), row.mode != std::string("Frequency Counter"));
    }
}

using Monitor = MonitorRig;

TEST_F(Monitor, TheGridIsNineByElevenLinesWithTwoCentreLines) {
    const std::size_t from = mark();
    choose(m().selmonmode, "Scope CH1");
    int horizontal = 0, vertical = 0, wide = 0;
    for (const Drawn& d : drawn(from)) {
        EXPECT_EQ(d.colour, "0");
        horizontal += d.y1 == d.y2 ? 1 : 0;
        vertical += d.x1 == d.x2 ? 1 : 0;
        if (d.width == 2) {
            ++wide;
            EXPECT_TRUE(d.y1 == 288 || d.x1 == 352);
        }
    }
    EXPECT_EQ(std::tuple(horizontal, vertical, wide), std::tuple(9, 11, 2));
    EXPECT_EQ(rig.lines(from).front(), "clear");  // the picture is repainted first
}

// A refused set-up command shows its message; the next tick shows the error and stops the run
// without sending anything; START clears the error and runs again.
TEST_F(Monitor, AFailedCommandStopsTheRunOnTheNextTickWhateverTheState) {
    runScope("Scope CH1", 0);
    rig.sim.nakNext(3, 2);
    tick();
    EXPECT_EQ(messages().back(), "Error setting scope");
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");  // at once: nothing runs
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(mon().monstate, "startscope");
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(mon().monstate, "stoped");
    EXPECT_EQ(rig.lines(from), std::vector<std::string>{"sleep 1"});
    click("cmdstartsweep_Click");
    tick(2);
    EXPECT_EQ(m().textstatus->text, "Running");
    EXPECT_EQ(mon().monstate, "scope");
}

TEST_F(Monitor, StopEndsASweepWithTheOutputStageButNotAScopeAndActivationKeepsSettings) {
    runScope("Scope CH1", 2);
    std::size_t from = mark();
    click("cmdstop_Click");
    EXPECT_TRUE(frames(from).empty());
    EXPECT_EQ(m().textstatus->text, "Stopped");
    choose(m().selmonmode, "Frequency Sweep");
    click("cmdstartsweep_Click");
    from = mark();
    click("cmdstop_Click");
    ASSERT_FALSE(frames(from).empty());
    EXPECT_EQ(frames(from).back()[0], 30);  // the output stage closes

    set("selmonmode=Scope CH2|ch2vdiv=0.2V");
    click("Form_Activate");
    EXPECT_EQ(m().selmonmode->text, "Scope CH2");
    EXPECT_EQ(m().ch2vdivtext->text, "0.2V");
    EXPECT_EQ(mon().cursorch, 2);
}

}  // namespace
}  // namespace tunx::test
