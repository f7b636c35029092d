#include "remote/Serve.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "remote/Engine.h"
#include "remote/QueueUi.h"
#include "remote/RemoteState.h"
#include "wiring/Wiring.h"

namespace tunx::remote {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimerPeriod = std::chrono::milliseconds(10);
constexpr const char* kServing = "serving on ";

// SIGTERM and SIGINT as a descriptor to wait on, blocked as signals while it lives.
class StopSignals {
  public:
    StopSignals() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGTERM);
        sigaddset(&set_, SIGINT);
        ::sigprocmask(SIG_BLOCK, &set_, &before_);
        fd_ = ::signalfd(-1, &set_, SFD_NONBLOCK | SFD_CLOEXEC);
    }
    // The signals that came are taken before they are let through again: they were handled.
    ~StopSignals() {
        if (fd_ >= 0) {
            signalfd_siginfo info{};
            while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            }
            ::close(fd_);
        }
        ::sigprocmask(SIG_SETMASK, &before_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int fd() const { return fd_; }

  private:
    sigset_t set_{};
    sigset_t before_{};
    int fd_ = -1;
};

}  // namespace

int serve(const ServeOptions& options, const std::function<void(const std::string&)>& say) {
    RemoteState state;
    QueueUi ui(state.status);
    Wiring wiring({.simulate = options.simulate,
                   .device = options.device,
                   .fast = false,
                   .record = options.transcript != nullptr,
                   .transcriptOut = options.transcript,
                   .installDir = options.installDir,
                   .userDataDir = options.userDataDir,
                   .serial = options.serial,
                   .groupSeparator = options.groupSeparator},
                  ui);
    for (const auto& words : options.bench) {
        if (const std::optional<std::string> error = wiring.instrument().instruct(words)) {
            say("--sim: " + *error);
            return kCannotServe;
        }
    }
    Program& program = wiring.program();
    Engine engine(program, state, [](const std::function<void()>& f) { f(); });
    Server server(engine, options.limits);
    std::string why;
    if (!server.listen(options.at, why)) {
        say(why);
        return kCannotServe;
    }
    const StopSignals signals;
    program.start();
    say(std::string(kServing) + server.where());

    auto nextTick = Clock::now() + kTimerPeriod;
    while (!program.ended()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::max(nextTick - Clock::now(), Clock::duration::zero()));
        if (server.wait(wait, signals.fd())) {
            break;  // SIGTERM or SIGINT
        }
        if (Clock::now() >= nextTick) {
            program.tick();
            // A tick that took long is not made up for: the next one is due a period on.
            nextTick = std::max(nextTick, Clock::now()) + kTimerPeriod;
        }
        server.work();
        if (state.exitRequested && !server.sending()) {
            break;
        }
    }
    wiring.transcript().flush();
    return program.ended() ? kProgramEnded : kServed;
}

}  // namespace tunx::remote
