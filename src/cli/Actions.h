#pragma once

#include <utility>

#include "cli/Script.h"
#include "program/Program.h"

namespace tunx::cli {

// CONTROL of a script line as Window.control or a bare name (generator window first).
// Raises ScriptError for a name that no window has.
std::pair<Window*, Control*> lookupControl(Program& program, const ScriptLine& l);

// Carries out a script line that stands for what a user does (set, choose, check, click,
// menu, tab, tick, mouse) through the program's rules, as the window system would deliver
// it. False for any other line. Raises ScriptError for a line that names nothing usable.
bool performAction(Program& program, const ScriptLine& l);

}  // namespace tunx::cli
