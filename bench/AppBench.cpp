// CPU cost of the Qt view on the offscreen platform, against the virtual instrument with the
// virtual clock: updating the widgets after a Refresh, one idle tick of the monitor's timer,
// and a whole Refresh click. The program runs on the benchmark's thread here (its own thread is
// not started), and the views show the looks of the controls that changed, as they do when the
// program publishes them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include "app/App.h"
#include "platform/Host.h"

namespace tunx::app {
namespace {

// The program on screen, started, with an amplitude a refresh accepts (the start-up's layout
// leaves 0).
class Started {
  public:
    Started() : app_({.simulate = true, .fast = true, .installDir = installationFolder()}) {
        app_.generatorView().show();
        app_.program().start();
        showChanges();
        QApplication::processEvents();
        const std::string amplitude("1");
        app_.program().generator().Vpp->text = amplitude;
    }
    App& app() { return app_; }
    Program& program() { return app_.program(); }
    frmMain& generator() { return app_.program().generator(); }

    // The views show the controls that changed, as after a publication of the program.
    void showChanges() {
        for (const Control* c : app_.program().takeChanged()) {
            const ControlLook look{c, *c, 0};
            if (!app_.generatorView().showLook(look)) {
                app_.monitorView().showLook(look);
            }
        }
    }
    void run(Window& w, const std::string& handler) {
        program().dispatch(w, handler);
        showChanges();
    }

  private:
    App app_;
};

bool refreshed(frmMain& w) {
    return w.StatusBar->text.starts_with("Running");
}

// The widgets of what a Refresh changed (the frequency, alternating, and what follows from it),
// brought up to date; the refresh itself runs outside the measurement.
void BM_View_UpdateAfterRefresh(benchmark::State& state) {
    Started s;
    frmMain& w = s.generator();
    Program& program = s.app().program();
    int frequency = 1;
    const auto refresh = [&] {
        w.Frek->text = std::to_string(frequency++ % 2 + 1);
        program.dispatch(w, "RefreshBtn_Click");
    };
    refresh();
    const std::size_t changed = program.takeChanged().size();
    for (auto _ : state) {
        state.PauseTiming();
        refresh();
        state.ResumeTiming();
        s.showChanges();
        state.PauseTiming();
        QApplication::processEvents();  // the paint events, outside the measurement
        state.ResumeTiming();
    }
    if (!refreshed(w)) {
        state.SkipWithError("the refresh failed");
    }
    state.counters["changed"] = static_cast<double>(changed);
}

// For comparison: every widget of both windows rewritten from the models, as the view did
// after every handler before it learned which controls changed.
void BM_View_RewriteEveryWidget(benchmark::State& state) {
    Started s;
    for (auto _ : state) {
        s.app().refreshAll();
    }
}

// One tick of the monitor's timer while the monitor does nothing: the program's tick through
// the one-handler gate, and nothing changed to show.
void BM_View_IdleTick(benchmark::State& state) {
    Started s;
    for (auto _ : state) {
        s.program().tick();
        s.showChanges();
    }
}

// A whole Refresh click as the button runs it: the command sequence, the status line painted
// while it runs, the widgets updated afterwards, and the paint events that follow.
void BM_View_RefreshClick(benchmark::State& state) {
    Started s;
    frmMain& w = s.generator();
    for (auto _ : state) {
        s.run(w, "RefreshBtn_Click");
        QApplication::processEvents();
    }
    if (!refreshed(w)) {
        state.SkipWithError("the refresh failed");
    }
}

// Scope ticks of "Scope CH1+CH2" with the Qt picture, 8-bit, "Normal" trigger, 2500-byte
// records, shown with the display `acqmode` and the persistence `persistence`.
void scopeTicks(benchmark::State& state, const std::string& acqmode,
                const std::string& persistence) {
    Started s;
    Program& program = s.app().program();
    frmMain& g = s.generator();
    // Named strings: GCC 12 warns of a false overlapping copy for a literal assigned here.
    const std::string frequency("1"), amplitude("4");
    g.Frek->text = frequency;
    g.Vpp->text = amplitude;
    s.run(g, "RefreshBtn_Click");
    Form1& m = program.monitor();
    program.dispatch([&] { m.choose(*m.selmonmode, "Scope CH1+CH2"); });
    program.dispatch([&] { m.choose(*m.trigmode, "Normal"); });
    program.dispatch([&] { m.choose(*m.acqmode, acqmode); });
    program.dispatch([&] { m.choose(*m.persistence, persistence); });
    s.run(m, "cmdstartsweep_Click");
    program.tick();  // the set-up
    for (auto _ : state) {
        program.tick();
        s.showChanges();
    }
    if (program.state().mon.monstate != RunState::Scope || m.textstatus->text != "Running") {
        state.SkipWithError("the scope did not run");
    }
}

// One scope tick: both traces erased and drawn into the image, and the widgets that changed
// updated.
void BM_View_ScopeTick(benchmark::State& state) {
    scopeTicks(state, "Normal", "Off");
}

// The same with "Average 16" and a 2 s persistence: the record added to the average of the last
// 16, the picture faded by the (virtual) time since the last record, both averages drawn over it.
void BM_View_ScopeTickAverage16Persistence(benchmark::State& state) {
    scopeTicks(state, "Average 16", "2 s");
}

BENCHMARK(BM_View_ScopeTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_ScopeTickAverage16Persistence)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_UpdateAfterRefresh)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_RewriteEveryWidget)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_IdleTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_View_RefreshClick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tunx::app

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
