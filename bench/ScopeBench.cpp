// CPU cost of one scope tick against the virtual instrument with the virtual clock: "Scope
// CH1+CH2", 8-bit, "Normal" trigger, 2500-byte record (status, request, read, unpack, trigger
// search, erase and draw of both traces, grid, re-arm), with nothing drawn and with the
// headless raster picture. The instrument's own share of a tick is measured on its own.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "monitor/scope/Measurements.h"
#include "picture/RasterCanvas.h"
#include "platform/Host.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx {
namespace {

// A 1 kHz, 4 Vpp sine on both inputs, the monitor running "Scope CH1+CH2" in "Normal".
void startScope(Program& program) {
    program.start();
    frmMain& g = program.generator();
    g.Frek->text = "1";
    g.Vpp->text = "4";
    program.dispatch(g, "RefreshBtn_Click");
    Form1& m = program.monitor();
    program.dispatch([&] { m.choose(*m.selmonmode, "Scope CH1+CH2"); });
    program.dispatch([&] { m.choose(*m.trigmode, "Normal"); });
    program.dispatch(m, "cmdstartsweep_Click");
    program.tick();  // the set-up
}

void scopeTicks(benchmark::State& state, Canvas* picture) {
    HeadlessUi ui;
    Wiring wiring({.simulate = true, .fast = true, .installDir = installationFolder()}, ui,
                  picture);
    Program& program = wiring.program();
    startScope(program);
    for (auto _ : state) {
        program.tick();
    }
    const MonitorState& m = program.state().mon;
    if (m.monstate != "scope" || program.monitor().textstatus->text != "Running") {
        state.SkipWithError("the scope did not run");
    }
}

void BM_ScopeTick_NothingDrawn(benchmark::State& state) {
    scopeTicks(state, nullptr);
}

void BM_ScopeTick_RasterPicture(benchmark::State& state) {
    RasterCanvas picture;
    scopeTicks(state, &picture);
}

// The instrument alone: the exchange of one tick (status, request, 2500 bytes, re-arm with its
// acknowledgement) on the transport, without the program.
void BM_ScopeTick_InstrumentOnly(benchmark::State& state) {
    HeadlessUi ui;
    Wiring wiring({.simulate = true, .fast = true, .installDir = installationFolder()}, ui);
    startScope(wiring.program());
    sim::VirtualInstrument& sim = wiring.instrument();
    const DeviceHandle device = wiring.program().state().link.devhandle;
    std::vector<std::uint8_t> buffer(2500);
    const auto frame = [](std::array<int, 6> cmd) {
        std::vector<std::uint8_t> f{4};
        int sum = 0;
        for (int b : cmd) {
            f.push_back(static_cast<std::uint8_t>(b));
            sum += b;
        }
        f.push_back(static_cast<std::uint8_t>(sum & 0xFF));
        return f;
    };
    const auto request = frame({37, 9, 196, 0, 0, 0});
    const auto rearm = frame({36, 0, 0, 2, 113, 3});
    std::uint32_t n = 0;
    for (auto _ : state) {
        sim.SI_Read(device, std::span(buffer).first(2), n);
        sim.SI_FlushBuffers(device, 1, 1);
        sim.SI_Write(device, request, n);
        sim.SI_Read(device, buffer, n);
        sim.SI_FlushBuffers(device, 1, 1);
        sim.SI_Write(device, rearm, n);
        sim.SI_Read(device, std::span(buffer).first(1), n);
    }
}

// What each record adds beside the original: both channels of a 2500-byte record in volts and
// their measurements (peak-to-peak, rms, mean, frequency) with the readout texts.
void BM_RecordMeasurements(benchmark::State& state) {
    std::vector<double> ch1(1250), ch2(1250);
    for (std::size_t i = 0; i < ch1.size(); ++i) {
        ch1[i] = 2 * std::sin(6.283185307 * 1000.0 * static_cast<double>(i) / 64000);
        ch2[i] = std::sin(6.283185307 * 2500.0 * static_cast<double>(i) / 64000) >= 0 ? 1 : -1;
    }
    std::string text;
    for (auto _ : state) {
        text = measurementText("CH1", measure(ch1, 1.0 / 64000)) +
               measurementText("CH2", measure(ch2, 1.0 / 64000));
        benchmark::DoNotOptimize(text);
    }
}

BENCHMARK(BM_RecordMeasurements)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeTick_NothingDrawn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeTick_RasterPicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScopeTick_InstrumentOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx
