// CPU cost of one scope record on the virtual instrument: the arm, the end-of-record status
// and the record request, as the monitor's read-out does it every tick. The virtual clock
// makes the record ready at once, so what is measured is the instrument's own work.
#include <benchmark/benchmark.h>

#include <array>
#include <numeric>
#include <string>
#include <vector>

#include "sim/VirtualInstrument.h"

namespace tunx {
namespace {

using Cmd = std::array<int, 6>;

struct Instrument {
    explicit Instrument(const std::vector<std::string>& bench) {
        sim.SI_Open(0, handle);
        sim.SI_SetTimeouts(3000, 3000);
        for (const std::string& line : bench) {
            std::vector<std::string> words;
            for (std::size_t at = 0; at < line.size();) {
                const std::size_t end = std::min(line.find(' ', at), line.size());
                words.push_back(line.substr(at, end - at));
                at = end + 1;
            }
            sim.instruct(words);
        }
        // A 1 kHz, 4 Vpp sine at the 400 MHz clock; 1 V/div on both channels.
        for (const Cmd& c :
             {Cmd{2, 0, 2, 164, 0, 0}, Cmd{5, 0, 0, 41, 241, 0}, Cmd{6, 0, 0, 0, 0, 0},
              Cmd{3, 36, 27, 0, 0, 0}, Cmd{31, 0, 0, 3, 0, 0}, Cmd{31, 3, 255, 7, 0, 0},
              Cmd{31, 2, 213, 4, 0, 0}, Cmd{31, 2, 212, 6, 0, 0}, Cmd{35, 0, 160, 0, 1, 2},
              Cmd{38, 3, 2, 0, 0, 0}}) {
            command(c);
        }
    }
    std::uint32_t command(const Cmd& c) {
        std::array<std::uint8_t, 8> f{4};
        for (std::size_t i = 0; i < c.size(); ++i) {
            f[i + 1] = static_cast<std::uint8_t>(c[i]);
        }
        f[7] = static_cast<std::uint8_t>(std::accumulate(c.begin(), c.end(), 0) & 0xFF);
        std::uint32_t n = 0;
        sim.SI_Write(handle, f, n);
        return n;
    }
    // Arm, status, request: the bytes of the record.
    std::uint32_t record(const Cmd& armCommand, int bytes) {
        command(armCommand);
        std::uint32_t n = 0;
        sim.SI_Read(handle, std::span(buffer).first(1), n);  // acknowledgement
        sim.SI_Read(handle, std::span(buffer).first(2), n);  // status
        command({37, bytes >> 8, bytes & 0xFF, 0, 0, 0});
        sim.SI_Read(handle, std::span(buffer).first(static_cast<std::size_t>(bytes)), n);
        return n;
    }

    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    DeviceHandle handle = 0;
    std::array<std::uint8_t, 4096> buffer{};
};

void run(benchmark::State& state, const std::vector<std::string>& bench, const Cmd& arm,
         int bytes) {
    Instrument instrument(bench);
    for (auto _ : state) {
        benchmark::DoNotOptimize(instrument.record(arm, bytes));
    }
    state.SetItemsProcessed(state.iterations());
}

// 8-bit, both channels, 1 ms/div, triggered read-out: 2500 bytes.
void BM_Record8BitSine(benchmark::State& state) {
    run(state, {}, {36, 0, 0, 2, 113, 3}, 2500);
}
BENCHMARK(BM_Record8BitSine);

void BM_Record8BitSineWithNoise(benchmark::State& state) {
    run(state, {"noise 5"}, {36, 0, 0, 2, 113, 3}, 2500);
}
BENCHMARK(BM_Record8BitSineWithNoise);

// A square through a band pass: the filtered one-period table.
void BM_Record8BitSquareThroughBandpass(benchmark::State& state) {
    run(state, {"signal CH2 square 1k 2", "wire CH1 dut", "dut bandpass 3k 2"},
        {36, 0, 0, 2, 113, 3}, 2500);
}
BENCHMARK(BM_Record8BitSquareThroughBandpass);

// 12-bit, one channel, 1 ms/div: 1300 bytes.
void BM_Record12BitSine(benchmark::State& state) {
    run(state, {}, {36, 0, 0, 2, 88, 66}, 1300);
}
BENCHMARK(BM_Record12BitSine);

}  // namespace
}  // namespace tunx
