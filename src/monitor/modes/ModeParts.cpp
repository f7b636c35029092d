// What the monitor modes are made of: the control groups they enable, disable and hide, the
// layouts several of them share, and the scope's run steps.
#include "monitor/modes/ModeParts.h"
#include "monitor/spectrum/SpectrumAverage.h"

#include "monitor/Form1.h"
#include "monitor/counter/Counter.h"
#include "monitor/plot/Layers.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Ranges.h"
#include "monitor/scope/ScopeReadout.h"
#include "monitor/scope/ScopeSetup.h"
#include "monitor/sweep/SweepLevel.h"
#include "monitor/sweep/SweepProgress.h"
#include "ports/Ui.h"

namespace tunx {

namespace {

constexpr const char* kOnlyEightBit = "Scope CH1+CH2 works only with 8 bit ADC";
constexpr const char* kCh1In = "CH1 IN";
constexpr const char* kCh2In = "CH2 IN";

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

}  // namespace

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

bool startScope(Form1& w) {
    const bool ok = setscope2t(w) && channelVoltsPerDiv(w, Channel::CH1) &&
                    channelVoltsPerDiv(w, Channel::CH2) && setscope2t(w);
    if (ok) {
        w.mon().monstate = RunState::Scope;
        drawReferences(w);  // behind the rolling display's samples, until the first record
    }
    return ok;
}

bool readScope(Form1& w) {
    MonitorState& m = w.mon();
    const std::uint64_t kept = m.recordsKept;
    const bool ok = m.vslowtb ? scopedisplayslow(w) : scopedisplay2t(w);
    if (m.recordsKept != kept) {
        stackSpectrum(w);  // for the spectrum's average and max hold
    }
    return ok;
}

}  // namespace tunx
