// Start-up: the generator window's first activation finds, opens and configures the device.
#include <algorithm>
#include <array>

#include "common/LineReader.h"
#include "common/Numbers.h"
#include "dds/Calibration.h"
#include "generator/Layout.h"
#include "generator/frmMain.h"
#include "link/Instruments.h"

namespace tunx {

namespace {
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
constexpr const char* kMsgSerialStart = "No instrument with the serial number ";
constexpr const char* kMsgSerialAttached = " is attached. Attached: ";
constexpr const char* kMsgSerialNone = "none";
constexpr const char* kCalibrationStart = "CalData";
constexpr const char* kCalibrationEnd = ".txt";
constexpr const char* kMonitorForm = "Form1";
constexpr const char* kIdleState = "Idle";
constexpr int kDeviceListPauseMs = 10;

// A message and what the transport adds to it, on a line of its own.
std::string withAdvice(const std::string& message, const std::string& advice) {
    return advice.empty() ? message : message + "\n\n" + advice;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) {
        out += (out.empty() ? "" : ", ") + t;
    }
    return out;
}
}  // namespace

std::string frmMain::calibrationName(const std::string& serial) {
    const std::string id =
        serial.size() > kDeviceIdStart ? serial.substr(kDeviceIdStart, kDeviceIdLength) : "";
    return kCalibrationStart + id + kCalibrationEnd;
}

// The user's own copy in their data folder comes first.
std::string frmMain::calibrationFile(const std::string& folder, const std::string& serial) const {
    const std::string name = calibrationName(serial);
    const std::string& own = s_.host.userDataDir;
    if (!own.empty() && fileKind(own + name) == FileKind::Readable) {
        return own + name;
    }
    return folder + name;
}

void frmMain::Form_Activate() {
    if (s_.link.activated) {
        return;
    }
    s_.link.activated = true;
    s_.mon.monstate = kIdleState;
    FindDevice();
    s_.link.devconnected = false;
    if (s_.link.devcount < 1) {
        ui_.MsgBox(withAdvice(kMsgNoDevice, usb_.noDeviceAdvice()));
        return;
    }
    Control& device = *cmbDevice;
    device.enabled = true;
    const std::string folder = tcali->text;
    const std::string& wanted = s_.host.serial;
    for (int i = 0; i < s_.link.devcount; ++i) {
        if (static_cast<std::size_t>(i) >= device.items.size()) {
            break;
        }
        device.listIndex = i;
        device.text = device.items[static_cast<std::size_t>(i)];
        const std::string& entry = device.text;
        tcali->text = calibrationFile(folder, entry);
        if (!isInstrumentSerial(entry) || (!wanted.empty() && entry != wanted)) {
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
    if (s_.link.devconnected) {
        return;
    }
    // A device whose serial number could not be read may be the instrument.
    std::string problems;
    for (int i = 0; i < s_.link.devcount; ++i) {
        const std::string problem = usb_.deviceProblem(static_cast<std::uint32_t>(i));
        problems += (problems.empty() || problem.empty() ? "" : "\n\n") + problem;
    }
    if (!wanted.empty() && problems.empty()) {
        // Another instrument than the one asked for is no choice: as without a device.
        std::vector<std::string> attached;
        std::ranges::copy_if(device.items, std::back_inserter(attached),
                             [](const std::string& e) { return isInstrumentSerial(e); });
        ui_.MsgBox(kMsgSerialStart + wanted + kMsgSerialAttached +
                   (attached.empty() ? kMsgSerialNone : joined(attached)) + ".");
        return;
    }
    ui_.MsgBox(withAdvice(kMsgNoTunx, problems));
    link_.endApplication();
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
        ui_.MsgBox(withAdvice(kMsgOpenStart + device.text + kMsgOpenEnd,
                              usb_.deviceProblem(static_cast<std::uint32_t>(device.listIndex))));
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
