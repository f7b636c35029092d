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
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
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
    QMetaObject::invokeMethod(
        &context_,
        [this, pending, call] {
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
        },
        Qt::QueuedConnection);
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
