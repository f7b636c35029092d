#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/PictureCanvas.h"
#include "app/QtUi.h"
#include "app/WindowView.h"
#include "wiring/Wiring.h"

namespace tunx::app {

// The program on screen: the core program wired to the Qt window system port and the Qt
// picture, a view for each of its two windows, and the monitor window's timer. User events
// and timer ticks are forwarded to the program, which decides whether and how they run;
// afterwards the views update the widgets of the controls that changed.
class App : public QObject, private UiHost {
  public:
    explicit App(const WiringOptions& options);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Shows the generator window and runs its activation (the start-up) once it is shown.
    void start();

    Program& program() { return wiring_.program(); }
    Wiring& wiring() { return wiring_; }
    QtUi& ui() { return ui_; }
    PictureCanvas& picture() { return picture_; }
    WindowView& generatorView() { return *generatorView_; }
    WindowView& monitorView() { return *monitorView_; }
    WindowView* viewOf(const std::string& windowName);
    QTimer& monitorTimer() { return monitorTimer_; }

    // Runs a handler of `window` as a user event does; false when it was not admitted
    // (another handler is running, or the program has ended).
    bool dispatch(Window& window, const std::string& handlerName);
    bool dispatch(Window& window, const std::function<void()>& action);

    // One tick of the monitor's timer, as the timer runs it.
    void tick();

    // Every widget of both windows from the models.
    void refreshAll();
    // The widgets of the controls that changed since the views last looked.
    void refreshChanged();

    // The program has ended itself; the windows take no more input.
    bool ended() { return program().ended(); }

  private:
    void afterHandler();
    void finish();

    // UiHost
    QWidget* dialogParent() override;
    void showForm(const std::string& form, const std::string& front) override;
    void refreshWindows() override { refreshChanged(); }
    QWidget* refreshControl(const Control& control) override;

    QtUi ui_;
    PictureCanvas picture_;
    Wiring wiring_;
    std::unique_ptr<WindowView> generatorView_;
    std::unique_ptr<WindowView> monitorView_;
    QTimer monitorTimer_;
    bool finished_ = false;
};

}  // namespace tunx::app
