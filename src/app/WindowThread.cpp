#include "app/WindowThread.h"

#include <QMetaObject>
#include <QThread>
#include <memory>

namespace tunx::app {

bool WindowThread::onWindowThread() const {
    return QThread::currentThread() == context_.thread();
}

void WindowThread::post(std::function<void()> call) {
    if (onWindowThread()) {
        call();
        return;
    }
    bool schedule = false;
    {
        const std::lock_guard lock(mutex_);
        inbox_.push_back(std::move(call));
        schedule = !draining_;
        draining_ = true;
    }
    if (schedule) {
        QMetaObject::invokeMethod(
            &context_, [this] { drain(); }, Qt::QueuedConnection);
    }
}

// A call may open a dialog, whose event loop runs a later drain for the calls that follow it.
void WindowThread::drain() {
    {
        const std::lock_guard lock(mutex_);
        draining_ = false;
    }
    for (;;) {
        std::function<void()> call;
        {
            const std::lock_guard lock(mutex_);
            if (inbox_.empty()) {
                return;
            }
            call = std::move(inbox_.front());
            inbox_.pop_front();
        }
        call();
    }
}

bool WindowThread::wait(const std::function<void()>& call) {
    if (onWindowThread()) {
        call();
        return true;
    }
    // The state outlives this wait: a call still queued when the wait gave up finds it.
    struct Pending {
        bool done = false;
        bool ran = false;
    };
    auto pending = std::make_shared<Pending>();
    {
        const std::lock_guard lock(mutex_);
        if (closed_) {
            return false;
        }
    }
    // In order with the calls posted before it.
    post([this, pending, call] {
        {
            const std::lock_guard lock(mutex_);
            if (closed_ || pending->done) {
                return;
            }
        }
        call();
        {
            const std::lock_guard lock(mutex_);
            pending->done = pending->ran = true;
        }
        answered_.notify_all();
    });
    std::unique_lock lock(mutex_);
    answered_.wait(lock, [&] { return pending->done || closed_; });
    pending->done = true;
    return pending->ran;
}

void WindowThread::close() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    answered_.notify_all();
}

}  // namespace tunx::app
