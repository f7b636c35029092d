#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/QtUi.h"
#include "app/WindowView.h"
#include "ports/Clock.h"
#include "ports/UsbApi.h"
#include "program/Program.h"

namespace tunx::app {

// The program on screen: the core program with the Qt window system port, a view for each
// of its two windows, and the monitor window's timer. Every handler runs through
// `dispatch`, one at a time; afterwards every widget shows the models again.
class App : public QObject, private UiHost {
  public:
    App(UsbApi& usb, Clock& clock, std::string installDir, char groupSeparator);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Shows the generator window and runs its activation (the start-up) once it is shown.
    void start();

    Program& program() { return program_; }
    QtUi& ui() { return ui_; }
    WindowView& generatorView() { return *generatorView_; }
    WindowView& monitorView() { return *monitorView_; }
    WindowView* viewOf(const std::string& windowName);
    QTimer& monitorTimer() { return monitorTimer_; }

    // Runs a handler of `window` as a user event does; false when it was not admitted
    // (another handler is running, or the program has ended).
    bool dispatch(Window& window, const std::string& handlerName);
    bool dispatch(Window& window, const std::function<void()>& action);

    // Every widget of both windows from the models.
    void refreshAll();

    // The program has ended itself; the windows take no more input.
    bool ended() const { return ended_; }

  private:
    enum class Cursor { Busy, Unchanged };
    bool run(Window& window, const std::function<void()>& action, Cursor cursor);
    void tick();
    void activatePending();
    void finish();

    // UiHost
    QWidget* dialogParent() override;
    void showForm(const std::string& form, const std::string& front) override;
    void refreshWindows() override { refreshAll(); }
    QWidget* refreshControl(const Control& control) override;
    void applicationEnding() override;

    QtUi ui_;
    Program program_;
    std::unique_ptr<WindowView> generatorView_;
    std::unique_ptr<WindowView> monitorView_;
    QTimer monitorTimer_;
    std::vector<std::string> pendingActivations_;
    bool ended_ = false;
};

}  // namespace tunx::app
