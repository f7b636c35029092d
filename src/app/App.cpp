#include "app/App.h"

#include "app/Shortcuts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <optional>

namespace tunx::app {

namespace {

constexpr const char* kUnload = "Form_Unload";

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

App::App(const WiringOptions& options) : ui_(*this), wiring_(options, ui_, &picture_) {
    const auto dispatcher = [this](Window& window, const std::function<void()>& action) {
        return dispatch(window, action);
    };
    frmMain& generator = program().generator();
    generatorView_ = std::make_unique<WindowView>(generator, generatorPanelLayout(generator),
                                                  options.installDir, dispatcher);
    Form1& monitor = program().monitor();
    monitorView_ = std::make_unique<WindowView>(monitor, monitorPanelLayout(monitor),
                                                options.installDir, dispatcher, &picture_);
    // The mouse readout follows the pointer without the wait cursor, like the timer.
    monitorView_->setPictureMouse([this, &monitor](double x, double y) {
        if (!ended() &&
            program().dispatch(monitor, [&] { monitor.Picture1_MouseMove(0, 0, x, y); })) {
            afterHandler();
        }
    });
    program().takeChanged();  // the views show every control as it is now

    // Closing the generator window unloads it, which ends the program.
    generatorView_->setCloseRequest([this] {
        if (!ended()) {
            dispatch(program().generator(), kUnload);
        }
        return ended();
    });
    // The monitor window goes with its timer, unless its model handles the unloading.
    monitorView_->setCloseRequest([this] {
        Window& m = program().monitor();
        if (ended() || !m.hasHandler(kUnload)) {
            monitorTimer_.stop();
            return true;
        }
        dispatch(m, kUnload);
        return ended();
    });

    addShortcuts(*this);

    monitorTimer_.setInterval(program().monitor().Timer1->value);
    connect(&monitorTimer_, &QTimer::timeout, this, [this] { tick(); });
}

App::~App() {
    monitorTimer_.stop();
}

void App::start() {
    generatorView_->resize(generatorView_->fittingSize());
    generatorView_->show();
    QTimer::singleShot(0, this, [this] {
        {
            const BusyCursor busy;
            program().start();
        }
        afterHandler();
        // Start-up filled the panel (device list, file names, the mode's texts).
        if (!ended()) {
            generatorView_->resize(
                generatorView_->size().expandedTo(generatorView_->fittingSize()));
        }
    });
}

WindowView* App::viewOf(const std::string& windowName) {
    if (windowName == program().generator().name()) {
        return generatorView_.get();
    }
    if (windowName == program().monitor().name()) {
        return monitorView_.get();
    }
    return nullptr;
}

bool App::dispatch(Window& window, const std::string& handlerName) {
    return dispatch(window, [&] { window.run(handlerName); });
}

bool App::dispatch(Window& window, const std::function<void()>& action) {
    if (ended()) {
        return false;
    }
    std::optional<BusyCursor> busy;
    if (!program().busy()) {
        busy.emplace();
    }
    const bool ran = program().dispatch(window, action);
    busy.reset();
    if (!ran) {
        refreshAll();  // the input was dropped: its widget shows the model again
        return false;
    }
    afterHandler();
    return true;
}

void App::tick() {
    // The ticks keep the normal cursor: a wait cursor a hundred times a second would flicker.
    if (program().tick()) {
        afterHandler();
    }
}

void App::afterHandler() {
    if (ended()) {
        finish();
        return;
    }
    refreshChanged();
}

void App::refreshAll() {
    generatorView_->refresh();
    monitorView_->refresh();
}

void App::refreshChanged() {
    const std::vector<const Control*> changed = program().takeChanged();
    if (changed.empty()) {
        return;
    }
    generatorView_->refresh(changed);
    monitorView_->refresh(changed);
}

void App::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    monitorTimer_.stop();
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
}

QWidget* App::refreshControl(const Control& control) {
    if (QWidget* widget = generatorView_->refreshControl(control)) {
        return widget;
    }
    return monitorView_->refreshControl(control);
}

}  // namespace tunx::app
