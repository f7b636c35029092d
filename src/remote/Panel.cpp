#include "remote/Panel.h"

#include "cli/Actions.h"
#include "common/Numbers.h"
#include "generator/RunStop.h"
#include "monitor/Modes.h"
#include "remote/Error.h"

namespace tunx::remote {

void requireEnabled(const Control& control, const std::string& what) {
    if (!control.enabled) {
        throw ScpiError(error::kSettingsConflict, what + " is not offered now");
    }
}

std::string fieldText(double value) {
    return formatGeneral(value);
}

std::optional<double> fieldNumber(const Control& field) {
    return parseNumber(field.text);
}

void typeText(Program& program, Window& window, Control& field, const std::string& text) {
    cli::typeInto(program, window, field, text);
}

void chooseEntry(Program& program, Window& window, Control& list, const std::string& entry) {
    if (list.text != entry) {
        cli::chooseIn(program, window, list, entry);
    }
}

void setCheck(Program& program, Window& window, Control& box, bool on) {
    const int value = on ? 1 : 0;
    if (box.value != value) {
        cli::checkBox(program, window, box, value);
    }
}

void press(Program& program, Window& window, Control& button) {
    cli::press(program, window, button);
}

bool outputRunning(frmMain& generator) {
    return generator.RUN->text == runstop::kRunningCaption;
}

bool outputOn(frmMain& generator) {
    return outputRunning(generator) || generator.RUN->text == runstop::kTriggerCaption;
}

bool monitorRunning(Form1& monitor) {
    const std::string& s = monitor.mon().monstate;
    for (std::string_view running : {runstate::kStartFrequencySweep, runstate::kFrequencySweeping,
                                     runstate::kStartAmplitudeSweep, runstate::kAmplitudeSweeping,
                                     runstate::kStartScope, runstate::kScope, runstate::kCounter}) {
        if (s == running) {
            return true;
        }
    }
    return false;
}

void startMonitor(Program& program, RemoteState& state) {
    Form1& monitor = program.monitor();
    press(program, monitor, *monitor.cmdstartsweep);
    const MonitorState& m = monitor.mon();
    const std::optional<MonitorMode> mode = monitorMode(monitor.selmonmode->text);
    using Kind = PendingOperation::Kind;
    if (!mode || !monitorRunning(monitor)) {
        state.pending = {};
    } else if (isScope(*mode)) {
        state.pending = {Kind::Record, m.recordsKept};
    } else if (isSweep(*mode)) {
        state.pending = {Kind::Sweep, 0};
    } else {
        state.pending = {Kind::Reading, m.readingsTaken};
    }
}

bool operationsComplete(Program& program, const RemoteState& state) {
    Form1& monitor = program.monitor();
    const MonitorState& m = monitor.mon();
    if (program.ended() || !monitorRunning(monitor)) {
        return true;
    }
    switch (state.pending.kind) {
        case PendingOperation::Kind::Record:
            // The rolling display of the slowest time bases keeps no records.
            return m.recordsKept != state.pending.baseline || m.vslowtb;
        case PendingOperation::Kind::Reading:
            return m.readingsTaken != state.pending.baseline;
        case PendingOperation::Kind::Sweep:
        case PendingOperation::Kind::None:
            return state.pending.kind == PendingOperation::Kind::None;
    }
    return true;
}

}  // namespace tunx::remote
