// What each monitor mode does to the window: the control groups it enables, disables and
// hides, and its extra steps.
#include <vector>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/counter/Counter.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Ranges.h"
#include "monitor/sweep/SweepLevel.h"
#include "monitor/sweep/SweepProgress.h"
#include "ports/Ui.h"

namespace tunx {

namespace {

constexpr const char* kOnlyEightBit = "Scope CH1+CH2 works only with 8 bit ADC";
constexpr const char* kCh1In = "CH1 IN";
constexpr const char* kCh2In = "CH2 IN";

using Group = std::vector<Ctl>;

void enable(const Group& controls, bool on) {
    for (const Ctl& c : controls) {
        c->enabled = on;
    }
}
// Disables and hides.
void conceal(const Group& controls) {
    for (const Ctl& c : controls) {
        c->enabled = false;
        c->visible = false;
    }
}
// Enables and shows.
void reveal(const Group& controls) {
    for (const Ctl& c : controls) {
        c->enabled = true;
        c->visible = true;
    }
}

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
        return {w.frscope,     w.adcselect, w.ladcmode,   w.scopemode,   w.lsamplingmode,
                w.seltimediv,  w.ltimebase, w.trigsource, w.ltrigsource, w.trigeredge,
                w.ltrigedge,   w.trigmode,  w.ltrigmode,  w.reclenght,   w.Command2,
                w.lfftdisplay, w.cmdautoset};
    }
    Group fft() const { return {w.cmdfft, w.fftscale}; }
    Group counter() const {
        return {w.frekounter, w.frangesel,  w.frcountertxt, w.lfrcntinit,
                w.lch2in,     w.cntdisplay, w.cntgate,      w.cnthistory};
    }
    Group cursorChannel() const { return {w.combocursorselect, w.CRCH}; }
    Group positionControls() const { return {w.Slider1, w.TabStrip2, w.TabStrip3}; }
};

// The grid labels of the sweep modes, from the display scale.
void sweepGridLabels(Form1& w) {
    if (const DisplayScale* scale = findDisplayScale(w.selrfrange->text)) {
        const auto divs = w.divLabels();
        for (std::size_t i = 0; i < divs.size(); ++i) {
            (*divs[i])->text = std::string(scale->labels[i]);
        }
        w.ldivunit->text = std::string(scale->unit);
        w.labvoltunit->text = std::string(scale->unit);
    }
    w.labchsel->text = kCh1In;
}

void clearPlotCaptions(Form1& w) {
    for (Ctl* div : w.divLabels()) {
        (*div)->text.clear();
    }
    for (const Ctl& c : {w.ldivunit, w.centerfr, w.labstartfr, w.labstopfr}) {
        c->text.clear();
    }
}

void freshPlot(Form1& w) {
    w.canvas().Clear();
    forgetShownCapture(w);
    mgrid1(w.canvas());
}

// The steps both sweep modes share after their own enabling.
void sweepMode(Form1& w, const Groups& g) {
    conceal({w.tdivtext, w.trigertext, w.horpostext, w.ch1vdivtext, w.ch1text, w.ch2vdivtext,
             w.ch2text, w.fftmaxfrequency});
    enable(g.scopeCore(), false);
    enable(g.fft(), false);
    enable({w.ch1vdiv, w.ch1label, w.ch2vdiv, w.ch2label}, false);
    enable(g.cursorChannel(), false);
    enable(g.counter(), false);
    enable(g.positionControls(), false);
    w.mon().fftflag = false;
    hideMeasurements(w);
    freshPlot(w);
    sweepGridLabels(w);
}

void scopeMode(Form1& w, const Groups& g, Channel ch) {
    enable(g.scopeCore(), true);
    enable(g.fft(), true);
    reveal({w.tdivtext, w.trigertext});
    const bool one = ch == Channel::CH1;
    enable({one ? w.ch1vdiv : w.ch2vdiv, one ? w.ch1label : w.ch2label}, true);
    reveal({one ? w.ch1vdivtext : w.ch2vdivtext, one ? w.ch1text : w.ch2text});
    enable({one ? w.ch2vdiv : w.ch1vdiv, one ? w.ch2label : w.ch1label}, false);
    conceal({one ? w.ch2vdivtext : w.ch1vdivtext, one ? w.ch2text : w.ch1text});
    if (one) {
        w.Frame12->enabled = true;
        enable(g.frequencyInputs(), false);
    } else {
        enable({w.startf, w.startfunit, w.lstartf, w.stopf, w.stopfunit, w.lstopf}, false);
    }
    enable(g.amplitudeInputs(), false);
    enable(g.sweepReadouts(), false);
    enable(g.cursorChannel(), false);
    enable(g.counter(), false);
    enable(g.positionControls(), true);
    MonitorState& m = w.mon();
    m.cursorch = static_cast<std::int16_t>(ch);
    const std::string name(one ? trigger::kCH1 : trigger::kCH2);
    w.combocursorselect->text = name;
    w.trigsource->text = name;
    w.labchsel->text = kCh2In;
    clearPlotCaptions(w);
    w.seltimediv_Click();
    freshPlot(w);
}

void bothChannelsMode(Form1& w, const Groups& g) {
    w.adcselect->text = std::string(adc::k8Bit);
    enable(g.scopeCore(), true);
    reveal({w.tdivtext, w.trigertext});
    enable(g.fft(), false);
    enable({w.ch1vdiv, w.ch1label, w.ch2vdiv, w.ch2label}, true);
    reveal({w.ch1vdivtext, w.ch1text, w.ch2vdivtext, w.ch2text});
    enable(g.cursorChannel(), true);
    w.Frame12->enabled = true;
    enable(g.frequencyInputs(), false);
    enable(g.amplitudeInputs(), false);
    enable({w.selrfrange, w.lsweepdisplay, w.labvoltunit, w.Label17}, false);
    enable(g.counter(), false);
    enable(g.positionControls(), true);
    w.mon().cursorch = 1;
    w.combocursorselect->text = std::string(trigger::kCH1);
    if (w.adcselect->text == adc::k12Bit) {
        w.ui().MsgBox(kOnlyEightBit);
    }
    w.labchsel->text = kCh1In;
    clearPlotCaptions(w);
    w.seltimediv_Click();
    freshPlot(w);
    w.adcselect->text = std::string(adc::k8Bit);
}

}  // namespace

void Form1::selmonmode_Click() {
    const std::optional<MonitorMode> mode = monitorMode(selmonmode->text);
    if (!mode) {
        return;
    }
    const Groups g(*this);
    showProgressIn(*this, isSweep(*mode));
    switch (*mode) {
        case MonitorMode::FrequencySweep:
            enable(g.frequencyInputs(), true);
            enable({textstarta, combstarta, lstartamp}, true);
            enable({textstopa, combstopa, lstopamp}, false);
            enable(g.sweepReadouts(), true);
            Frame12->enabled = true;
            sweepMode(*this, g);
            break;
        case MonitorMode::AmplitudeSweep:
            enable({startf, startfunit, lstartf, frfrsweep}, true);
            enable({stopf, stopfunit, lstopf, cmdfastsweep}, false);
            enable(g.amplitudeInputs(), true);
            enable(g.sweepReadouts(), true);
            Frame12->enabled = true;
            sweepMode(*this, g);
            labstartfr->text.clear();
            centerfr->text.clear();
            break;
        case MonitorMode::ScopeCH1:
            scopeMode(*this, g, Channel::CH1);
            break;
        case MonitorMode::ScopeCH2:
            scopeMode(*this, g, Channel::CH2);
            break;
        case MonitorMode::ScopeCH1CH2:
            bothChannelsMode(*this, g);
            break;
        case MonitorMode::FrequencyCounter:
            enable(g.counter(), true);
            enable(g.frequencyInputs(), false);
            enable({textstarta, combstarta, lstartamp, textstopa, lstopamp}, false);
            enable(g.sweepReadouts(), false);
            enable(g.fft(), false);
            conceal({ch1vdivtext, ch2vdivtext, tdivtext});
            hideMeasurements(*this);
            frangesel_Click();
            break;
    }
}

}  // namespace tunx
