// The monitor settings a run keeps for the next, and putting them back.
#include "monitor/KeptSettings.h"

#include <algorithm>
#include <array>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/RunLoop.h"

namespace tunx {

namespace {

// Sampling before time base before converter: each time base of the 12-bit converter is one
// of real-time sampling, so a time base is in force before the converter that needs it.
constexpr std::array kKept = {
    // Sweep limits and scale.
    &Form1Controls::startf, &Form1Controls::startfunit, &Form1Controls::stopf,
    &Form1Controls::stopfunit, &Form1Controls::textstarta, &Form1Controls::combstarta,
    &Form1Controls::textstopa, &Form1Controls::combstopa, &Form1Controls::selrfrange,
    // Scope.
    &Form1Controls::scopemode, &Form1Controls::seltimediv, &Form1Controls::adcselect,
    &Form1Controls::ch1vdiv, &Form1Controls::ch2vdiv, &Form1Controls::trigsource,
    &Form1Controls::trigeredge, &Form1Controls::trigmode, &Form1Controls::reclenght,
    // Spectrum, statistics, counter.
    &Form1Controls::fftscale, &Form1Controls::fftwindow, &Form1Controls::fftaverage,
    &Form1Controls::ffthold, &Form1Controls::measstats, &Form1Controls::frangesel,
    &Form1Controls::cntdisplay,
    // Math (its operation before its V/div, whose entries take the operation's unit) and XY.
    &Form1Controls::mathmode, &Form1Controls::mathvdiv, &Form1Controls::xyview,
    // The scope's display.
    &Form1Controls::acqmode, &Form1Controls::persistence,
    // New settings go here.
};

constexpr const char* kTicked = "1";
constexpr const char* kClear = "0";
// A number field's text longer than this is no number a user typed.
constexpr std::size_t kLongestNumber = 32;

std::optional<std::string> valueOf(const Control& look) {
    switch (look.kind) {
        case ControlKind::CheckBox:
            return std::string(look.value == 1 ? kTicked : kClear);
        case ControlKind::ComboBox:
        case ControlKind::TextBox:
            return look.text;
        default:
            return std::nullopt;
    }
}

// Sets `c` to `value` and runs its handler, as the user does; false when the value does not
// fit the control.
bool choose(Form1& w, Control& c, const std::string& value) {
    switch (c.kind) {
        case ControlKind::CheckBox:
            if (value != kTicked && value != kClear) {
                return false;
            }
            w.check(c, value == kTicked ? 1 : 0);
            return true;
        case ControlKind::ComboBox:
            if (std::find(c.items.begin(), c.items.end(), value) == c.items.end()) {
                return false;
            }
            w.choose(c, value);
            return true;
        case ControlKind::TextBox:
            if (value.size() > kLongestNumber || !parseNumber(value)) {
                return false;
            }
            w.typeText(c, value);
            return true;
        default:
            return false;
    }
}

void restoreOne(Form1& w, KeptControl kept, const KeptSettings& values) {
    Control& c = *(w.*kept);
    const auto found = values.find(c.name);
    if (found != values.end() && valueOf(c) != found->second) {
        choose(w, c, found->second);
    }
}

}  // namespace

std::span<const KeptControl> keptControls() {
    return kKept;
}

std::optional<std::string> keptValue(const Form1Controls& w, const Control& control,
                                     const Control& look) {
    if ((w.*kKeptMode).get() == &control) {
        return valueOf(look);
    }
    for (KeptControl kept : kKept) {
        if ((w.*kept).get() == &control) {
            return valueOf(look);
        }
    }
    return std::nullopt;
}

KeptSettings keptSettings(const Form1Controls& w) {
    KeptSettings out;
    for (KeptControl kept : kKept) {
        out[(w.*kept)->name] = valueOf(*(w.*kept)).value_or("");
    }
    out[(w.*kKeptMode)->name] = valueOf(*(w.*kKeptMode)).value_or("");
    return out;
}

void restoreKept(Form1& w, const KeptSettings& kept) {
    for (KeptControl c : kKept) {
        restoreOne(w, c, kept);
    }
    restoreOne(w, kKeptMode, kept);
}

void restoreDefaults(Form1& w, const KeptSettings& defaults) {
    if (measuring(w.mon())) {
        w.cmdstop_Click();
    }
    restoreKept(w, defaults);
    // The positions, cursors and colours of the first start, and the mode laid out again.
    w.mon().moninit = false;
    w.Form_Activate();
}

}  // namespace tunx
