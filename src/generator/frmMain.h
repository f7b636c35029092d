#pragma once

#include <string>

#include "controls/frmMainControls.h"
#include "link/Link.h"
#include "ports/Clock.h"
#include "ports/Ui.h"
#include "ports/UsbApi.h"
#include "state/SharedState.h"
#include "window/Window.h"

namespace tunx {

inline constexpr const char* kGeneratorCaption = "Function Generator TUNX4K V4.5";

// The generator window: its controls, its handlers and the start-up of the device link. The
// link is the program's; its status shows in the Status label.
class frmMain : public Window, public frmMainControls {
  public:
    frmMain(SharedState& state, Link& link);

    SharedState& state() { return s_; }
    Link& link() { return link_; }
    Ui& ui() { return ui_; }
    Clock& clock() { return clock_; }
    UsbApi& usb() { return usb_; }

    // Start-up and shut-down.
    void Form_Activate();
    void FindDevice();
    bool GetDeviceList();
    void OpenDevice();
    void inicijalizacija();
    void Form_Unload();
    void MenuBar_UsersGuide_Click();
    void cmbDevice_Click();

    // Calibration.
    void calibr_file_Click();
    void Calibrate_Click();
    void offerToKeep(const std::string& path);

    // Panel layout, output-stage controls and configuration files.
    void ModeSelect_Click();
    void arbit_Click();
    void atten_Click();
    void tbsgaten_Change();
    void undersmon_Click();
    void lowgain_Click();
    void compon_Click();
    void ampgain_Change();
    void MenuBar_SaveCfg_Click();
    void MenuBar_LoadCfg_Click();

    // Arbitrary profile buttons.
    void loadfile_Click();
    void SelectFile1_Click();

    // The command buttons.
    void RefreshBtn_Click();
    void RUN_Click();
    void STOP_Click();

    // Installation folder files.
    std::string installFile(const std::string& name) const { return s_.host.installDir + name; }
    // The name of the calibration file of the instrument with the serial number `serial`:
    // "CalData" + its characters 8-14 + ".txt".
    static std::string calibrationName(const std::string& serial);
    // That instrument's calibration file: the user's copy in their data folder, else the one in
    // `folder`.
    std::string calibrationFile(const std::string& folder, const std::string& serial) const;

  private:
    void buildControls();
    void wireHandlers();

    SharedState& s_;
    UsbApi& usb_;
    Clock& clock_;
    Ui& ui_;
    Link& link_;
};

}  // namespace tunx
