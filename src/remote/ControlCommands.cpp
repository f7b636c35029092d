// Everything else the windows offer, by control name, with the meaning of the script runner's
// set, choose, check, click, tab and mouse lines. A control is named "Window.control" or by
// its bare name (the generator window first). Only what the windows offer now can be used: a
// disabled control is refused, and so are the text boxes that hold a path on this machine.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "cli/Actions.h"
#include "common/Numbers.h"
#include "remote/CommandTable.h"
#include "remote/Panel.h"
#include "remote/Params.h"
#include "remote/Reply.h"

namespace tunx::remote {

namespace {

constexpr std::string_view kPixels = "";

// The control a parameter names, and its window.
std::pair<Window*, Control*> named(Call& c) {
    const std::string name = param::text(c.params[0]);
    cli::ScriptLine line;
    line.control = name;
    try {
        return cli::lookupControl(c.program, line);
    } catch (const cli::ScriptError&) {
        throw ScpiError(error::kIllegalValue, "no control named '" + name + "'");
    }
}

// The text boxes whose text names a file on this machine: a client never sets them.
bool holdsPath(Program& p, const Control& control) {
    const frmMain& gen = p.generator();
    return &control == gen.flocation.get() || &control == gen.tcali.get();
}

// The control a parameter names, offered now, and of one of `kinds`.
std::pair<Window*, Control*> usable(Call& c, std::initializer_list<ControlKind> kinds) {
    auto [window, control] = named(c);
    if (std::find(kinds.begin(), kinds.end(), control->kind) == kinds.end()) {
        throw ScpiError(error::kSettingsConflict, control->name + " cannot take that");
    }
    requireEnabled(*control, control->name);
    if (!control->visible) {
        throw ScpiError(error::kSettingsConflict, control->name + " is hidden now");
    }
    if (holdsPath(c.program, *control)) {
        throw ScpiError(error::kSettingsConflict,
                        control->name + " names a file on the instrument's computer");
    }
    return {window, control};
}

void setControl(Call& c) {
    auto [window, control] =
        usable(c, {ControlKind::TextBox, ControlKind::ComboBox, ControlKind::Slider});
    const std::string text = param::text(c.params[1]);
    if (control->kind == ControlKind::Slider) {
        const std::optional<double> n = parseNumber(text);
        if (!n || *n != std::round(*n)) {
            throw ScpiError(error::kIllegalValue, control->name + " takes a whole number");
        }
        cli::moveSlider(c.program, *window, *control, static_cast<int>(std::clamp(*n, -1e9, 1e9)));
        return;
    }
    cli::typeInto(c.program, *window, *control, text);
}

void chooseControl(Call& c) {
    auto [window, control] = usable(c, {ControlKind::ComboBox});
    cli::chooseIn(c.program, *window, *control, param::text(c.params[1]));
}

void checkControl(Call& c) {
    auto [window, control] = usable(c, {ControlKind::CheckBox});
    cli::checkBox(c.program, *window, *control, param::boolean(c.params[1]) ? 1 : 0);
}

void clickControl(Call& c) {
    auto [window, control] = usable(c, {ControlKind::Button, ControlKind::Menu});
    cli::press(c.program, *window, *control);
}

void tabControl(Call& c) {
    auto [window, control] = usable(c, {ControlKind::TabStrip});
    const double n = param::number(c.params[1], "");
    if (n != std::round(n) || n < 1 || n > static_cast<double>(control->items.size())) {
        throw ScpiError(error::kOutOfRange,
                        control->name + " has tabs 1 to " + std::to_string(control->items.size()));
    }
    cli::clickTab(c.program, *window, *control, static_cast<std::size_t>(n));
}

void mouseControl(Call& c) {
    const double x = param::number(c.params[0], kPixels);
    const double y = param::number(c.params[1], kPixels);
    cli::moveMouse(c.program, x, y);
}

// A check box's or slider's value, any other control's text.
void valueOf(Call& c) {
    const Control& control = *named(c).second;
    const bool valued =
        control.kind == ControlKind::CheckBox || control.kind == ControlKind::Slider;
    c.reply = reply::quoted(valued ? std::to_string(control.value) : control.text);
}

}  // namespace

std::vector<Command> controlCommands() {
    const Count two{2, 2};
    return {
        {.pattern = "CONTrol:SET", .set = setControl, .setParams = two},
        {.pattern = "CONTrol:CHOose", .set = chooseControl, .setParams = two},
        {.pattern = "CONTrol:CHECk", .set = checkControl, .setParams = two},
        {.pattern = "CONTrol:CLICk", .set = clickControl},
        {.pattern = "CONTrol:TAB", .set = tabControl, .setParams = two},
        {.pattern = "CONTrol:MOUSe", .set = mouseControl, .setParams = two},
        {.pattern = "CONTrol:VALue", .query = valueOf, .queryParams = {1, 1}},
        {.pattern = "CONTrol:ENABled",
         .query = [](Call& c) { c.reply = reply::flag(named(c).second->enabled); },
         .queryParams = {1, 1}},
    };
}

}  // namespace tunx::remote
