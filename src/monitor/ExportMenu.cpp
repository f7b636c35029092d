// The monitor's File menu: the last record, sweep or spectrum as CSV, the plot as PNG.
#include <string>

#include "monitor/Export.h"
#include "monitor/Form1.h"
#include "monitor/plot/Sheet.h"

namespace tunx {

namespace {

constexpr const char* kCsvFilter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";
constexpr const char* kPngFilter = "PNG pictures (*.png)|*.png|All files (*.*)|*.*";
constexpr const char* kScopeTitle = "Export scope record";
constexpr const char* kSweepTitle = "Export sweep";
constexpr const char* kSpectrumTitle = "Export spectrum";
constexpr const char* kPlotTitle = "Save plot as PNG";
constexpr const char* kNotSavedStart = " could not be saved (";
constexpr const char* kNotSavedEnd = "). A file already there under that name was left as it was.";

void notSaved(Form1& w, const std::string& path, const std::string& why) {
    w.ui().MsgBox(path + kNotSavedStart + why + kNotSavedEnd, MsgIcon::Exclamation);
}

void exportMenu(Form1& w, ExportKind kind, const char* title) {
    const std::string path = w.ui().FileDialog(FileDialogKind::Save, title, kCsvFilter, 1);
    if (path.empty()) {
        return;
    }
    std::string why;
    if (!exportTo(w, kind, path, why)) {
        notSaved(w, path, why);
    }
}

}  // namespace

void Form1::MenuBar_ExportScope_Click() {
    exportMenu(*this, ExportKind::Scope, kScopeTitle);
}

void Form1::MenuBar_ExportSweep_Click() {
    exportMenu(*this, ExportKind::Sweep, kSweepTitle);
}

void Form1::MenuBar_ExportSpectrum_Click() {
    exportMenu(*this, ExportKind::Spectrum, kSpectrumTitle);
}

void Form1::MenuBar_SavePlot_Click() {
    const std::string path = ui().FileDialog(FileDialogKind::Save, kPlotTitle, kPngFilter, 1);
    if (path.empty()) {
        return;
    }
    std::string why;
    if (!canvas().SaveSheet(path, plotSheet(*this), why)) {
        notSaved(*this, path, why);
    }
}

}  // namespace tunx
