#include "program/ProgramThread.h"

#include <algorithm>
#include <optional>

namespace tunx {

namespace {
constexpr int kSmallestTimerIntervalMs = 1;
}  // namespace

ProgramThread::ProgramThread(Program& program, Publish publish)
    : program_(program), publish_(std::move(publish)) {}

ProgramThread::~ProgramThread() {
    stop();
}

void ProgramThread::start() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { loop(); });
    }
}

std::uint64_t ProgramThread::post(std::function<void()> handler, const Control* edited,
                                  std::uint64_t edit) {
    Work work;
    work.run = std::move(handler);
    work.handler = true;
    work.edited = edited;
    work.edit = edit;
    return enqueue(std::move(work));
}

std::uint64_t ProgramThread::postWork(std::function<void()> work) {
    Work item;
    item.run = std::move(work);
    return enqueue(std::move(item));
}

void ProgramThread::call(std::function<void()> work) {
    auto finished = std::make_shared<bool>(false);
    Work item;
    item.run = std::move(work);
    item.finished = finished;
    enqueue(std::move(item));
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return *finished; });
}

std::uint64_t ProgramThread::enqueue(Work work) {
    std::uint64_t number = 0;
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            if (work.finished) {
                *work.finished = true;
            }
            return 0;
        }
        number = work.number = ++posted_;
        queue_.push_back(std::move(work));
    }
    wake_.notify_one();
    return number;
}

void ProgramThread::runTimer(bool on) {
    {
        const std::lock_guard lock(mutex_);
        timerOn_ = on;
    }
    wake_.notify_one();
}

void ProgramThread::stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
    const std::lock_guard lock(mutex_);
    for (Work& w : queue_) {
        if (w.finished) {
            *w.finished = true;
        }
    }
    queue_.clear();
    finished_.notify_all();
}

void ProgramThread::loop() {
    nextTick_ = nextTickAfter(std::chrono::steady_clock::now());
    for (;;) {
        std::optional<Work> work;
        bool tick = false;
        {
            std::unique_lock lock(mutex_);
            for (;;) {
                if (stopping_) {
                    return;
                }
                if (!queue_.empty()) {
                    work = std::move(queue_.front());
                    queue_.pop_front();
                    break;
                }
                // Timer1's state is the program's own: read here, on the program's thread,
                // between pieces of work.
                const bool ticking =
                    timerOn_ && program_.monitor().Timer1->enabled && !program_.ended();
                if (!ticking) {
                    wake_.wait(lock);
                    continue;
                }
                const auto now = std::chrono::steady_clock::now();
                if (now >= nextTick_) {
                    tick = true;
                    break;
                }
                wake_.wait_until(lock, nextTick_);
            }
        }
        if (work) {
            carryOut(*work);
        } else if (tick) {
            tickIfDue();
        }
    }
}

void ProgramThread::carryOut(Work& work) {
    if (work.handler) {
        program_.dispatch(work.run);
    } else {
        work.run();
    }
    if (work.edited != nullptr) {
        std::uint64_t& taken = edits_[work.edited];
        taken = std::max(taken, work.edit);
        forced_.push_back(work.edited);
    }
    done_ = work.number;
    publish();
    if (work.finished) {
        {
            const std::lock_guard lock(mutex_);
            *work.finished = true;
        }
        finished_.notify_all();
    }
}

void ProgramThread::tickIfDue() {
    program_.tick();
    // The next tick is a whole interval after this one ended: ticks that fell due while it ran
    // are skipped, as the timer of a busy window skips them.
    nextTick_ = nextTickAfter(std::chrono::steady_clock::now());
    publish();
}

std::chrono::steady_clock::time_point ProgramThread::nextTickAfter(
    std::chrono::steady_clock::time_point now) {
    const int interval = std::max(program_.monitor().Timer1->value, kSmallestTimerIntervalMs);
    return now + std::chrono::milliseconds(interval);
}

void ProgramThread::publishNow() {
    publish();
}

void ProgramThread::publish() {
    Published out;
    std::vector<const Control*> changed = program_.takeChanged();
    for (const Control* c : forced_) {
        if (std::find(changed.begin(), changed.end(), c) == changed.end()) {
            changed.push_back(c);
        }
    }
    forced_.clear();
    const bool ended = program_.ended();
    if (changed.empty() && done_ == publishedDone_ && ended == publishedEnded_) {
        return;
    }
    out.controls.reserve(changed.size());
    for (const Control* c : changed) {
        const auto taken = edits_.find(c);
        out.controls.push_back(
            ControlLook{c, *c, taken == edits_.end() ? std::uint64_t{0} : taken->second});
    }
    out.done = publishedDone_ = done_;
    out.ended = publishedEnded_ = ended;
    publish_(std::move(out));
}

}  // namespace tunx
