// CPU cost of one refresh in each mode (with its example entries), against the virtual instrument
// with the virtual clock (the pauses are counted, not waited for). The "paused_ms" counter is the
// instrument pacing the refresh asks for; it does not enter the time measured.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "generator/OutputMode.h"
#include "platform/Host.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx {
namespace {

void BM_Refresh(benchmark::State& state) {
    const std::string share = installationFolder();
    const OutputMode& mode = *outputModes()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(mode.text());

    HeadlessUi ui;
    Wiring wiring({.simulate = true, .fast = true, .installDir = share}, ui);
    Program& program = wiring.program();
    VirtualClock& clock = wiring.virtualClock();
    sim::VirtualInstrument& instrument = wiring.instrument();
    frmMain& w = program.generator();
    program.start();
    w.ModeSelect->text = mode.text();
    program.dispatch(w, "ModeSelect_Click");
    for (const PanelEntry& e : mode.example) {
        (w.*e.control)->text = e.text;
    }

    long long pausedBefore = 0;
    long long pausedPerRefresh = 0;
    for (auto _ : state) {
        pausedBefore = clock.elapsedMs();
        program.dispatch(w, "RefreshBtn_Click");
        pausedPerRefresh = clock.elapsedMs() - pausedBefore;
    }
    const std::string expected = std::string("Running ") + mode.text();
    if (w.StatusBar->text != expected) {
        const std::string last = ui.messages.empty() ? "" : ui.messages.back().text;
        state.SkipWithError(("refresh failed: " + w.StatusBar->text + " / " + last).c_str());
    }
    state.counters["paused_ms"] = static_cast<double>(pausedPerRefresh);
    state.counters["frames"] = static_cast<double>(instrument.framesReceived()) /
                               static_cast<double>(state.iterations() + 1);
}

BENCHMARK(BM_Refresh)
    ->DenseRange(0, static_cast<int>(outputModes().size()) - 1)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx
