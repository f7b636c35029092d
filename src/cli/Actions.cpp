#include "cli/Actions.h"

#include <algorithm>
#include <exception>
#include <string>

namespace tunx::cli {

namespace {

constexpr const char* kChange = "Change";
constexpr const char* kClick = "Click";

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

bool performAction(Program& program, const ScriptLine& l) {
    const std::string& k = l.keyword;
    if (k == "set" || k == "choose" || k == "check" || k == "click") {
        auto [w, c] = lookupControl(program, l);
        Window& window = *w;
        Control& control = *c;
        if (k == "set" && control.kind == ControlKind::Slider) {
            const int value = sliderValue(l, control);
            program.dispatch([&] {
                control.value = value;
                window.fire(control, kChange);
            });
        } else if (k == "set") {
            program.dispatch([&] { window.typeText(control, l.text); });
        } else if (k == "choose") {
            program.dispatch([&] { window.choose(control, l.text); });
        } else if (k == "check") {
            program.dispatch([&] { window.check(control, l.text == "1" ? 1 : 0); });
        } else {
            program.dispatch(window, control.name + "_" + kClick);
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
        Control& control = *c;
        const auto n = static_cast<std::size_t>(std::stoi(l.text));
        if (control.kind != ControlKind::TabStrip || n < 1 || n > control.items.size()) {
            throw ScriptError(l.number, l.control + " has no tab " + l.text);
        }
        program.dispatch([&] {
            control.value = static_cast<int>(n);
            control.text = control.items[n - 1];
            window.fire(control, kClick);
        });
    } else if (k == "tick") {
        const int n = std::stoi(l.text);
        for (int i = 0; i < n && !program.ended(); ++i) {
            program.tick();
        }
    } else if (k == "mouse") {
        const double x = std::stod(l.words[0]);
        const double y = std::stod(l.words[1]);
        Form1& monitor = program.monitor();
        program.dispatch([&] { monitor.Picture1_MouseMove(0, 0, x, y); });
    } else {
        return false;
    }
    return true;
}

}  // namespace tunx::cli
