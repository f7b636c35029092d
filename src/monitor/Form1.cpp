#include "monitor/Form1.h"

#include "generator/frmMain.h"
#include "monitor/Modes.h"

namespace tunx {

Form1::Form1(SharedState& state, Link& link, Canvas& canvas, frmMain& generator)
    : Window("Form1", kMonitorCaption),
      s_(state),
      link_(link),
      canvas_(canvas),
      generator_(generator) {
    buildControls();
    wireHandlers();
}

void Form1::wireHandlers() {
    on("Form_Activate", [this] { Form_Activate(); });
    on("selmonmode_Click", [this] { selmonmode_Click(); });
    on("cmdstartsweep_Click", [this] { cmdstartsweep_Click(); });
    on("cmdstop_Click", [this] { cmdstop_Click(); });
    on("Timer1_Timer", [this] { Timer1_Timer(); });
    on("fastsweep_Click", [this] { fastsweep_Click(); });
    on("seltimediv_Click", [this] { seltimediv_Click(); });
    on("scopemode_Click", [this] { scopemode_Click(); });
    on("adcselect_Click", [this] { adcselect_Click(); });
    on("ch1vdiv_Click", [this] { ch1vdiv_Click(); });
    on("ch2vdiv_Click", [this] { ch2vdiv_Click(); });
    for (const char* setting :
         {"trigmode_Click", "trigsource_Click", "trigeredge_Click", "reclenght_Click"}) {
        on(setting, [this] { scopeSettingChanged(); });
    }
    on("Slider1_Change", [this] { Slider1_Change(); });
    on("Slider1_Scroll", [this] { Slider1_Scroll(); });
    on("TabStrip2_Click", [this] { TabStrip2_Click(); });
    on("TabStrip3_Click", [this] { TabStrip3_Click(); });
    on("combocursorselect_Click", [this] { combocursorselect_Click(); });
    on("Picture1_MouseDown", [this] { Picture1_MouseDown(); });
    on("cmdfft_Click", [this] { cmdfft_Click(); });
    on("Command2_Click", [this] { Command2_Click(); });
    on("cmdfastsweep_Click", [this] { cmdfastsweep_Click(); });
    on("selrfrange_Click", [this] { selrfrange_Click(); });
    on("frangesel_Click", [this] { frangesel_Click(); });
    on("cmdautoset_Click", [this] { cmdautoset_Click(); });
    on("measstats_Click", [this] { measstats_Click(); });
    on("cmdresetstats_Click", [this] { cmdresetstats_Click(); });
    on("acqmode_Click", [this] { acqmode_Click(); });
    on("persistence_Click", [this] { persistence_Click(); });
    on("cntdisplay_Click", [this] { cntdisplay_Click(); });
    on("MenuBar_ExportScope_Click", [this] { MenuBar_ExportScope_Click(); });
    on("MenuBar_ExportSweep_Click", [this] { MenuBar_ExportSweep_Click(); });
    on("MenuBar_ExportSpectrum_Click", [this] { MenuBar_ExportSpectrum_Click(); });
    on("MenuBar_SavePlot_Click", [this] { MenuBar_SavePlot_Click(); });
    on("mathmode_Click", [this] { mathmode_Click(); });
    on("mathvdiv_Click", [this] { mathvdiv_Click(); });
    on("xyview_Click", [this] { xyview_Click(); });
    on("MenuBar_SaveRefA_Click", [this] { MenuBar_SaveRefA_Click(); });
    on("MenuBar_SaveRefB_Click", [this] { MenuBar_SaveRefB_Click(); });
    on("MenuBar_LoadRefA_Click", [this] { MenuBar_LoadRefA_Click(); });
    on("MenuBar_LoadRefB_Click", [this] { MenuBar_LoadRefB_Click(); });
    on("MenuBar_ClearRefs_Click", [this] { MenuBar_ClearRefs_Click(); });
    // The same guide as the generator window's Help menu opens.
    on("MenuBar_UsersGuide_Click", [this] { generator_.MenuBar_UsersGuide_Click(); });
}

void Form1::scopeSettingChanged() {
    if (mon().monstate == RunState::Scope) {
        mon().monstate = RunState::StartScope;
    }
}

const MonitorMode* chosenMode(const Form1& w) {
    return monitorModeOf(w.selmonmode->text);
}

}  // namespace tunx
