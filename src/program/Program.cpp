#include "program/Program.h"

#include <exception>

#include "common/RuntimeError.h"

namespace tunx {

namespace {
constexpr const char* kUnexpectedError = "Unexpected error: ";
constexpr const char* kActivate = "Form_Activate";
constexpr const char* kTimerHandler = "Timer1_Timer";
}  // namespace

Program::Program(UsbApi& usb, Clock& clock, Ui& ui, Canvas& canvas, std::string installDir,
                 char groupSeparator)
    : state_([&] {
          SharedState s;
          s.host.installDir = std::move(installDir);
          s.host.groupSeparator = groupSeparator;
          return s;
      }()),
      ui_(ui),
      link_(state_, usb, clock, ui_),
      generator_(state_, link_),
      monitor_(state_, link_, canvas, generator_),
      monitorDefaults_(keptSettings(monitor_)) {}

Window* Program::window(const std::string& name) {
    if (name == generator_.name()) {
        return &generator_;
    }
    if (name == monitor_.name()) {
        return &monitor_;
    }
    return nullptr;
}

void Program::start() {
    dispatch(generator_, kActivate);
}

bool Program::dispatch(Window& window, const std::string& handlerName) {
    return dispatch([&] { window.run(handlerName); });
}

bool Program::dispatch(const std::function<void()>& action) {
    if (ended_) {
        return false;
    }
    if (!gate_.enter([&] { runGuarded(action); })) {
        return false;
    }
    activateShown();
    return true;
}

void Program::runGuarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const ApplicationEnded&) {
        ended_ = true;
    } catch (const RuntimeError& e) {
        ui_.SetBusy(false);
        ui_.MsgBox(e.description(), MsgIcon::Critical, kRunTimeErrorTitle);
    } catch (const std::exception& e) {
        ui_.SetBusy(false);
        ui_.MsgBox(std::string(kUnexpectedError) + e.what(), MsgIcon::Critical, std::nullopt);
    }
    ui_.SetBusy(false);  // a busy cursor the handler left on ends with it
}

void Program::activateShown() {
    for (const std::string& form : ui_.take()) {
        if (Window* shown = window(form)) {
            dispatch(*shown, kActivate);
        }
    }
}

bool Program::restoreMonitor(const KeptSettings& kept) {
    if (!state_.mon.moninit) {
        return false;
    }
    const ShownForms::Quiet quiet(ui_);
    return dispatch([&] { restoreKept(monitor_, kept); });
}

bool Program::restoreMonitorDefaults() {
    if (!state_.mon.moninit) {
        return false;
    }
    return dispatch([&] { restoreDefaults(monitor_, monitorDefaults_); });
}

bool Program::tick() {
    if (ended_ || gate_.busy() || !monitor_.hasHandler(kTimerHandler) ||
        !monitor_.Timer1->enabled) {
        return false;
    }
    return dispatch(monitor_, kTimerHandler);
}

std::vector<const Control*> Program::takeChanged() {
    std::vector<const Control*> changed = generator_.takeChanged();
    const std::vector<const Control*> more = monitor_.takeChanged();
    changed.insert(changed.end(), more.begin(), more.end());
    return changed;
}

}  // namespace tunx
