// Event handlers of the mode box, the arbitrary destination and the output-stage controls.
// None of them sends a command: they lay the panel out or record a setting that the next
// command sequence reads.
#include <cstdint>
#include <optional>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "generator/Layout.h"
#include "generator/frmMain.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

// The whole number in a text box, when the text is a number that fits 16 bits.
std::optional<std::int16_t> wholeNumber16(const std::string& text) {
    const auto number = parseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    try {
        return CInt(*number);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

}  // namespace

void frmMain::ModeSelect_Click() {
    AdjustInterfaceOptions(*this, s_, ui_);
}

void frmMain::arbit_Click() {
    AdjustInterfaceOptions(*this, s_, ui_);
}

void frmMain::atten_Click() {
    s_.gen.sgatten = ticked(*atten);
}

// A text that is not a number, or one beyond 16 bits, leaves the level setting as it was:
// the box is edited a keystroke at a time and passes through such texts ("-", "1e").
void frmMain::tbsgaten_Change() {
    const std::string& text = tbsgaten->text;
    if (text.empty()) {
        return;
    }
    if (const auto level = wholeNumber16(text)) {
        s_.gen.sgaten = *level;
    }
}

void frmMain::undersmon_Click() {
    s_.gen.undersmonflag = ticked(*undersmon);
}

void frmMain::lowgain_Click() {
    s_.gen.lowgain = ticked(*lowgain);
}

void frmMain::compon_Click() {
    s_.gen.compon = ticked(*compon);
}

void frmMain::ampgain_Change() {
    if (const auto gain = parseNumber(ampgain->text)) {
        s_.gen.ampgain = *gain;
    }
}

}  // namespace tunx
