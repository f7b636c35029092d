#pragma once

#include <optional>
#include <string>

#include "program/Program.h"
#include "remote/RemoteState.h"

namespace tunx::remote {

// What the remote commands need of the two windows, through their typed handles.

// Refuses (Settings conflict) a command on a control the windows do not offer now.
void requireEnabled(const Control& control, const std::string& what);
// A value as a field shows it: the shortest text that reads back as the same number.
std::string fieldText(double value);
// The number a field's text holds; none for a text that is not a number.
std::optional<double> fieldNumber(const Control& field);

// Sets a text box as typing would, a list as a click on an entry would (only when its text
// differs), a check box as a click would (only when its value differs).
void typeText(Program& program, Window& window, Control& field, const std::string& text);
void chooseEntry(Program& program, Window& window, Control& list, const std::string& entry);
void setCheck(Program& program, Window& window, Control& box, bool on);
void press(Program& program, Window& window, Control& button);

// The generator's output is on and continuous (RUN shows "RUNNING").
bool outputRunning(frmMain& generator);
// The generator's output is on, continuous or armed for single shots.
bool outputOn(frmMain& generator);

// A measurement runs in the monitor (a start state included).
bool monitorRunning(Form1& monitor);
// START of the monitor's current mode, and what it then owes: the next record, reading or
// the sweep's end.
void startMonitor(Program& program, RemoteState& state);
// Whether the operation the client waits for, if any, has ended (or can no longer end: the
// measurement stopped, the program ended).
bool operationsComplete(Program& program, const RemoteState& state);

}  // namespace tunx::remote
