#include "app/App.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>

#include "app/Shortcuts.h"
#include "remote/Panel.h"

namespace tunx::app {

namespace {

constexpr const char* kActivate = "Form_Activate";
constexpr const char* kUnload = "Form_Unload";
// A user's action that runs longer than this shows the busy cursor.
constexpr int kBusyAfterMs = 200;
constexpr int kSettleBeatMs = 50;

// A remote client's window system in place of the screen's while its command runs.
class StandIn {
  public:
    StandIn(QtUi& screen, Ui& client) : screen_(screen) { screen_.setStandIn(&client); }
    ~StandIn() { screen_.setStandIn(nullptr); }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

  private:
    QtUi& screen_;
};

}  // namespace

App::App(const WiringOptions& options, bool keep)
    : windowThread_(*this),
      ui_(*this),
      wiring_(options, ui_, &picture_),
      places_(keep),
      kept_(keep),
      references_(keep),
      thread_(program(), [this](Published published) {
          references_.keep(program());
          windowThread_.post([this, p = std::move(published)] { apply(p); });
      }) {
    references_.load(program());
    const auto handOver = [this](std::function<void()> handler, const Control* edited,
                                 std::uint64_t edit) { post(std::move(handler), edited, edit); };
    frmMain& generator = program().generator();
    generatorView_ = std::make_unique<WindowView>(generator, generatorPanelLayout(generator),
                                                  options.installDir, handOver);
    Form1& monitor = program().monitor();
    monitorView_ = std::make_unique<WindowView>(monitor, monitorPanelLayout(monitor),
                                                options.installDir, handOver, &picture_);
    monitorView_->setPictureMouse([this](double x, double y) { mouseOverPicture(x, y); });
    program().takeChanged();  // the views show every control as it is now

    // Closing the generator window unloads it, which ends the program; the window closes when
    // the program has ended.
    generatorView_->setCloseRequest([this] {
        if (ended_) {
            return true;
        }
        post(program().generator(), kUnload);
        return false;
    });
    // The monitor window goes with its timer; the Window menu opens it again.
    monitorView_->setCloseRequest([this] {
        places_.remember(*monitorView_);
        timerRunning_ = false;
        thread_.runTimer(false);
        return true;
    });
    for (WindowView* view : {generatorView_.get(), monitorView_.get()}) {
        view->addWindowMenu(
            {{generatorView_.get(), monitorView_.get()}},
            [this](WindowView& shown) { reopen(shown); }, [this] { restoreDefaults(); });
    }

    addShortcuts(*this);

    busyDelay_.setSingleShot(true);
    busyDelay_.setInterval(kBusyAfterMs);
    connect(&busyDelay_, &QTimer::timeout, this, [this] { showBusy(); });
}

App::~App() {
    // A handler waiting for a dialog gives up; the work under way ends; nothing else runs.
    windowThread_.close();
    thread_.stop();
    remote_.reset();  // a command on its way returns at once now
    if (busyShown_) {
        QApplication::restoreOverrideCursor();
    }
}

bool App::listenRemote(const remote::Endpoint& at, std::string& why) {
    // The client's commands see the client's own window system for their messages and dialogs.
    auto runOnProgram = [this](const std::function<void()>& command) {
        thread_.call([this, &command] {
            {
                const StandIn client(ui_, remote_->clientUi());
                command();
            }
            // A measurement runs on the monitor's timer, which runs while the monitor window is
            // open: the window opens for one a client started, as the Window menu opens it.
            if (remote::monitorRunning(program().monitor())) {
                windowThread_.post([this] {
                    if (!timerRunning_ && !ended_) {
                        reopen(*monitorView_);
                    }
                });
            }
        });
    };
    auto server = std::make_unique<remote::ServerThread>(program(), std::move(runOnProgram));
    if (!server->listen(at, why)) {
        return false;
    }
    remote_ = std::move(server);
    return true;
}

std::string App::remoteWhere() const {
    return remote_ ? remote_->where() : std::string();
}

void App::start() {
    places_.placeFirst(*generatorView_);
    generatorView_->show();
    thread_.start();
    const std::uint64_t startUp = post(program().generator(), kActivate);
    if (kept_.keeps()) {
        // Right after the start-up, before any input of the user's; from then on every change
        // of a setting is kept. Without an instrument the monitor never started: nothing is
        // put back, and the settings kept stay as they are.
        auto now = std::make_shared<KeptSettings>();
        const std::uint64_t restored = postWork([this, now, kept = kept_.load()] {
            if (program().restoreMonitor(kept)) {
                *now = keptSettings(program().monitor());
            }
        });
        whenDone(restored, [this, now] {
            if (!now->empty()) {
                kept_.save(*now);
                keptNow_ = *now;
                keeping_ = true;
            }
        });
    }
    if (remote_) {
        remote_->start();  // its first command comes after the start-up
    }
    // Start-up filled the panel (device list, file names, the mode's texts).
    whenDone(startUp, [this] {
        if (!ended_ && !places_.remembered(*generatorView_)) {
            generatorView_->resize(
                generatorView_->size().expandedTo(generatorView_->fittingSize()));
        }
    });
}

WindowView* App::viewOf(const std::string& windowName) {
    if (windowName == generatorView_->objectName().toStdString()) {
        return generatorView_.get();
    }
    if (windowName == monitorView_->objectName().toStdString()) {
        return monitorView_.get();
    }
    return nullptr;
}

std::uint64_t App::post(std::function<void()> handler, const Control* edited, std::uint64_t edit) {
    if (ended_) {
        return done_;
    }
    posted_ = lastUser_ = thread_.post(std::move(handler), edited, edit);
    if (!busyShown_ && !busyDelay_.isActive()) {
        busyDelay_.start();
    }
    return posted_;
}

std::uint64_t App::post(Window& window, const std::string& handlerName) {
    return post([&window, handlerName] { window.run(handlerName); });
}

std::uint64_t App::postWork(std::function<void()> work) {
    if (ended_) {
        return done_;
    }
    return posted_ = thread_.postWork(std::move(work));
}

void App::whenDone(std::uint64_t number, std::function<void()> then) {
    if (number <= done_ || ended_) {
        then();
        return;
    }
    waiting_.emplace(number, std::move(then));
}

bool App::settle(int timeoutMs) {
    const std::uint64_t target = posted_;
    // The window thread sleeps until an event (a publication, or the beat) wakes it.
    QTimer beat;
    beat.start(kSettleBeatMs);
    QElapsedTimer clock;
    clock.start();
    while (done_ < target && !ended_ && clock.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // Work that the program's thread carried out without being handed any (a tick) may still
    // be on its way: one more round of the window thread's events shows it.
    QApplication::processEvents();
    return done_ >= target || ended_;
}

void App::mouseOverPicture(double x, double y) {
    {
        const std::lock_guard lock(mouseMutex_);
        mouseX_ = x;
        mouseY_ = y;
        if (mousePending_) {
            return;  // the move already on its way reads the latest position
        }
        mousePending_ = true;
    }
    if (ended_) {
        return;
    }
    Form1& monitor = program().monitor();
    // The readout follows the pointer without the busy cursor.
    posted_ = thread_.post([this, &monitor] {
        double atX = 0;
        double atY = 0;
        {
            const std::lock_guard lock(mouseMutex_);
            atX = mouseX_;
            atY = mouseY_;
            mousePending_ = false;
        }
        monitor.Picture1_MouseMove(0, 0, atX, atY);
    });
}

void App::apply(const Published& published) {
    for (const ControlLook& look : published.controls) {
        if (!generatorView_->showLook(look)) {
            monitorView_->showLook(look);
            if (keeping_) {
                // The handles were bound when the program was made; they are read only.
                auto value = keptValue(program().monitor(), *look.control, look.look);
                if (value && keptNow_[look.look.name] != *value) {
                    keptNow_[look.look.name] = *value;
                    kept_.save(look.look.name, *value);
                }
            }
        }
    }
    done_ = std::max(done_, published.done);
    if (published.ended) {
        ended_ = true;
    }
    if (busyShown_ && done_ >= lastUser_) {
        QApplication::restoreOverrideCursor();
        busyShown_ = false;
    }
    while (!waiting_.empty() && (waiting_.begin()->first <= done_ || ended_)) {
        auto then = std::move(waiting_.begin()->second);
        waiting_.erase(waiting_.begin());
        then();
    }
    if (ended_) {
        finish();
    }
}

void App::showBusy() {
    if (!busyShown_ && done_ < lastUser_ && !ended_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        busyShown_ = true;
    }
}

void App::restoreDefaults() {
    if (ended_) {
        return;
    }
    postWork([this] { program().restoreMonitorDefaults(); });
}

void App::refreshAll() {
    generatorView_->refresh();
    monitorView_->refresh();
}

void App::reopen(WindowView& view) {
    if (ended_) {
        return;
    }
    if (!view.isVisible()) {
        places_.placeAgain(view, *generatorView_);
        view.show();
        if (&view == monitorView_.get()) {
            timerRunning_ = true;
            thread_.runTimer(true);
            post(program().monitor(), kActivate);
        }
    }
    view.raise();
    view.activateWindow();
}

void App::finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    places_.remember(*generatorView_);
    places_.remember(*monitorView_);
    timerRunning_ = false;
    thread_.runTimer(false);
    if (busyShown_) {
        QApplication::restoreOverrideCursor();
        busyShown_ = false;
    }
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
    if (shown == nullptr || finished_) {
        return;
    }
    bool inFront = false;
    if (!shown->isVisible()) {
        if (shown == generatorView_.get()) {
            places_.placeFirst(*shown);
        } else {
            inFront = places_.placeBeside(*shown, *generatorView_);
        }
        shown->show();
    }
    WindowView* top = inFront ? shown : viewOf(front);
    if (top != nullptr) {
        top->raise();
        top->activateWindow();
    }
    if (shown == monitorView_.get() && !timerRunning_) {
        timerRunning_ = true;
        thread_.runTimer(true);
    }
}

}  // namespace tunx::app
