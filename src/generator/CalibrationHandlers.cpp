#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/SafeSave.h"
#include "dds/Calibration.h"
#include "generator/frmMain.h"

namespace tunx {

namespace {
constexpr const char* kDialogTitle = "Load From File";
constexpr const char* kDialogFilter =
    "Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*";
constexpr const char* kAskKeepStart = "Keep a copy of ";
constexpr const char* kAskKeepAs = " as ";
constexpr const char* kAskKeepEnd =
    "? The program reads this instrument's calibration file from there at every start.";
constexpr const char* kCopyFailed = "The calibration file could not be copied to ";
constexpr const char* kUnreadable = "it could not be read again";

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}
}  // namespace

void frmMain::calibr_file_Click() {
    const std::string path = ui_.FileDialog(FileDialogKind::Open, kDialogTitle, kDialogFilter, 1);
    if (!path.empty()) {
        tcali->text = path;
    }
    if (sgcalibration(s_, ui_, tcali->text) && !path.empty()) {
        offerToKeep(path);
    }
}

// A calibration file chosen by hand is the open instrument's own copy only when the user says
// so: it then goes into the user's data folder, where start-up looks first.
void frmMain::offerToKeep(const std::string& path) {
    const std::string& own = s_.host.userDataDir;
    if (own.empty() || !s_.link.devconnected) {
        return;
    }
    const std::string target = own + calibrationName(cmbDevice->text);
    if (sameFile(path, target) ||
        !ui_.MsgBoxYesNo(kAskKeepStart + path + kAskKeepAs + target + kAskKeepEnd)) {
        return;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), {}};
    std::string why = kUnreadable;
    if (in.is_open() && !in.bad()) {
        std::error_code ec;
        std::filesystem::create_directories(own, ec);
        if (saveFileSafely(target, content, &why)) {
            return;
        }
    }
    ui_.MsgBox(kCopyFailed + target + ": " + why);
}

void frmMain::Calibrate_Click() {
    sgcalibration(s_, ui_, tcali->text);
}

}  // namespace tunx
