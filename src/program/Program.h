#pragma once

#include <functional>
#include <string>
#include <vector>

#include "generator/frmMain.h"
#include "link/Link.h"
#include "monitor/Form1.h"
#include "monitor/KeptSettings.h"
#include "ports/Canvas.h"
#include "program/ShownForms.h"
#include "state/SharedState.h"
#include "window/EventGate.h"

namespace tunx {

// One run of the program: the shared values, the one link and the two windows, wired to the
// ports; and the rules of running handlers, which the Qt app and the script runner only
// forward events to.
//
// - One handler at a time: a handler (a user event, a timer tick, an activation) never starts
//   while another is still running, also while a message box of the first one is open.
// - A run-time error that no procedure traps ends only its handler, after a message; so does
//   any other fault, with the "Unexpected error" message.
// - After a handler, each window it showed is activated, in the order shown.
// - Once the program has ended itself, no handler runs any more.
class Program {
  public:
    Program(UsbApi& usb, Clock& clock, Ui& ui, Canvas& canvas, std::string installDir,
            char groupSeparator = ',');
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    SharedState& state() { return state_; }
    Link& link() { return link_; }
    frmMain& generator() { return generator_; }
    Form1& monitor() { return monitor_; }
    // A window by its name ("frmMain", "Form1"); null for another name.
    Window* window(const std::string& name);

    // The program starts: the generator window's first activation.
    void start();

    // Runs a handler of a window (by name, or an action that edits a window and runs one)
    // as a user event does. False when it was not admitted: another handler is running or the
    // program has ended.
    bool dispatch(Window& window, const std::string& handlerName);
    bool dispatch(const std::function<void()>& action);

    // Puts the monitor's kept settings back, as one handler that shows no message box (a value
    // refused leaves the control as it was). False, and nothing changes, when the monitor window
    // has not started (no instrument) or the handler was not admitted.
    bool restoreMonitor(const KeptSettings& kept);
    // The monitor's settings and positions as at its first start ("Restore defaults"), as a
    // handler; false as restoreMonitor.
    bool restoreMonitorDefaults();

    // One tick of the monitor's timer. Skipped (false) while another handler runs, while
    // Timer1 is disabled, when the monitor has no timer handler, or once the program ended.
    bool tick();

    // A handler is running now.
    bool busy() const { return gate_.busy(); }
    // The program has ended itself (a fatal link failure, the generator window unloaded).
    bool ended() const { return ended_; }

    // The controls of both windows whose look changed since the last call (see
    // Window::takeChanged): what a view repaints after a handler.
    std::vector<const Control*> takeChanged();

  private:
    void runGuarded(const std::function<void()>& action);
    void activateShown();

    SharedState state_;
    ShownForms ui_;
    Link link_;
    frmMain generator_;
    Form1 monitor_;
    EventGate gate_;
    KeptSettings monitorDefaults_;
    bool ended_ = false;
};

}  // namespace tunx
