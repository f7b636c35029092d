#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/KeptMonitor.h"
#include "app/PictureCanvas.h"
#include "app/QtUi.h"
#include "app/ReferenceSettings.h"
#include "app/WindowPlaces.h"
#include "app/WindowThread.h"
#include "app/WindowView.h"
#include "program/ProgramThread.h"
#include "remote/ServerThread.h"
#include "wiring/Wiring.h"

namespace tunx::app {

// The program on screen. The program (its link, clocks, windows' models and the monitor's
// timer) runs on a thread of its own; the window thread only shows. User input travels to the
// program as work in one ordered queue and is never dropped; after each piece of work the
// program publishes the controls that changed, and the views bring their widgets up to date,
// never writing over an edit of the user's that the program has not taken in yet. A handler
// that asks the user (a message box, a file dialog) waits for the answer from the window
// thread, which keeps repainting meanwhile.
class App : public QObject, private UiHost {
  public:
    // With `keep`, the run starts with the monitor's settings and the windows' places the last
    // such run kept, and keeps them for the next (the program; a --script run and the tests
    // start from the program's own start-up state and keep nothing). Settings are kept only
    // when the application has an organisation name (QSettings).
    explicit App(const WiringOptions& options, bool keep = false);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Shows the generator window, starts the program's thread and hands it the start-up (the
    // generator window's activation), then the remote control when it listens.
    void start();

    // Before start(): serves the program to a remote-control client at `at` beside the
    // windows, from start() on. False with `why` when it cannot listen there (a port in use).
    // A client's commands run in order with the user's actions; the windows show what they
    // change; their message boxes go to the client's error queue and their file dialogs are
    // cancelled, so that nothing waits for a user who did not ask.
    bool listenRemote(const remote::Endpoint& at, std::string& why);
    // Where the remote control listens ("127.0.0.1:5025"); "" without one.
    std::string remoteWhere() const;

    // The program and its wiring. The window thread may read them only while the program's
    // thread is idle (after settle()) or before start().
    Program& program() { return wiring_.program(); }
    Wiring& wiring() { return wiring_; }
    QtUi& ui() { return ui_; }
    PictureCanvas& picture() { return picture_; }
    WindowView& generatorView() { return *generatorView_; }
    WindowView& monitorView() { return *monitorView_; }
    WindowView* viewOf(const std::string& windowName);

    // A user event: `handler` edits the model and runs a handler of the program (see
    // ProgramThread::post). The busy cursor shows when it runs longer than a moment. Returns
    // the work's number.
    std::uint64_t post(std::function<void()> handler, const Control* edited = nullptr,
                       std::uint64_t edit = 0);
    std::uint64_t post(Window& window, const std::string& handlerName);
    // Work that runs handlers itself (a script line), in order with the user's events.
    std::uint64_t postWork(std::function<void()> work);
    // Calls `then` on the window thread once work `number` has been carried out and the
    // windows show its outcome.
    void whenDone(std::uint64_t number, std::function<void()> then);
    // Runs the window thread's events until everything handed to the program so far has been
    // carried out and shown; false when that took longer than `timeoutMs`.
    bool settle(int timeoutMs = 10000);
    // What `read` finds on the program's thread, in order with the work handed over before;
    // the window thread's events run meanwhile (a dialog of a handler before it can show).
    // `otherwise` once the program has ended.
    template <typename T, typename F>
    T query(F&& read, T otherwise = T{}) {
        auto found = std::make_shared<std::optional<T>>();
        postWork([found, read] { found->emplace(read()); });
        if (!settle() || !found->has_value()) {
            return otherwise;
        }
        return **found;
    }

    // The monitor's timer runs (its window is open).
    bool monitorTimerRunning() const { return timerRunning_; }
    // The program has ended itself; the windows take no more input.
    bool ended() const { return ended_; }

    // The monitor's settings and positions as at the program's first start ("Restore
    // defaults" in the Window menu).
    void restoreDefaults();

    // Every widget of both windows from the last published looks.
    void refreshAll();
    // Shows (or brings to the front) a window from the Window menu; the monitor's timer runs
    // again when the monitor window opens.
    void reopen(WindowView& view);

  private:
    void apply(const Published& published);
    void finish();
    void showBusy();
    void mouseOverPicture(double x, double y);

    // UiHost
    QWidget* dialogParent() override;
    void showForm(const std::string& form, const std::string& front) override;
    void publishNow() override { thread_.publishNow(); }
    WindowThread& windowThread() override { return windowThread_; }

    WindowThread windowThread_;
    QtUi ui_;
    PictureCanvas picture_;
    Wiring wiring_;
    std::unique_ptr<WindowView> generatorView_;
    std::unique_ptr<WindowView> monitorView_;
    WindowPlaces places_;
    KeptMonitor kept_;
    ReferenceSettings references_;
    ProgramThread thread_;
    // Goes before the program's thread: its commands run there.
    std::unique_ptr<remote::ServerThread> remote_;

    // The window thread's side.
    std::uint64_t posted_ = 0;    // the last work handed over
    std::uint64_t lastUser_ = 0;  // the last user event handed over
    std::uint64_t done_ = 0;      // the last work carried out and shown
    std::multimap<std::uint64_t, std::function<void()>> waiting_;
    QTimer busyDelay_;
    bool busyShown_ = false;
    bool timerRunning_ = false;
    bool keeping_ = false;  // the monitor's settings are put back: their changes are kept
    KeptSettings keptNow_;  // as last kept: a look that changed only its colour writes nothing
    bool ended_ = false;
    bool finished_ = false;

    // The mouse over the picture: only its latest position matters.
    std::mutex mouseMutex_;
    double mouseX_ = 0;
    double mouseY_ = 0;
    bool mousePending_ = false;
};

}  // namespace tunx::app
