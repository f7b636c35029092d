#include "cli/Actions.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

#include "monitor/ReferenceMenu.h"
#include "monitor/scope/MathTrace.h"

namespace tunx::cli {

namespace {

// A slider's new value: a whole number, kept inside the slider's range as its track does.
int sliderValue(const ScriptLine& l, const Control& slider) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(l.text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != l.text.size()) {
        throw ScriptError(l.number, l.control + " takes a whole number");
    }
    return static_cast<int>(std::clamp<long>(value, slider.minimum, slider.maximum));
}

// A control the window does not offer now (greyed out) cannot be used, as in the window.
Control& offered(const ScriptLine& l, Control& control) {
    if (!control.enabled) {
        throw ScriptError(l.number, l.control + " is disabled in its window now");
    }
    return control;
}

// ref save|load|clear: the reference traces, as the File menu's entries change them.
void referenceLine(Program& program, const ScriptLine& l) {
    Form1& monitor = program.monitor();
    const std::string& what = l.words[0];
    const std::string& slot = l.words[1];
    const std::size_t index = slot == "B" ? kRefB : kRefA;
    std::optional<std::string> refused;
    program.dispatch([&] {
        if (what == "save") {
            const ReferenceSource source = l.text == "CH2"    ? ReferenceSource::CH2
                                           : l.text == "MATH" ? ReferenceSource::Math
                                                              : ReferenceSource::CH1;
            refused = saveReference(monitor, index, source);
        } else if (what == "load") {
            refused = loadReference(monitor, index, l.text);
        } else {
            for (const std::size_t i : {kRefA, kRefB}) {
                if (slot == "all" || i == index) {
                    clearReference(monitor, i);
                }
            }
        }
    });
    if (refused) {
        throw ScriptError(l.number, "ref " + what + " " + slot + ": " + *refused);
    }
}

}  // namespace

std::pair<Window*, Control*> lookupControl(Program& program, const ScriptLine& l) {
    const auto dot = l.control.find('.');
    if (dot != std::string::npos) {
        if (Window* w = program.window(l.control.substr(0, dot))) {
            if (Control* c = w->find(l.control.substr(dot + 1))) {
                return {w, c};
            }
        }
    } else {
        for (Window* w : {static_cast<Window*>(&program.generator()),
                          static_cast<Window*>(&program.monitor())}) {
            if (Control* c = w->find(l.control)) {
                return {w, c};
            }
        }
    }
    throw ScriptError(l.number, "no control named '" + l.control + "'");
}

bool typeInto(Program& program, Window& window, Control& control, const std::string& text) {
    return program.dispatch([&] { window.typeText(control, text); });
}

bool chooseIn(Program& program, Window& window, Control& control, const std::string& text) {
    return program.dispatch([&] { window.choose(control, text); });
}

bool checkBox(Program& program, Window& window, Control& box, int value) {
    return program.dispatch([&] { window.check(box, value); });
}

bool press(Program& program, Window& window, Control& control) {
    return program.dispatch(window, control.name + "_" + event::kClick);
}

bool moveSlider(Program& program, Window& window, Control& slider, int value) {
    const int kept = std::clamp(value, slider.minimum, slider.maximum);
    return program.dispatch([&] {
        slider.value = kept;
        window.fire(slider, event::kChange);
    });
}

bool clickTab(Program& program, Window& window, Control& strip, std::size_t n) {
    return program.dispatch([&] {
        strip.value = static_cast<int>(n);
        strip.text = strip.items[n - 1];
        window.fire(strip, event::kClick);
    });
}

bool moveMouse(Program& program, double x, double y) {
    Form1& monitor = program.monitor();
    return program.dispatch([&] { monitor.Picture1_MouseMove(0, 0, x, y); });
}

bool performAction(Program& program, const ScriptLine& l) {
    const std::string& k = l.keyword;
    if (k == "set" || k == "choose" || k == "check" || k == "click") {
        auto [w, c] = lookupControl(program, l);
        Window& window = *w;
        Control& control = offered(l, *c);
        if (k == "set" && control.kind == ControlKind::Slider) {
            moveSlider(program, window, control, sliderValue(l, control));
        } else if (k == "set") {
            typeInto(program, window, control, l.text);
        } else if (k == "choose") {
            chooseIn(program, window, control, l.text);
        } else if (k == "check") {
            checkBox(program, window, control, l.text == "1" ? 1 : 0);
        } else {
            press(program, window, control);
        }
    } else if (k == "menu") {
        for (Window* w : {static_cast<Window*>(&program.generator()),
                          static_cast<Window*>(&program.monitor())}) {
            if (w->hasHandler(l.control)) {
                program.dispatch(*w, l.control);
                return true;
            }
        }
        throw ScriptError(l.number, "no menu handler named '" + l.control + "'");
    } else if (k == "tab") {
        auto [w, c] = lookupControl(program, l);
        Window& window = *w;
        Control& control = offered(l, *c);
        const auto n = static_cast<std::size_t>(std::stoi(l.text));
        if (control.kind != ControlKind::TabStrip || n < 1 || n > control.items.size()) {
            throw ScriptError(l.number, l.control + " has no tab " + l.text);
        }
        clickTab(program, window, control, n);
    } else if (k == "tick") {
        const int n = std::stoi(l.text);
        for (int i = 0; i < n && !program.ended(); ++i) {
            program.tick();
        }
    } else if (k == "autoset") {
        Form1& monitor = program.monitor();
        if (!monitor.cmdautoset->enabled) {
            throw ScriptError(l.number, "autoset: Auto Set is disabled in this monitor mode");
        }
        press(program, monitor, *monitor.cmdautoset);
    } else if (k == "stats") {
        Form1& monitor = program.monitor();
        if (l.text == "reset") {
            press(program, monitor, *monitor.cmdresetstats);
        } else {
            checkBox(program, monitor, *monitor.measstats, l.text == "on" ? 1 : 0);
        }
    } else if (k == "counterview") {
        Form1& monitor = program.monitor();
        if (!monitor.cntdisplay->enabled) {
            throw ScriptError(l.number, "counterview: only in the mode Frequency Counter");
        }
        checkBox(program, monitor, *monitor.cntdisplay, l.text == "on" ? 1 : 0);
    } else if (k == "fftaverage") {
        Form1& monitor = program.monitor();
        chooseIn(program, monitor, *monitor.fftaverage, l.text);
    } else if (k == "ffthold") {
        Form1& monitor = program.monitor();
        checkBox(program, monitor, *monitor.ffthold, l.text == "on" ? 1 : 0);
    } else if (k == "acquire") {
        Form1& monitor = program.monitor();
        chooseIn(program, monitor, *monitor.acqmode, l.text);
    } else if (k == "persistence") {
        Form1& monitor = program.monitor();
        chooseIn(program, monitor, *monitor.persistence, l.text);
    } else if (k == "mouse") {
        moveMouse(program, std::stod(l.words[0]), std::stod(l.words[1]));
    } else if (k == "defaults") {
        if (!program.restoreMonitorDefaults()) {
            throw ScriptError(l.number, "defaults: the monitor window has not started");
        }
    } else if (k == "math") {
        Form1& monitor = program.monitor();
        if (!monitor.mathmode->enabled) {
            throw ScriptError(l.number, "math: only in the mode Scope CH1+CH2");
        }
        const auto word = std::find(kMathModeWords.begin(), kMathModeWords.end(), l.words[0]);
        const std::string entry(
            kMathModeTexts[static_cast<std::size_t>(word - kMathModeWords.begin())]);
        chooseIn(program, monitor, *monitor.mathmode, entry);
        if (l.words.size() == 2) {
            // The V/div as the list names it; "V2" stands for "V²" in a product's.
            std::string perDiv = l.words[1];
            if (perDiv.ends_with("V2")) {
                perDiv.replace(perDiv.size() - 1, 1, "\u00b2");
            }
            const std::vector<std::string>& entries = monitor.mathvdiv->items;
            if (std::find(entries.begin(), entries.end(), perDiv) == entries.end()) {
                throw ScriptError(l.number, "math: mathvdiv has no entry " + l.words[1]);
            }
            chooseIn(program, monitor, *monitor.mathvdiv, perDiv);
        }
    } else if (k == "xy") {
        Form1& monitor = program.monitor();
        if (!monitor.xyview->enabled) {
            throw ScriptError(l.number, "xy: only in the mode Scope CH1+CH2");
        }
        checkBox(program, monitor, *monitor.xyview, l.text == "on" ? 1 : 0);
    } else if (k == "ref") {
        referenceLine(program, l);
    } else {
        return false;
    }
    return true;
}

}  // namespace tunx::cli
