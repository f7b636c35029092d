#pragma once

#include <string>
#include <utility>

#include "cli/Script.h"
#include "program/Program.h"

namespace tunx::cli {

// CONTROL of a script line as Window.control or a bare name (generator window first).
// Raises ScriptError for a name that no window has.
std::pair<Window*, Control*> lookupControl(Program& program, const ScriptLine& l);

// The user's actions on one control, carried out through the program's rules as the window
// system would deliver them; the script lines below and the remote control use them. Each
// returns whether the program admitted it.
bool typeInto(Program& program, Window& window, Control& control, const std::string& text);
bool chooseIn(Program& program, Window& window, Control& control, const std::string& text);
bool checkBox(Program& program, Window& window, Control& box, int value);
bool press(Program& program, Window& window, Control& control);
// Moves a slider to `value`, kept inside its range as its track does.
bool moveSlider(Program& program, Window& window, Control& slider, int value);
// Clicks tab n (from 1) of a tab strip; n must be one of its tabs.
bool clickTab(Program& program, Window& window, Control& strip, std::size_t n);
// The mouse moves over the monitor's picture to (x, y), no button pressed.
bool moveMouse(Program& program, double x, double y);

// Carries out a script line that stands for what a user does (set, choose, check, click,
// menu, tab, tick, mouse, autoset, stats, counterview, fftaverage, ffthold, math, xy, ref,
// acquire, persistence) through the program's rules, as the window system would deliver it.
// False for any other line. Raises ScriptError for a line that names nothing usable or a
// control the window has disabled, and for a reference that could not be saved or loaded.
bool performAction(Program& program, const ScriptLine& l);

}  // namespace tunx::cli
