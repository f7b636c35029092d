#include "generator/frmMain.h"

namespace tunx {

frmMain::frmMain(SharedState& state, UsbApi& usb, Clock& clock, Ui& ui)
    : Window("frmMain", kGeneratorCaption), s_(state), usb_(usb), clock_(clock), ui_(ui) {
    buildControls();
    link_.emplace(s_, usb_, clock_, ui_, (*this)["Status"]);
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
}

}  // namespace tunx
