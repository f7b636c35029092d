#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace tunx::app {

// Calls from the program's thread into the window thread, where every widget lives. `post`
// never waits; `wait` waits for the call to have run there (a dialog and its answer), unless the
// windows close first. On the window thread itself both run the call at once.
class WindowThread {
  public:
    // `context` lives on the window thread; calls run as its queued events, in order.
    explicit WindowThread(QObject& context) : context_(context) {}

    void post(std::function<void()> call);
    // False when the call did not run because the windows are closing.
    bool wait(const std::function<void()>& call);

    // The windows are closing: calls waited for return at once, without running.
    void close();

  private:
    bool onWindowThread() const;
    // Runs the calls posted so far, in order.
    void drain();

    QObject& context_;
    std::mutex mutex_;
    // The calls on their way, handed over under the lock (which also orders what they carry).
    std::deque<std::function<void()>> inbox_;
    bool draining_ = false;  // a drain is queued on the window thread and has not started
    std::condition_variable answered_;
    bool closed_ = false;
};

}  // namespace tunx::app
