#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "program/Program.h"

namespace tunx {

// A control as the program left it, for a window thread that never reads the models while the
// program runs.
struct ControlLook {
    const Control* control = nullptr;  // which control: a key, not read outside the core thread
    Control look;                      // a copy of it
    // How many of the user's edits of this control the program has taken in (see
    // ProgramThread::post): the view writes the control's value back into its widget only
    // when no later edit of the user's is still on its way.
    std::uint64_t edits = 0;
};

// What the program hands to the windows after its work.
struct Published {
    std::vector<ControlLook> controls;  // the controls that changed, in the windows' order
    std::uint64_t done = 0;             // the number of the last piece of work carried out
    bool ended = false;                 // the program has ended itself
};

// The program on a thread of its own, so that the windows never wait for the instrument. The
// window thread (and a remote client) hand it work; it carries the work out one piece at a
// time, in the order it was handed over, and runs the monitor's timer between the pieces. Nothing
// handed over is dropped: work that arrives while a handler runs waits for it. After each piece
// of work and each tick it publishes what changed.
class ProgramThread {
  public:
    using Publish = std::function<void(Published)>;

    // `publish` is called on the program's thread; it hands the changes on to the windows.
    ProgramThread(Program& program, Publish publish);
    ~ProgramThread();
    ProgramThread(const ProgramThread&) = delete;
    ProgramThread& operator=(const ProgramThread&) = delete;

    // Starts the thread; work handed over before waits until then.
    void start();

    // A user event: `handler` edits the model and runs a handler, as one handler under the
    // program's rules. `edited` is the control whose value the user changed, and `edit` the
    // number of that edit (counted per control by the view). Returns the work's number. Never
    // waits.
    std::uint64_t post(std::function<void()> handler, const Control* edited = nullptr,
                       std::uint64_t edit = 0);
    // Work that runs handlers itself (a script line, a remote command), in order with the user
    // events. Never waits.
    std::uint64_t postWork(std::function<void()> work);
    // Runs `work` like postWork and returns once it has run (or the thread has stopped). Never
    // from the window thread: a handler of the work may wait for a dialog there.
    void call(std::function<void()> work);

    // The monitor's timer runs (the window that holds it is open) or not. While it runs, Timer1
    // ticks at its interval whenever the program admits a tick; a tick due while work runs is
    // skipped.
    void runTimer(bool on);

    // On the program's thread, while a handler runs: publishes the changes so far (a control
    // repainted at once, the windows before a dialog).
    void publishNow();

    // Finishes the work under way, drops what waits, and ends the thread.
    void stop();

  private:
    struct Work {
        std::function<void()> run;
        bool handler = false;  // runs through Program::dispatch
        const Control* edited = nullptr;
        std::uint64_t edit = 0;
        std::uint64_t number = 0;
        std::shared_ptr<bool> finished;  // for call(): set under the lock once it has run
    };

    std::uint64_t enqueue(Work work);
    void loop();
    void carryOut(Work& work);
    void tickIfDue();
    std::chrono::steady_clock::time_point nextTickAfter(std::chrono::steady_clock::time_point now);
    void publish();

    Program& program_;
    Publish publish_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::deque<Work> queue_;
    std::uint64_t posted_ = 0;
    bool stopping_ = false;
    bool timerOn_ = false;

    // The program's thread only.
    std::unordered_map<const Control*, std::uint64_t> edits_;
    std::vector<const Control*> forced_;  // edited controls published whatever their look
    std::uint64_t done_ = 0;
    std::uint64_t publishedDone_ = 0;
    bool publishedEnded_ = false;
    std::chrono::steady_clock::time_point nextTick_{};

    std::thread thread_;
};

}  // namespace tunx
