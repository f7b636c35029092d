// Start-up: the generator window's first activation finds, opens and configures the device.
#include <algorithm>
#include <array>

#include "common/Numbers.h"
#include "dds/Calibration.h"
#include "generator/Layout.h"
#include "generator/frmMain.h"

namespace tunx {

namespace {
constexpr const char* kModelCode = "tunx4k";
constexpr std::size_t kModelCodeLength = 6;
constexpr std::size_t kDeviceIdStart = 7;  // characters 8-14
constexpr std::size_t kDeviceIdLength = 7;
constexpr std::uint32_t kOpenTimeoutMs = 3000;
constexpr std::uint32_t kBaudRate = 115200;
constexpr DeviceHandle kNoDeviceHandle = 1;
constexpr std::size_t kMaxSerialLength = 256;

constexpr const char* kMsgNoUsb = "Error finding USB device. Aborting application.";
constexpr const char* kMsgNoDevice = "ERROR!!! No attached device is found!!!";
constexpr const char* kMsgNoTunx = "Error finding TUNX3K device. Aborting application.";
constexpr const char* kMsgOpenStart = "Error opening device: ";
constexpr const char* kMsgOpenEnd = ". Application is aborting. Reset hardware and try again.";
constexpr const char* kMsgBaud = "error seting baud rate";
constexpr const char* kUsersGuide = "SigGen_helpfile.txt";
constexpr const char* kMonitorForm = "Form1";
constexpr int kDeviceListPauseMs = 10;
}  // namespace

void frmMain::Form_Activate() {
    if (s_.link.activated) {
        return;
    }
    s_.link.activated = true;
    s_.mon.monstate = RunState::IdleAtStart;
    FindDevice();
    s_.link.devconnected = false;
    if (s_.link.devcount < 1) {
        ui_.MsgBox(kMsgNoDevice);
        return;
    }
    Control& device = *cmbDevice;
    device.enabled = true;
    const std::string folder = tcali->text;
    for (int i = 0; i < s_.link.devcount; ++i) {
        if (static_cast<std::size_t>(i) >= device.items.size()) {
            break;
        }
        device.listIndex = i;
        device.text = device.items[static_cast<std::size_t>(i)];
        const std::string& entry = device.text;
        const std::string model = entry.substr(0, std::min(entry.size(), kModelCodeLength));
        const std::string id =
            entry.size() > kDeviceIdStart ? entry.substr(kDeviceIdStart, kDeviceIdLength) : "";
        tcali->text = folder + "CalData" + id + ".txt";
        if (model != kModelCode) {
            continue;
        }
        OpenDevice();
        if (Status->text == "0") {
            device.enabled = false;
            s_.link.devconnected = true;
            inicijalizacija();
            break;
        }
    }
    if (!s_.link.devconnected) {
        ui_.MsgBox(kMsgNoTunx);
        link_.endApplication();
    }
}

void frmMain::FindDevice() {
    s_.link.devhandle = kNoDeviceHandle;
    if (!GetDeviceList()) {
        ui_.MsgBox(kMsgNoUsb);
        link_.endApplication();
    }
}

bool frmMain::GetDeviceList() {
    Control& device = *cmbDevice;
    device.items.clear();
    device.text.clear();
    device.listIndex = -1;
    std::uint32_t count = 0;
    const int status = usb_.SI_GetNumDevices(count);
    link_.showStatus(status);
    s_.link.devcount = static_cast<std::int16_t>(std::min<std::uint32_t>(count, 32767));
    if (status != usb::kSuccess) {
        return false;
    }
    for (int i = 0; i < s_.link.devcount; ++i) {
        std::array<char, usb::kProductStringSize> buffer{};
        link_.showStatus(usb_.SI_GetProductString(static_cast<std::uint32_t>(i), buffer,
                                                  usb::kProductStringSerial));
        const auto end = std::find(buffer.begin(), buffer.begin() + kMaxSerialLength, '\0');
        device.items.emplace_back(buffer.begin(), end);
    }
    if (!device.items.empty()) {
        device.listIndex = 0;
        device.text = device.items.front();
    }
    return true;
}

void frmMain::OpenDevice() {
    link_.showStatus(usb_.SI_SetTimeouts(kOpenTimeoutMs, kOpenTimeoutMs));
    const Control& device = *cmbDevice;
    DeviceHandle handle = s_.link.devhandle;
    const int status = usb_.SI_Open(static_cast<std::uint32_t>(device.listIndex), handle);
    s_.link.devhandle = handle;
    link_.showStatus(status);
    if (status != usb::kSuccess) {
        ui_.MsgBox(kMsgOpenStart + device.text + kMsgOpenEnd);
        link_.endApplication();
    }
}

void frmMain::inicijalizacija() {
    ui_.ShowForm(kMonitorForm, name());
    const int status = usb_.SI_SetBaudRate(s_.link.devhandle, kBaudRate);
    link_.showStatus(status);
    if (status != usb::kSuccess) {
        ui_.MsgBox(kMsgBaud);
    }
    sgcalibration(s_, ui_, tcali->text);
    AdjustInterfaceOptions(*this, s_, ui_);
}

void frmMain::Form_Unload() {
    usb_.SI_Close(s_.link.devhandle);
    link_.endApplication();
}

void frmMain::MenuBar_UsersGuide_Click() {
    ui_.OpenUsersGuide(installFile(kUsersGuide));
}

void frmMain::cmbDevice_Click() {
    clock_.Sleep(kDeviceListPauseMs);
}

}  // namespace tunx
