// CPU cost of one refresh in each of the ten modes, against the virtual instrument with the
// virtual clock (the pauses are counted, not waited for). The "paused_ms" counter is the
// instrument pacing the refresh asks for; it does not enter the time measured.
#include <benchmark/benchmark.h>

#include "QuietUi.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/Host.h"
#include "program/Program.h"
#include "sim/VirtualInstrument.h"

namespace tunx {
namespace {

using bench::QuietUi;

using Entries = std::vector<std::pair<const char*, std::string>>;

struct ModeCase {
    const char* mode;
    Entries entries;
};

std::vector<ModeCase> cases(const std::string& share) {
    return {
        {"Single Tone Sine", {{"Frek", "1"}, {"Vpp", "1"}}},
        {"Sine Modulated", {{"Frek", "1"}, {"Vpp", "1"}, {"modtype", "External AM"}}},
        {"Pulse Generator", {{"Vpp", "1"}, {"Pulse", "10"}, {"Pause", "15"}}},
        {"Ramp", {{"Frek", "1"}, {"Vpp", "1"}}},  // 1000 RAM words
        {"Triangle", {{"Frek", "1"}, {"Vpp", "1"}}},
        {"Arbitrary",  // the 1024-point default profile
         {{"flocation", share + "Voltage1.txt"}, {"endpt1", "1024"}, {"endpt2", "1024"}}},
        {"Sweep Sine Generator", {{"Vpp", "1"}, {"steptime", "100"}}},  // 1000 steps
        {"Square-Wave", {{"Frek", "1"}, {"Vpp", "1"}}},
        {"Square-Wave2", {{"Frek", "1"}, {"frequnit", "MHz"}, {"Vpp", "1"}}},
        {"Single Tone Sine2", {{"Vpp", "1"}}},
    };
}

void BM_Refresh(benchmark::State& state) {
    const std::string share = installationFolder();
    const ModeCase c = cases(share)[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(c.mode);

    VirtualClock clock;
    sim::VirtualInstrument instrument(clock);
    QuietUi ui;
    Program program(instrument, clock, ui, share);
    frmMain& w = program.generator();
    program.dispatch(w, "Form_Activate");
    w["ModeSelect"].text = c.mode;
    program.dispatch(w, "ModeSelect_Click");
    for (const auto& [name, text] : c.entries) {
        w[name].text = text;
    }

    long long pausedBefore = 0;
    long long pausedPerRefresh = 0;
    for (auto _ : state) {
        pausedBefore = clock.elapsedMs();
        program.dispatch(w, "RefreshBtn_Click");
        pausedPerRefresh = clock.elapsedMs() - pausedBefore;
    }
    const std::string expected = std::string("Running ") + c.mode;
    if (w["StatusBar"].text != expected) {
        state.SkipWithError(
            ("refresh failed: " + w["StatusBar"].text + " / " + ui.lastMessage).c_str());
    }
    state.counters["paused_ms"] = static_cast<double>(pausedPerRefresh);
    state.counters["frames"] = static_cast<double>(instrument.framesReceived()) /
                               static_cast<double>(state.iterations() + 1);
}

BENCHMARK(BM_Refresh)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx
