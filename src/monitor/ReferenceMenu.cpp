// The reference traces REF A and REF B: saved from the plot, loaded from a scope export,
// cleared; the File menu's entries for them.
#include "monitor/ReferenceMenu.h"

#include <array>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Layers.h"

namespace tunx {

namespace {

constexpr std::array<const char*, 2> kSlotNames = {"REF A", "REF B"};
constexpr const char* kCsvFilter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";
constexpr const char* kLoadTitle = "Load reference trace";
constexpr const char* kNothingShown = "there is no trace on the plot to keep";
constexpr const char* kNoMath = "the math trace is off";
constexpr const char* kNotLoadedStart = " was not loaded from ";
constexpr const char* kNotLoadedMiddle = ": ";
constexpr const char* kNotSavedStart = " was not saved: ";
constexpr const char* kLeftAsItWas = ". It was left as it was.";

void changed(Form1& w) {
    ++w.mon().refs.revision;
    redrawPlot(w);
}

// The channel a menu entry keeps: the cursor channel when the plot shows it, else CH1, else
// CH2.
ReferenceSource shownChannel(Form1& w) {
    const MonitorState& m = w.mon();
    const bool one = m.capture && !m.capture->ch1.codes.empty();
    const bool two = m.capture && !m.capture->ch2.codes.empty();
    if (two && (w.combocursorselect->text == trigger::kCH2 || !one)) {
        return ReferenceSource::CH2;
    }
    return ReferenceSource::CH1;
}

void saveFromMenu(Form1& w, std::size_t slot) {
    if (const auto why = saveReference(w, slot, shownChannel(w))) {
        w.ui().MsgBox(std::string(kSlotNames[slot]) + kNotSavedStart + *why + kLeftAsItWas,
                      MsgIcon::Exclamation);
    }
}

void loadFromMenu(Form1& w, std::size_t slot) {
    const std::string path = w.ui().FileDialog(FileDialogKind::Open, kLoadTitle, kCsvFilter, 1);
    if (path.empty()) {
        return;
    }
    if (const auto why = loadReference(w, slot, path)) {
        w.ui().MsgBox(std::string(kSlotNames[slot]) + kNotLoadedStart + path + kNotLoadedMiddle +
                          *why + kLeftAsItWas,
                      MsgIcon::Exclamation);
    }
}

}  // namespace

std::optional<std::string> saveReference(Form1& w, std::size_t slot, ReferenceSource source) {
    const MonitorState& m = w.mon();
    if (!m.capture || !m.captureShown) {
        return kNothingShown;
    }
    const MathOp math = mathShown(w) ? mathOpNow(w) : MathOp::Off;
    if (source == ReferenceSource::Math && math == MathOp::Off) {
        return kNoMath;
    }
    std::optional<ReferenceTrace> ref = referenceOf(*m.capture, source, math);
    if (!ref) {
        return kNothingShown;
    }
    putReference(w, slot, std::move(*ref));
    return std::nullopt;
}

std::optional<std::string> loadReference(Form1& w, std::size_t slot, const std::string& path) {
    std::string why;
    std::optional<ReferenceTrace> ref = readReferenceFile(path, why);
    if (!ref) {
        return why;
    }
    putReference(w, slot, std::move(*ref));
    return std::nullopt;
}

void clearReference(Form1& w, std::size_t slot) {
    if (w.mon().refs.traces[slot]) {
        w.mon().refs.traces[slot].reset();
        changed(w);
    }
}

void putReference(Form1& w, std::size_t slot, ReferenceTrace ref) {
    w.mon().refs.traces[slot] = std::move(ref);
    changed(w);
}

void Form1::MenuBar_SaveRefA_Click() {
    saveFromMenu(*this, kRefA);
}

void Form1::MenuBar_SaveRefB_Click() {
    saveFromMenu(*this, kRefB);
}

void Form1::MenuBar_LoadRefA_Click() {
    loadFromMenu(*this, kRefA);
}

void Form1::MenuBar_LoadRefB_Click() {
    loadFromMenu(*this, kRefB);
}

void Form1::MenuBar_ClearRefs_Click() {
    clearReference(*this, kRefA);
    clearReference(*this, kRefB);
}

}  // namespace tunx
