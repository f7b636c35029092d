#include "app/App.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <exception>
#include <optional>

#include "common/RuntimeError.h"

namespace tunx::app {

namespace {

constexpr const char* kActivate = "Form_Activate";
constexpr const char* kUnload = "Form_Unload";
constexpr const char* kTimerHandler = "Timer1_Timer";
constexpr const char* kTimerControl = "Timer1";
constexpr int kTimerIntervalMs = 10;
constexpr const char* kUnexpectedError = "Unexpected error: ";

// The wait cursor while a handler blocks the window thread.
class BusyCursor {
  public:
    BusyCursor() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QGuiApplication::sync();  // shown before the handler blocks the event loop
    }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

App::App(UsbApi& usb, Clock& clock, std::string installDir, char groupSeparator)
    : ui_(*this), program_(usb, clock, ui_, installDir, groupSeparator) {
    const auto dispatcher = [this](Window& window, const std::function<void()>& action) {
        return dispatch(window, action);
    };
    Window& generator = program_.generator();
    Window& monitor = program_.monitor();
    generatorView_ =
        std::make_unique<WindowView>(generator, generatorPanelLayout(), installDir, dispatcher);
    // The monitor's instruments have no placement yet: one control to a row in its groups.
    monitorView_ = std::make_unique<WindowView>(monitor, PanelLayout{}, installDir, dispatcher);

    // Closing the generator window unloads it, which ends the program.
    generatorView_->setCloseRequest([this] {
        if (!ended_) {
            dispatch(program_.generator(), kUnload);
        }
        return ended_;
    });
    // The monitor window goes with its timer, unless its model handles the unloading.
    monitorView_->setCloseRequest([this] {
        Window& m = program_.monitor();
        if (ended_ || !m.hasHandler(kUnload)) {
            monitorTimer_.stop();
            return true;
        }
        dispatch(m, kUnload);
        return ended_;
    });

    monitorTimer_.setInterval(kTimerIntervalMs);
    connect(&monitorTimer_, &QTimer::timeout, this, [this] { tick(); });
}

App::~App() {
    monitorTimer_.stop();
}

void App::start() {
    generatorView_->resize(generatorView_->fittingSize());
    generatorView_->show();
    QTimer::singleShot(0, this, [this] {
        dispatch(program_.generator(), kActivate);
        // Start-up filled the panel (device list, file names, the mode's texts).
        if (!ended_) {
            generatorView_->resize(
                generatorView_->size().expandedTo(generatorView_->fittingSize()));
        }
    });
}

WindowView* App::viewOf(const std::string& windowName) {
    if (windowName == program_.generator().name()) {
        return generatorView_.get();
    }
    if (windowName == program_.monitor().name()) {
        return monitorView_.get();
    }
    return nullptr;
}

bool App::dispatch(Window& window, const std::string& handlerName) {
    return run(
        window, [&] { window.run(handlerName); }, Cursor::Busy);
}

bool App::dispatch(Window& window, const std::function<void()>& action) {
    return run(window, action, Cursor::Busy);
}

bool App::run(Window& window, const std::function<void()>& action, Cursor cursor) {
    if (ended_) {
        return false;
    }
    if (program_.gate().busy()) {
        refreshAll();  // the input is dropped: its widget shows the model again
        return false;
    }
    bool ran = false;
    {
        std::optional<BusyCursor> busy;
        if (cursor == Cursor::Busy) {
            busy.emplace();
        }
        // A fault outside the program's run-time errors ends only this handler, with a
        // message shown while the handler still holds the windows.
        const auto guarded = [this, &action] {
            try {
                action();
            } catch (const RuntimeError&) {
                throw;
            } catch (const std::exception& e) {
                ui_.releaseBusy();
                ui_.MsgBox(std::string(kUnexpectedError) + e.what(), MsgIcon::Critical,
                           std::nullopt);
            }
        };
        try {
            ran = program_.dispatch(window, guarded);
        } catch (const ApplicationEnded&) {
            ended_ = true;
            ran = true;
        }
        ui_.releaseBusy();
    }
    if (ended_) {
        finish();
        return ran;
    }
    refreshAll();
    if (!pendingActivations_.empty()) {
        QTimer::singleShot(0, this, [this] { activatePending(); });
    }
    return ran;
}

void App::refreshAll() {
    generatorView_->refresh();
    monitorView_->refresh();
}

void App::tick() {
    Window& monitor = program_.monitor();
    if (ended_ || program_.gate().busy() || !monitor.hasHandler(kTimerHandler)) {
        return;  // a tick that falls while another handler runs is skipped
    }
    if (const Control* timer = monitor.find(kTimerControl); timer != nullptr && !timer->enabled) {
        return;
    }
    // The ticks keep the normal cursor: a wait cursor a hundred times a second would flicker.
    run(
        monitor, [&monitor] { monitor.run(kTimerHandler); }, Cursor::Unchanged);
}

void App::activatePending() {
    while (!pendingActivations_.empty() && !ended_) {
        if (program_.gate().busy()) {
            return;  // tried again when the running handler has ended
        }
        const std::string form = pendingActivations_.front();
        pendingActivations_.erase(pendingActivations_.begin());
        if (Window* window = program_.window(form)) {
            dispatch(*window, kActivate);
        }
    }
}

void App::finish() {
    monitorTimer_.stop();
    pendingActivations_.clear();
    generatorView_->hide();
    monitorView_->hide();
    QCoreApplication::exit(0);
}

QWidget* App::dialogParent() {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return generatorView_->isVisible() ? generatorView_.get() : nullptr;
}

void App::showForm(const std::string& form, const std::string& front) {
    WindowView* shown = viewOf(form);
    if (shown == nullptr) {
        return;
    }
    if (!shown->isVisible()) {
        shown->resize(shown->fittingSize());
        if (shown != generatorView_.get()) {
            // A second window opens in the screen's lower right corner, so that the
            // generator window in front of it does not hide it whole.
            if (const QScreen* screen = generatorView_->screen()) {
                const QRect area = screen->availableGeometry();
                shown->move(area.right() - shown->width(), area.bottom() - shown->height());
            }
        }
        shown->show();
    }
    if (WindowView* top = viewOf(front)) {
        top->raise();
        top->activateWindow();
    }
    if (shown == monitorView_.get() && !monitorTimer_.isActive()) {
        monitorTimer_.start();
    }
    pendingActivations_.push_back(form);
}

QWidget* App::refreshControl(const Control& control) {
    if (QWidget* widget = generatorView_->refreshControl(control)) {
        return widget;
    }
    return monitorView_->refreshControl(control);
}

void App::applicationEnding() {
    ended_ = true;
}

}  // namespace tunx::app
