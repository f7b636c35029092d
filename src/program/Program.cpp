#include "program/Program.h"

#include "common/RuntimeError.h"

namespace tunx {

Program::Program(UsbApi& usb, Clock& clock, Ui& ui, std::string installDir, char groupSeparator)
    : state_([&] {
          SharedState s;
          s.host.installDir = std::move(installDir);
          s.host.groupSeparator = groupSeparator;
          return s;
      }()),
      ui_(ui),
      generator_(state_, usb, clock, ui),
      monitor_(state_) {}

Window* Program::window(const std::string& name) {
    if (name == generator_.name()) {
        return &generator_;
    }
    if (name == monitor_.name()) {
        return &monitor_;
    }
    return nullptr;
}

bool Program::dispatch(Window& window, const std::string& handlerName) {
    return dispatch(window, [&] { window.run(handlerName); });
}

bool Program::dispatch(Window& /*window*/, const std::function<void()>& action) {
    return gate_.enter([&] {
        try {
            action();
        } catch (const RuntimeError& e) {
            ui_.MsgBox(e.description(), MsgIcon::Critical, kRunTimeErrorTitle);
        }
    });
}

}  // namespace tunx
