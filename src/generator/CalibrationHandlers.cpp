#include "dds/Calibration.h"
#include "generator/frmMain.h"

namespace tunx {

namespace {
constexpr const char* kDialogTitle = "Load From File";
constexpr const char* kDialogFilter =
    "Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*";
}  // namespace

void frmMain::calibr_file_Click() {
    const std::string path = ui_.FileDialog(FileDialogKind::Open, kDialogTitle, kDialogFilter, 1);
    if (!path.empty()) {
        tcali->text = path;
    }
    sgcalibration(s_, ui_, tcali->text);
}

void frmMain::Calibrate_Click() {
    sgcalibration(s_, ui_, tcali->text);
}

}  // namespace tunx
