#include "remote/ServerThread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace tunx::remote {

namespace {
// While a line waits for a measurement, or *OPC for its bit, the engine looks again this often.
constexpr auto kWatchPeriod = std::chrono::milliseconds(10);
// Otherwise only the client, a new connection or stop() wake the thread; the wait still ends
// now and then, and the server shortens it for a client about to be dropped as idle.
constexpr auto kQuietWait = std::chrono::seconds(1);
}  // namespace

ServerThread::ServerThread(Program& program, Engine::Runner call, ServerLimits limits)
    : clientUi_(state_.status),
      engine_(program, state_, std::move(call)),
      server_(engine_, limits),
      wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    state_.canExit = false;
}

ServerThread::~ServerThread() {
    stop();
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
    }
}

bool ServerThread::listen(const Endpoint& at, std::string& why) {
    if (wakeFd_ < 0) {
        why = "cannot serve: no event descriptor";
        return false;
    }
    return server_.listen(at, why);
}

void ServerThread::start() {
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { loop(); });
    }
}

void ServerThread::stop() {
    stopping_ = true;
    wake();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ServerThread::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void ServerThread::loop() {
    while (!stopping_) {
        const std::chrono::milliseconds wait =
            engine_.watching() ? kWatchPeriod : std::chrono::milliseconds(kQuietWait);
        if (server_.wait(wait, wakeFd_)) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
            continue;
        }
        server_.work();
    }
}

}  // namespace tunx::remote
