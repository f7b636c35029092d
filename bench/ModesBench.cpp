// CPU cost of one refresh in each of the ten modes, against the virtual instrument with the
// virtual clock (the pauses are counted, not waited for). The "paused_ms" counter is the
// instrument pacing the refresh asks for; it does not enter the time measured.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/Host.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx {
namespace {

using C = frmMainControls;
using Entries = std::vector<std::pair<Ctl C::*, std::string>>;

struct ModeCase {
    const char* mode;
    Entries entries;
};

std::vector<ModeCase> cases(const std::string& share) {
    return {
        {"Single Tone Sine", {{&C::Frek, "1"}, {&C::Vpp, "1"}}},
        {"Sine Modulated", {{&C::Frek, "1"}, {&C::Vpp, "1"}, {&C::modtype, "External AM"}}},
        {"Pulse Generator", {{&C::Vpp, "1"}, {&C::Pulse, "10"}, {&C::Pause, "15"}}},
        {"Ramp", {{&C::Frek, "1"}, {&C::Vpp, "1"}}},  // 1000 RAM words
        {"Triangle", {{&C::Frek, "1"}, {&C::Vpp, "1"}}},
        {"Arbitrary",  // the 1024-point default profile
         {{&C::flocation, share + "Voltage1.txt"}, {&C::endpt1, "1024"}, {&C::endpt2, "1024"}}},
        {"Sweep Sine Generator", {{&C::Vpp, "1"}, {&C::steptime, "100"}}},  // 1000 steps
        {"Square-Wave", {{&C::Frek, "1"}, {&C::Vpp, "1"}}},
        {"Square-Wave2", {{&C::Frek, "1"}, {&C::frequnit, "MHz"}, {&C::Vpp, "1"}}},
        {"Single Tone Sine2", {{&C::Vpp, "1"}}},
    };
}

void BM_Refresh(benchmark::State& state) {
    const std::string share = installationFolder();
    const ModeCase c = cases(share)[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(c.mode);

    HeadlessUi ui;
    Wiring wiring({.simulate = true, .fast = true, .installDir = share}, ui);
    Program& program = wiring.program();
    VirtualClock& clock = wiring.virtualClock();
    sim::VirtualInstrument& instrument = wiring.instrument();
    frmMain& w = program.generator();
    program.start();
    w.ModeSelect->text = c.mode;
    program.dispatch(w, "ModeSelect_Click");
    for (const auto& [control, text] : c.entries) {
        (w.*control)->text = text;
    }

    long long pausedBefore = 0;
    long long pausedPerRefresh = 0;
    for (auto _ : state) {
        pausedBefore = clock.elapsedMs();
        program.dispatch(w, "RefreshBtn_Click");
        pausedPerRefresh = clock.elapsedMs() - pausedBefore;
    }
    const std::string expected = std::string("Running ") + c.mode;
    if (w.StatusBar->text != expected) {
        const std::string last = ui.messages.empty() ? "" : ui.messages.back().text;
        state.SkipWithError(("refresh failed: " + w.StatusBar->text + " / " + last).c_str());
    }
    state.counters["paused_ms"] = static_cast<double>(pausedPerRefresh);
    state.counters["frames"] = static_cast<double>(instrument.framesReceived()) /
                               static_cast<double>(state.iterations() + 1);
}

BENCHMARK(BM_Refresh)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx
