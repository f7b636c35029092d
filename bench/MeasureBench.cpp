// CPU cost of the monitor's measurements against the virtual instrument with the virtual clock
// (pauses are counted, not waited for), drawing into a headless raster picture: one
// frequency-sweep point (tuning word, detector reading, level conversion, the line), one
// counter reading (start, 1008 samples back, the count), and the 1024-point spectrum of the
// last record with its drawing. "paused_ms" is the instrument pacing each one asks for.
#include <benchmark/benchmark.h>

#include <string>

#include "picture/RasterCanvas.h"
#include "platform/Host.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx {
namespace {

struct Monitor {
    Monitor()
        : wiring({.simulate = true, .fast = true, .installDir = installationFolder()}, ui,
                 &picture),
          program(wiring.program()),
          w(program.monitor()),
          clock(wiring.virtualClock()) {
        program.start();
    }
    void choose(Ctl control, const std::string& text) {
        program.dispatch([&] { w.choose(*control, text); });
    }
    // The generator's sine at `frek` (in `unit`), 4 Vpp.
    void sine(const std::string& frek, const std::string& unit) {
        frmMain& g = program.generator();
        g.ModeSelect->text = "Single Tone Sine";
        program.dispatch(g, "ModeSelect_Click");
        g.Frek->text = frek;
        g.frequnit->text = unit;
        g.Vpp->text = "4";
        g.VppUnit->text = "Vpp";
        program.dispatch(g, "RefreshBtn_Click");
    }
    // A message or a failed command: the figures would not be those of the measurement.
    bool failed(benchmark::State& state) {
        if (ui.messages.empty() && !program.state().gen.sgerror) {
            return false;
        }
        const std::string last = ui.messages.empty() ? "" : ui.messages.back().text;
        state.SkipWithError(("monitor in " + program.state().mon.monstate + ": " + last).c_str());
        return true;
    }

    HeadlessUi ui;
    RasterCanvas picture;
    Wiring wiring;
    Program& program;
    Form1& w;
    VirtualClock& clock;
};

void BM_FrequencySweepPoint(benchmark::State& state) {
    Monitor m;
    m.choose(m.w.selmonmode, "Frequency Sweep");
    m.program.dispatch([&] { m.w.typeText(*m.w.textstarta, "100"); });
    m.choose(m.w.selrfrange, "5dBmV/Div");
    const auto start = [&] {
        m.program.dispatch(m.w, "cmdstartsweep_Click");
        m.program.tick();  // the set-up
    };
    start();
    long long paused = 0;
    for (auto _ : state) {
        if (m.program.state().mon.monstate != "frsweeping") {
            state.PauseTiming();
            start();
            state.ResumeTiming();
        }
        const long long before = m.clock.elapsedMs();
        m.program.tick();
        paused = m.clock.elapsedMs() - before;
    }
    if (!m.failed(state)) {
        state.counters["paused_ms"] = static_cast<double>(paused);
    }
}

void BM_CounterReading(benchmark::State& state) {
    Monitor m;
    m.sine("10", "MHz");
    m.choose(m.w.selmonmode, "Frequency Counter");
    m.program.dispatch(m.w, "cmdstartsweep_Click");
    long long paused = 0;
    for (auto _ : state) {
        const long long before = m.clock.elapsedMs();
        m.program.tick();
        paused = m.clock.elapsedMs() - before;
    }
    if (!m.failed(state)) {
        state.counters["paused_ms"] = static_cast<double>(paused);
        state.SetLabel(m.w.frcountertxt->text + " Hz");
    }
}

void BM_Spectrum(benchmark::State& state) {
    Monitor m;
    m.sine("1", "kHz");
    m.choose(m.w.selmonmode, "Scope CH1");
    m.w.reclenght->value = 1;
    m.program.dispatch(m.w, "cmdstartsweep_Click");
    for (int i = 0; i < 3; ++i) {
        m.program.tick();  // set-up and records of the 2048-sample length
    }
    for (auto _ : state) {
        m.program.dispatch(m.w, "cmdfft_Click");
    }
    m.failed(state);
}

BENCHMARK(BM_FrequencySweepPoint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CounterReading)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Spectrum)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx
