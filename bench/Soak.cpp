// Soak: a long run of refreshes across the ten modes and of scope ticks, against the virtual
// instrument with the virtual clock, in one program each. Reports the CPU time per operation and
// the resident memory after the first 1,000 operations and at the end; fails (exit 1) when the
// memory grew by more than 1 MB in between, or an operation did not do its work.
//   tunx4k_soak [REFRESHES [TICKS]]   (default 100000 each)
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "generator/OutputMode.h"
#include "picture/RasterCanvas.h"
#include "platform/Host.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx {
namespace {

constexpr long kBaselineOps = 1000;
constexpr long kAllowedGrowthKb = 1024;
constexpr long kTicksPerScopeMode = 1000;

using C = frmMainControls;
using Entries = std::vector<std::pair<Ctl C::*, std::string>>;

// What every refresh sets before the mode's example entries: a profile leaves its offset and
// amplitude preset, a mode its units.
const Entries kBase = {
    {&C::VBias, "0"}, {&C::BiasMode, "Manual"}, {&C::VppUnit, "Vpp"}, {&C::frequnit, "kHz"}};

long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Memory and time of one soak: taken after the first kBaselineOps operations and at the end.
class Meter {
  public:
    explicit Meter(const char* what) : what_(what) {}
    void afterOperation(long done) {
        if (done == kBaselineOps) {
            baselineKb_ = residentKb();
            baselineCpu_ = cpuSeconds();
        }
    }
    // Prints the figures; false when the memory grew too much.
    bool report(long operations, long failures) const {
        const long endKb = residentKb();
        const double cpu = cpuSeconds() - baselineCpu_;
        const long measured = operations - kBaselineOps;
        const long growth = endKb - baselineKb_;
        std::printf("%s: %ld operations, %ld failed\n", what_, operations, failures);
        std::printf("  CPU per operation (after the first %ld): %.1f us\n", kBaselineOps,
                    measured > 0 ? cpu / static_cast<double>(measured) * 1e6 : 0.0);
        std::printf(
            "  resident memory after %ld: %ld kB, at the end: %ld kB, growth %ld kB "
            "(allowed %ld kB)\n",
            kBaselineOps, baselineKb_, endKb, growth, kAllowedGrowthKb);
        return growth <= kAllowedGrowthKb && failures == 0;
    }

  private:
    const char* what_;
    long baselineKb_ = 0;
    double baselineCpu_ = 0;
};

bool soakRefreshes(long count) {
    const std::string share = installationFolder();
    const auto modes = outputModes();
    HeadlessUi ui;
    Wiring wiring({.simulate = true, .fast = true, .installDir = share}, ui);
    Program& program = wiring.program();
    frmMain& w = program.generator();
    program.start();
    Meter meter("refreshes across the modes");
    long failures = 0;
    for (long i = 0; i < count; ++i) {
        const OutputMode& mode = *modes[static_cast<std::size_t>(i) % modes.size()];
        program.dispatch([&] {
            w.choose(*w.ModeSelect, mode.text());
            for (const auto& [control, text] : kBase) {
                w.typeText(*(w.*control), text);
            }
            for (const PanelEntry& e : mode.example) {
                w.typeText(*(w.*e.control), e.text);
            }
        });
        program.dispatch(w, "RefreshBtn_Click");
        if (w.StatusBar->text != std::string("Running ") + mode.text()) {
            if (failures++ == 0) {
                std::printf("  first failure: %s shows '%s'\n", mode.text(),
                            w.StatusBar->text.c_str());
            }
        }
        ui.messages.clear();
        meter.afterOperation(i + 1);
    }
    return meter.report(count, failures);
}

bool soakScopeTicks(long count) {
    HeadlessUi ui;
    RasterCanvas picture;
    Wiring wiring({.simulate = true, .fast = true, .installDir = installationFolder()}, ui,
                  &picture);
    Program& program = wiring.program();
    program.start();
    frmMain& g = program.generator();
    g.Frek->text = "1";
    g.Vpp->text = "4";
    program.dispatch(g, "RefreshBtn_Click");
    Form1& m = program.monitor();
    // Each scope mode in turn with a trigger its trace crosses: CH1's (CH2 sits below the
    // trigger level at its position, so Scope CH2 runs free).
    const std::pair<const char*, const char*> modes[] = {
        {"Scope CH1+CH2", "Normal"}, {"Scope CH1", "Normal"}, {"Scope CH2", "Free-running"}};
    Meter meter("scope ticks");
    long failures = 0;
    for (long i = 0; i < count; ++i) {
        if (i % kTicksPerScopeMode == 0) {
            const auto& [mode, trigger] = modes[(i / kTicksPerScopeMode) % 3];
            program.dispatch([&] {
                m.choose(*m.selmonmode, mode);
                m.choose(*m.trigmode, trigger);
                m.choose(*m.trigsource, "CH1");
            });
            program.dispatch(m, "cmdstartsweep_Click");
        }
        program.tick();
        if (m.textstatus->text != "Running") {
            if (failures++ == 0) {
                std::printf("  first failure: tick %ld shows '%s'\n", i,
                            m.textstatus->text.c_str());
            }
        }
        ui.messages.clear();
        meter.afterOperation(i + 1);
    }
    return meter.report(count, failures);
}

long countArgument(int argc, char** argv, int index) {
    return argc > index ? std::strtol(argv[index], nullptr, 10) : 100000;
}

}  // namespace
}  // namespace tunx

int main(int argc, char** argv) {
    const long refreshes = tunx::countArgument(argc, argv, 1);
    const long ticks = tunx::countArgument(argc, argv, 2);
    const bool refreshesOk = tunx::soakRefreshes(refreshes);
    const bool ticksOk = tunx::soakScopeTicks(ticks);
    std::printf("%s\n", refreshesOk && ticksOk ? "soak passed" : "soak FAILED");
    return refreshesOk && ticksOk ? 0 : 1;
}
