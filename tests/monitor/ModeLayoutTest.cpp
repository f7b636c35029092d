// What each monitor mode does to the window, from a fresh start; the grid; STOP; and the timer's
// handling of a failed command.
#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

using C = Form1Controls;
using Handles = std::vector<Ctl C::*>;

// What a user meets on choosing a mode from a fresh start: the controls they set for it (enabled
// and shown), the ones greyed out, the readouts taken away, the captions and entries it puts
// up, and the channel the cursors read.
struct ModeView {
    const char* mode;
    Handles usable;
    Handles greyed = {};
    Handles hidden = {};
    std::vector<std::pair<Ctl C::*, const char*>> shows = {};
    int cursorch = 1;
};

TEST(MonitorModes, EachModeOffersItsControlsAndGreysOrHidesTheOthers) {
    const ModeView views[] = {
        {.mode = "Frequency Sweep",
         .usable = {&C::startf, &C::cmdfastsweep, &C::textstarta, &C::selrfrange},
         .greyed = {&C::textstopa, &C::adcselect, &C::combocursorselect, &C::frangesel, &C::Slider1,
                    &C::TabStrip2},
         .hidden = {&C::tdivtext, &C::ch1text, &C::ch2vdivtext, &C::fftmaxfrequency},
         .shows = {{&C::ldiv0, "0"},
                   {&C::ldiv8, "800"},
                   {&C::ldivunit, "mVrms"},
                   {&C::labvoltunit, "mVrms"},
                   {&C::labchsel, "CH1 IN"}}},
        {.mode = "Amplitude Sweep",
         .usable = {&C::startf, &C::textstopa, &C::combstopa, &C::Textpower},
         .greyed = {&C::stopf, &C::cmdfastsweep, &C::trigmode},
         .hidden = {&C::trigertext},
         .shows = {{&C::centerfr, ""}, {&C::labstartfr, ""}}},
        {.mode = "Scope CH1",
         .usable = {&C::adcselect, &C::cmdfft, &C::ch1vdiv, &C::ch1text, &C::tdivtext, &C::Slider1},
         .greyed = {&C::ch2vdiv, &C::startf, &C::cmdfastsweep, &C::textfr, &C::combocursorselect},
         .hidden = {&C::ch2text, &C::horpostext},
         .shows = {{&C::trigsource, "CH1"},
                   {&C::combocursorselect, "CH1"},
                   {&C::labchsel, "CH2 IN"},
                   {&C::ldiv8, ""},
                   {&C::ldivunit, ""},
                   {&C::tdivtext, "1ms"}}},
        // The sweep mode's frfrsweep is left as it was.
        {.mode = "Scope CH2",
         .usable = {&C::ch2vdiv, &C::ch2text, &C::frfrsweep},
         .greyed = {&C::stopf},
         .hidden = {&C::ch1text, &C::ch1vdivtext},
         .shows = {{&C::trigsource, "CH2"}, {&C::combocursorselect, "CH2"}},
         .cursorch = 2},
        // The sweep readout textfr is left alone; both channels take the 8-bit converter.
        {.mode = "Scope CH1+CH2",
         .usable = {&C::ch1text, &C::ch2text, &C::combocursorselect, &C::CRCH, &C::textfr},
         .greyed = {&C::cmdfft, &C::fftscale, &C::selrfrange, &C::Label17, &C::frangesel},
         .shows = {{&C::adcselect, "8 bit 40Ms"}, {&C::labchsel, "CH1 IN"}}},
        {.mode = "Frequency Counter",
         .usable = {&C::frangesel, &C::frcountertxt},
         .greyed = {&C::startf, &C::combstopa, &C::textfr, &C::cmdfft},
         .hidden = {&C::tdivtext, &C::ch1vdivtext}},
    };
    for (const ModeView& v : views) {
        SCOPED_TRACE(v.mode);
        Rig rig;
        ASSERT_TRUE(rig.start());
        Form1& w = rig.program.monitor();
        w.adcselect->text = "12 bit 480Ks";
        const std::size_t from = rig.mark();
        rig.program.dispatch([&] { w.choose(*w.selmonmode, v.mode); });
        for (Ctl C::*c : v.usable) {
            EXPECT_TRUE((w.*c)->enabled && (w.*c)->visible) << (w.*c)->name;
        }
        for (Ctl C::*c : v.greyed) {
            EXPECT_FALSE((w.*c)->enabled) << (w.*c)->name;
        }
        for (Ctl C::*c : v.hidden) {
            EXPECT_FALSE((w.*c)->visible) << (w.*c)->name;
        }
        for (const auto& [c, text] : v.shows) {
            EXPECT_EQ((w.*c)->text, text) << (w.*c)->name;
        }
        EXPECT_EQ(rig.s().mon.cursorch, v.cursorch);
        // Only the counter sends anything when chosen (its range; see the counter's tests).
        EXPECT_EQ(rig.frames(from).empty(), v.mode != std::string("Frequency Counter"));
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
    const std::size_t from = mark();
    tick();
    EXPECT_EQ(m().textstatus->text, "TUNX ERROR");
    EXPECT_EQ(rig.lines(from), std::vector<std::string>{"sleep 1"});
    click("cmdstartsweep_Click");
    tick(2);
    EXPECT_EQ(m().textstatus->text, "Running");
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
