#pragma once

#include <array>
#include <vector>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/scope/Ranges.h"

namespace tunx {

// What the monitor modes are made of: the window's control groups, the layouts several modes
// share, and the scope's run steps.
using Group = std::vector<Ctl>;

// The groups of controls the modes enable, disable and hide together.
struct Groups {
    explicit Groups(Form1& w) : w(w) {}
    Form1& w;
    Group frequencyInputs() const {
        return {w.startf,    w.startfunit, w.lstartf,   w.stopf,
                w.stopfunit, w.lstopf,     w.frfrsweep, w.cmdfastsweep};
    }
    Group amplitudeInputs() const {
        return {w.textstarta, w.combstarta, w.lstartamp, w.textstopa, w.combstopa, w.lstopamp};
    }
    Group sweepReadouts() const {
        return {w.Frame6, w.textfr,      w.Label7,   w.Label17,    w.Textpower,
                w.Label8, w.labvoltunit, w.labchsel, w.selrfrange, w.lsweepdisplay};
    }
    // The scope controls without the three plot labels and the FFT pair.
    Group scopeCore() const {
        return {w.frscope,     w.adcselect,  w.ladcmode,   w.scopemode,   w.lsamplingmode,
                w.seltimediv,  w.ltimebase,  w.trigsource, w.ltrigsource, w.trigeredge,
                w.ltrigedge,   w.trigmode,   w.ltrigmode,  w.reclenght,   w.Command2,
                w.lfftdisplay, w.cmdautoset, w.ldisplay,   w.acqmode,     w.persistence};
    }
    Group fft() const { return {w.cmdfft, w.fftscale}; }
    Group counter() const {
        return {w.frekounter, w.frangesel,  w.frcountertxt, w.lfrcntinit,
                w.lch2in,     w.cntdisplay, w.cntgate,      w.cnthistory};
    }
    Group cursorChannel() const { return {w.combocursorselect, w.CRCH}; }
    Group positionControls() const { return {w.Slider1, w.TabStrip2, w.TabStrip3}; }
};

void enable(const Group& controls, bool on);
// Disables and hides.
void conceal(const Group& controls);
// Enables and shows.
void reveal(const Group& controls);

// The layout both sweep modes finish with, after their own enabling.
void sweepMode(Form1& w, const Groups& g);
// The layout of a scope on one channel.
void scopeMode(Form1& w, const Groups& g, Channel ch);
// The layout of the scope on both channels.
void bothChannelsMode(Form1& w, const Groups& g);

// The scope's set-up (then it reads), and its read-out, draw and re-arm.
bool startScope(Form1& w);
bool readScope(Form1& w);
inline constexpr std::array<RunStep, 2> kScopeSteps = {{
    {RunState::StartScope, startScope},
    {RunState::Scope, readScope},
}};

}  // namespace tunx
