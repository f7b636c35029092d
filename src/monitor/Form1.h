#pragma once

#include <array>
#include <string>

#include "controls/Form1Controls.h"
#include "link/Link.h"
#include "ports/Canvas.h"
#include "state/SharedState.h"
#include "window/Window.h"

namespace tunx {

class frmMain;

inline constexpr const char* kMonitorCaption = "TUNX Monitor";

// The monitor window: the oscilloscope, the sweep analyser, the spectrum and the frequency
// counter, paced by its 10 ms timer. Its handlers are named as the program names them; the
// procedures they call live in the files of this folder, one topic each.
class Form1 : public Window, public Form1Controls {
  public:
    Form1(SharedState& state, Link& link, Canvas& canvas, frmMain& generator);

    SharedState& state() { return s_; }
    MonitorState& mon() { return s_.mon; }
    Link& link() { return link_; }
    Ui& ui() { return link_.ui(); }
    Clock& clock() { return link_.clock(); }
    UsbApi& usb() { return link_.usb(); }
    Canvas& canvas() { return canvas_; }
    frmMain& generator() { return generator_; }

    // The nine grid labels, from ldiv0 at the bottom line to ldiv8 at the top line.
    std::array<Ctl*, 9> divLabels() {
        return {&ldiv0, &ldiv1, &ldiv2, &ldiv3, &ldiv4, &ldiv5, &ldiv6, &ldiv7, &ldiv8};
    }

    // Modes, run loop and clock synchronisation.
    void Form_Activate();
    void selmonmode_Click();
    void cmdstartsweep_Click();
    void cmdstop_Click();
    void Timer1_Timer();
    void fastsweep_Click();

    // Scope set-up.
    void seltimediv_Click();
    void scopemode_Click();
    void ch1vdiv_Click();
    void ch2vdiv_Click();
    void adcselect_Click();
    // A scope setting changed (converter, trigger, record length): a running scope starts
    // over with the new set-up, as a change of time base or volts per division does.
    void scopeSettingChanged();
    // Beside the original: "Auto Set", and the measurement statistics.
    void cmdautoset_Click();
    void measstats_Click();
    void cmdresetstats_Click();
    void acqmode_Click();
    void persistence_Click();

    // Position and cursor controls.
    void Slider1_Change();
    void Slider1_Scroll();
    void TabStrip2_Click();
    void TabStrip3_Click();
    void combocursorselect_Click();
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseDown() {}

    // Measurements.
    void cmdfft_Click();
    void Command2_Click();
    void cmdfastsweep_Click();
    void selrfrange_Click();
    void frangesel_Click();
    // Beside the original: the counter's large display, gate time and last readings.
    void cntdisplay_Click();

    // Beside the original: the File menu's exports.
    void MenuBar_ExportScope_Click();
    void MenuBar_ExportSweep_Click();
    void MenuBar_ExportSpectrum_Click();
    void MenuBar_SavePlot_Click();
    // Beside the original: the math trace, the XY view and the reference traces.
    void mathmode_Click();
    void mathvdiv_Click();
    void xyview_Click();
    void MenuBar_SaveRefA_Click();
    void MenuBar_SaveRefB_Click();
    void MenuBar_LoadRefA_Click();
    void MenuBar_LoadRefB_Click();
    void MenuBar_ClearRefs_Click();

  private:
    void buildControls();
    void wireHandlers();

    SharedState& s_;
    Link& link_;
    Canvas& canvas_;
    frmMain& generator_;
};

}  // namespace tunx
