#include "generator/frmMain.h"

namespace tunx {

frmMain::frmMain(SharedState& state, Link& link)
    : Window("frmMain", kGeneratorCaption),
      s_(state),
      usb_(link.usb()),
      clock_(link.clock()),
      ui_(link.ui()),
      link_(link) {
    buildControls();
    link_.onStatus([this](int status) { Status->text = std::to_string(status); });
    wireHandlers();
}

void frmMain::wireHandlers() {
    on("Form_Activate", [this] { Form_Activate(); });
    on("Form_Unload", [this] { Form_Unload(); });
    on("MenuBar_UsersGuide_Click", [this] { MenuBar_UsersGuide_Click(); });
    on("MenuBar_About_Click", [] {});
    on("cmbDevice_Click", [this] { cmbDevice_Click(); });
    on("calibr_file_Click", [this] { calibr_file_Click(); });
    on("Calibrate_Click", [this] { Calibrate_Click(); });
    on("ModeSelect_Click", [this] { ModeSelect_Click(); });
    on("arbit_Click", [this] { arbit_Click(); });
    on("atten_Click", [this] { atten_Click(); });
    on("tbsgaten_Change", [this] { tbsgaten_Change(); });
    on("undersmon_Click", [this] { undersmon_Click(); });
    on("lowgain_Click", [this] { lowgain_Click(); });
    on("compon_Click", [this] { compon_Click(); });
    on("ampgain_Change", [this] { ampgain_Change(); });
    on("MenuBar_SaveCfg_Click", [this] { MenuBar_SaveCfg_Click(); });
    on("MenuBar_LoadCfg_Click", [this] { MenuBar_LoadCfg_Click(); });
    on("loadfile_Click", [this] { loadfile_Click(); });
    on("SelectFile1_Click", [this] { SelectFile1_Click(); });
    on("RefreshBtn_Click", [this] { RefreshBtn_Click(); });
    on("RUN_Click", [this] { RUN_Click(); });
    on("STOP_Click", [this] { STOP_Click(); });
}

}  // namespace tunx
