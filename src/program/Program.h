#pragma once

#include <string>

#include "generator/frmMain.h"
#include "monitor/Form1.h"
#include "state/SharedState.h"
#include "window/EventGate.h"

namespace tunx {

// One run of the program: the shared values and the two windows, wired to the ports.
class Program {
  public:
    Program(UsbApi& usb, Clock& clock, Ui& ui, std::string installDir, char groupSeparator = ',');

    SharedState& state() { return state_; }
    frmMain& generator() { return generator_; }
    Form1& monitor() { return monitor_; }
    Window* window(const std::string& name);
    EventGate& gate() { return gate_; }

    // Runs a handler of a window, one handler at a time. A run-time error that no procedure
    // traps is reported and ends only that handler. Returns false when the handler was skipped
    // because another one is still running. ApplicationEnded passes through to the caller.
    bool dispatch(Window& window, const std::string& handlerName);
    bool dispatch(Window& window, const std::function<void()>& action);

  private:
    SharedState state_;
    Ui& ui_;
    frmMain generator_;
    Form1 monitor_;
    EventGate gate_;
};

}  // namespace tunx
