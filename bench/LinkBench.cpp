// CPU cost of one acknowledged command transaction (flush, frame write, pause, acknowledgement
// read) on the program's side. The virtual clock records the 20 ms pauses without waiting, so
// what is measured is the program's own work per command, plus the transport it talks to.
#include <benchmark/benchmark.h>

#include <array>

#include "link/Link.h"
#include "link/Relay.h"
#include "ports/HeadlessUi.h"
#include "ports/Recording.h"
#include "sim/VirtualInstrument.h"

namespace tunx {
namespace {

constexpr int kCommands = 10000;

// The smallest possible instrument: every write is answered with the acknowledgement.
class AckOnly : public UsbApi {
  public:
    int SI_GetNumDevices(std::uint32_t& n) override {
        n = 1;
        return usb::kSuccess;
    }
    int SI_GetProductString(std::uint32_t, std::span<char>, int) override { return 0; }
    int SI_Open(std::uint32_t, DeviceHandle& h) override {
        h = 1;
        return usb::kSuccess;
    }
    int SI_Close(DeviceHandle) override { return usb::kSuccess; }
    int SI_SetTimeouts(std::uint32_t, std::uint32_t) override { return usb::kSuccess; }
    int SI_SetBaudRate(DeviceHandle, std::uint32_t) override { return usb::kSuccess; }
    int SI_FlushBuffers(DeviceHandle, std::uint8_t, std::uint8_t) override {
        pending_ = false;
        return usb::kSuccess;
    }
    int SI_Write(DeviceHandle, std::span<const std::uint8_t> d, std::uint32_t& n) override {
        n = static_cast<std::uint32_t>(d.size());
        pending_ = true;
        return usb::kSuccess;
    }
    int SI_Read(DeviceHandle, std::span<std::uint8_t> b, std::uint32_t& n) override {
        if (!pending_ || b.empty()) {
            n = 0;
            return usb::kReadTimedOut;
        }
        b[0] = kAck;
        n = 1;
        pending_ = false;
        return usb::kSuccess;
    }

  private:
    bool pending_ = false;
};

// A mix of the commands a refresh sends: level DACs, a switch line, the tuning word.
const std::array<Command, 4> kMix = {
    Command{code::kDac, 3, 252, 3, 0, 0},
    Command{code::kDac, 0, 3, 7, 0, 0},
    Command{code::kSwitch, 4, 2, 1, 0, 0},
    Command{code::kFtw, 0, 0, 41, 241, 0},
};

void runCommands(benchmark::State& state, UsbApi& usb, Clock& clock, HeadlessUi& ui) {
    SharedState shared;
    Link link(shared, usb, clock, ui);
    usb.SI_Open(0, shared.link.devhandle);
    std::size_t i = 0;
    for (auto _ : state) {
        const bool acknowledged = link.send(kMix[i++ % kMix.size()], kRelayLabel);
        benchmark::DoNotOptimize(acknowledged);
        if (!acknowledged) {
            state.SkipWithError("a command was not acknowledged");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["messages"] = static_cast<double>(ui.messages.size());
}

// The program against the virtual instrument, nothing recorded.
void BM_AckCommand_VirtualInstrument(benchmark::State& state) {
    VirtualClock clock;
    sim::VirtualInstrument sim(clock);
    HeadlessUi ui;
    runCommands(state, sim, clock, ui);
}

// As above, with every call written to an in-memory transcript (what tests and the
// script runner do).
void BM_AckCommand_VirtualInstrument_Recorded(benchmark::State& state) {
    VirtualClock clock;
    sim::VirtualInstrument sim(clock);
    Transcript transcript;
    RecordingUsbApi usb(sim, transcript);
    RecordingClock recClock(clock, transcript);
    HeadlessUi ui;
    runCommands(state, usb, recClock, ui);
}

// The program alone: a transport that only acknowledges.
void BM_AckCommand_ProgramOnly(benchmark::State& state) {
    VirtualClock clock;
    AckOnly usb;
    HeadlessUi ui;
    runCommands(state, usb, clock, ui);
}

BENCHMARK(BM_AckCommand_VirtualInstrument)->Iterations(kCommands)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AckCommand_VirtualInstrument_Recorded)
    ->Iterations(kCommands)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AckCommand_ProgramOnly)->Iterations(kCommands)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx

BENCHMARK_MAIN();
