// Round trips of the remote control over a TCP socket on this machine: a client sends a query
// and reads its whole answer, the server (in a thread of its own, as `tunx4k-cli --serve` runs
// it) reads, carries out and answers. Reported: the median and 99th percentile of the wall
// time of 1,000 round trips, and the CPU time of the whole process per round trip. The
// "BesideWindows" runs serve as `tunx4k --remote` does without the Qt view: each command
// crosses to the program's thread and back.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/Version.h"
#include "platform/Host.h"
#include "program/ProgramThread.h"
#include "remote/Engine.h"
#include "remote/QueueUi.h"
#include "remote/Server.h"
#include "remote/ServerThread.h"
#include "wiring/Wiring.h"

namespace tunx::remote {
namespace {

using Clock = std::chrono::steady_clock;

double processCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The program on the virtual instrument, served from a thread of its own; a scope record of a
// 4 Vpp, 1 kHz sine with 2048 samples is taken before the server starts.
class ServedProgram {
  public:
    ServedProgram()
        : ui_(state_.status),
          wiring_({.simulate = true, .fast = true, .installDir = installationFolder()}, ui_),
          engine_(wiring_.program(), state_, [](const std::function<void()>& f) { f(); }),
          server_(engine_) {
        Program& p = wiring_.program();
        p.start();
        engine_.take({"SOUR:VOLT 4;:OUTP ON;:MON:MODE CH1;:ACQ:POIN 2048;:SING", std::nullopt});
        engine_.work();
        for (int i = 0; i < 10; ++i) {
            p.tick();
        }
        std::string why;
        if (!server_.listen({"127.0.0.1", 0}, why)) {
            throw std::runtime_error(why);
        }
        thread_ = std::thread([this] {
            while (!stop_) {
                server_.wait(std::chrono::milliseconds(10));
                server_.work();
            }
        });
    }
    ~ServedProgram() {
        stop_ = true;
        thread_.join();
    }
    ServedProgram(const ServedProgram&) = delete;
    ServedProgram& operator=(const ServedProgram&) = delete;

    std::uint16_t port() const { return server_.port(); }
    // The record is taken already.
    template <typename C>
    void prepare(C&) {}

  private:
    RemoteState state_;
    QueueUi ui_;
    Wiring wiring_;
    Engine engine_;
    Server server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The program on its own thread with the monitor's timer running, and the server on another
// whose commands run there through ProgramThread::call, as beside the windows.
class ProgramThreadServed {
  public:
    ProgramThreadServed()
        : wiring_({.simulate = true, .fast = true, .installDir = installationFolder()}, ui_),
          program_(wiring_.program(), [](Published) {}),
          server_(wiring_.program(),
                  [this](const std::function<void()>& f) { program_.call([&f] { f(); }); }) {
        std::string why;
        if (!server_.listen({"127.0.0.1", 0}, why)) {
            throw std::runtime_error(why);
        }
        program_.start();
        program_.call([this] { wiring_.program().start(); });
        program_.runTimer(true);
        server_.start();
    }
    ~ProgramThreadServed() {
        program_.stop();
        server_.stop();
    }
    ProgramThreadServed(const ProgramThreadServed&) = delete;
    ProgramThreadServed& operator=(const ProgramThreadServed&) = delete;

    std::uint16_t port() const { return server_.port(); }
    // The client takes the record with the monitor's timer running: "1" once it is in.
    template <typename C>
    void prepare(C& client) {
        client.roundTrip("SOUR:VOLT 4;:OUTP ON;:MON:MODE CH1;:ACQ:POIN 2048;:SING;*OPC?\n", 2);
    }

  private:
    RemoteState uiState_;
    QueueUi ui_{uiState_.status};
    Wiring wiring_;
    ProgramThread program_;
    ServerThread server_;
};

// A blocking client socket.
class Client {
  public:
    explicit Client(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int on = 1;
        ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
            throw std::runtime_error("cannot connect");
        }
    }
    ~Client() { ::close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Sends a query and reads `answerBytes` bytes of answer (line end included).
    void roundTrip(const std::string& query, std::size_t answerBytes) {
        ::send(fd_, query.data(), query.size(), 0);
        std::size_t got = 0;
        while (got < answerBytes) {
            const ssize_t n = ::recv(fd_, buffer_.data(), buffer_.size(), 0);
            if (n <= 0) {
                throw std::runtime_error("connection lost");
            }
            got += static_cast<std::size_t>(n);
        }
    }

  private:
    int fd_;
    std::vector<char> buffer_ = std::vector<char>(64 * 1024);
};

template <typename Served>
void roundTrips(benchmark::State& state, const std::string& query, std::size_t answerBytes) {
    Served served;
    Client client(served.port());
    served.prepare(client);
    client.roundTrip(query, answerBytes);  // the connection accepted and warm
    std::vector<double> micros;
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state) {
        const auto start = Clock::now();
        client.roundTrip(query, answerBytes);
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    const double cpu = processCpuSeconds() - cpuBefore;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["cpu_us_per_query"] = cpu * 1e6 / static_cast<double>(micros.size());
}

// "TUNX4K,TUNX4K,tunx4k-SIM0001,<version>" and its line end.
const std::string kIdn = "*IDN?\n";
const std::size_t kIdnBytes =
    std::string("TUNX4K,TUNX4K,tunx4k-SIM0001,").size() + std::strlen(kVersion) + 1;
// "#48192", 2048 floats and the line end.
const std::string kWaveform = "WAV:DATA?\n";
constexpr std::size_t kWaveformBytes = 6 + 2048 * 4 + 1;

void BM_Remote_IdnRoundTrip(benchmark::State& state) {
    roundTrips<ServedProgram>(state, kIdn, kIdnBytes);
}
BENCHMARK(BM_Remote_IdnRoundTrip)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_Remote_WaveformRoundTrip(benchmark::State& state) {
    roundTrips<ServedProgram>(state, kWaveform, kWaveformBytes);
}
BENCHMARK(BM_Remote_WaveformRoundTrip)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_Remote_IdnRoundTripBesideWindows(benchmark::State& state) {
    roundTrips<ProgramThreadServed>(state, kIdn, kIdnBytes);
}
BENCHMARK(BM_Remote_IdnRoundTripBesideWindows)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_Remote_WaveformRoundTripBesideWindows(benchmark::State& state) {
    roundTrips<ProgramThreadServed>(state, kWaveform, kWaveformBytes);
}
BENCHMARK(BM_Remote_WaveformRoundTripBesideWindows)
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx::remote
