// The fault matrix: every start-up path, every mode's Refresh, RUN and STOP, and the monitor's
// set-ups and ticks, each run once for every frame k it sends with each fault of the instrument
// (3 NAKs, 3 unanswered frames, 1 failed write) starting at that frame. In every case the program
// must say what failed, never look successful afterwards, and work again at the next try.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "generator/OutputMode.h"
#include "generator/RunStop.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

constexpr const char* kDeviceLost = "Error finding TUNX3K device. Aborting application.";
// Between two RAM words tested with a failed write, so many are left out: every word takes the
// same path, and the frames around the block are all tested.
constexpr int kRamWordStride = 97;

// A fault of the instrument: `count` frames (or writes) starting after the k-th one.
struct Fault {
    void (sim::VirtualInstrument::*inject)(int, int);
    const char* name;
    int count;
    bool countsFrames;  // NAKs and silence count frames only; a failed write counts every write
};

constexpr Fault kFaults[] = {{&sim::VirtualInstrument::nakNext, "nak", 3, true},
                             {&sim::VirtualInstrument::muteNext, "mute", 3, true},
                             {&sim::VirtualInstrument::failWritesNext, "write-error", 1, false}};

enum class Side { Startup, Generator, Monitor };

// One row of the matrix: what comes before (never faulted), the part whose frames are faulted,
// and how the next try is made and judged.
struct Scenario {
    std::string name;
    Side side;
    std::function<void(Rig&)> before;
    std::function<void(Rig&)> step;
    // A trigger that was not taken leaves the output armed as it was: the configuration is in
    // the instrument, and the next press tries again.
    bool keepsArmedLook = false;
    // A Refresh: the status it shows when it fails ("Error <mode>").
    std::string failedStatus = {};
    friend void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }
};

frmMain& gen(Rig& rig) {
    return rig.program.generator();
}
Form1& mon(Rig& rig) {
    return rig.program.monitor();
}

// Chooses or types a text in a control of a window, as the user would.
template <typename W, typename Controls>
void choose(Rig& rig, W& w, Ctl Controls::*control, std::string_view text) {
    rig.program.dispatch([&] { w.choose(*(w.*control), std::string(text)); });
}
void type(Rig& rig, Ctl frmMainControls::*control, const std::string& text) {
    frmMain& w = gen(rig);
    rig.program.dispatch([&] { w.typeText(*(w.*control), text); });
}

void ticks(Rig& rig, int n) {
    for (int i = 0; i < n; ++i) {
        rig.program.tick();
    }
}

using C = frmMainControls;

void setUpMode(Rig& rig, const OutputMode& mode) {
    choose(rig, gen(rig), &C::ModeSelect, mode.text());
    for (const PanelEntry& e : mode.example) {
        type(rig, e.control, e.text);
    }
}

// A mode's name as part of a test name: its letters and digits.
std::string idOf(std::string id) {
    std::erase_if(id, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return id;
}

std::vector<Scenario> scenarios() {
    std::vector<Scenario> out;
    const auto start = [](Rig& rig) { rig.program.start(); };
    const auto none = [](Rig&) {};
    // Start-up paths with frames to fault (without a calibration file the monitor refuses its
    // ranges and nothing is sent; without a device, or when it cannot be opened, nothing
    // either).
    out.push_back({"StartupOneDevice", Side::Startup, none, start});
    out.push_back({"StartupForeignDeviceFirst", Side::Startup,
                   [](Rig& rig) {
                       rig.sim.setDevices({"other-0001", sim::kDefaultSerial});
                   },
                   start});
    out.push_back({"StartupBaudRateRefused", Side::Startup,
                   [](Rig& rig) { rig.sim.failBaudRate(5); }, start});
    // Every mode's Refresh, RUN and STOP; RUN and STOP after a Refresh that worked.
    for (const OutputMode* mode : outputModes()) {
        const std::string id = idOf(mode->text());
        const auto ready = [mode](Rig& rig) {
            rig.program.start();
            setUpMode(rig, *mode);
        };
        const auto running = [ready](Rig& rig) {
            ready(rig);
            rig.program.dispatch(gen(rig), "RefreshBtn_Click");
        };
        out.push_back({id + "Refresh", Side::Generator, ready,
                       [](Rig& rig) { rig.program.dispatch(gen(rig), "RefreshBtn_Click"); }, false,
                       std::string("Error ") + mode->text()});
        out.push_back({id + "Run", Side::Generator, running,
                       [](Rig& rig) { rig.program.dispatch(gen(rig), "RUN_Click"); }});
        out.push_back({id + "Stop", Side::Generator, running,
                       [](Rig& rig) { rig.program.dispatch(gen(rig), "STOP_Click"); }});
    }
    // Single-shot output: RUN fires the trigger of an armed pulse.
    out.push_back({"PulseSingleShotRun", Side::Generator,
                   [](Rig& rig) {
                       rig.program.start();
                       setUpMode(rig, *outputModeOf("Pulse Generator"));
                       choose(rig, gen(rig), &C::outmode, "Single");
                       rig.program.dispatch(gen(rig), "RefreshBtn_Click");
                   },
                   [](Rig& rig) { rig.program.dispatch(gen(rig), "RUN_Click"); }, true});
    // The monitor: START and ticks in each scope mode, the counter, the sweeps, on a 1 kHz sine
    // of 4 Vpp on both inputs (4 divisions, across the trigger level). CH2 sits lower on the
    // screen than the trigger level: it runs free.
    struct MonitorCase {
        const char *name, *mode;
        std::string_view trigger, converter;
        const char* timeBase;
        int ticks;  // after START
    };
    for (const MonitorCase& c : {
             MonitorCase{"ScopeCH1Normal8Bit", "Scope CH1", trigger::kNormal, adc::k8Bit, "1ms/div",
                         4},
             {"ScopeCH1FreeRunning12Bit", "Scope CH1", trigger::kFreeRunning, adc::k12Bit,
              "1ms/div", 4},
             {"ScopeCH2FreeRunning8Bit", "Scope CH2", trigger::kFreeRunning, adc::k8Bit, "1ms/div",
              4},
             {"ScopeCH2FreeRunning12Bit", "Scope CH2", trigger::kFreeRunning, adc::k12Bit,
              "1ms/div", 4},
             {"ScopeCH1CH2Normal8Bit", "Scope CH1+CH2", trigger::kNormal, adc::k8Bit, "1ms/div", 4},
             {"ScopeCH1CH2FreeRunning12Bit", "Scope CH1+CH2", trigger::kFreeRunning, adc::k12Bit,
              "1ms/div", 4},
             {"ScopeCH1SingleShot", "Scope CH1", trigger::kSingle, adc::k8Bit, "1ms/div", 3},
             {"ScopeCH1SlowTimeBase", "Scope CH1", trigger::kFreeRunning, adc::k12Bit, "500ms/div",
              4},
             {"FrequencyCounter", "Frequency Counter", trigger::kNormal, adc::k8Bit, "1ms/div", 3},
             {"FrequencySweep", "Frequency Sweep", trigger::kNormal, adc::k8Bit, "1ms/div", 6},
             {"AmplitudeSweep", "Amplitude Sweep", trigger::kNormal, adc::k8Bit, "1ms/div", 6},
         }) {
        const auto ready = [c](Rig& rig) {
            rig.wiring.recordingCanvas().setLines(true);
            rig.program.start();
            type(rig, &C::Frek, "1");
            type(rig, &C::Vpp, "4");
            rig.program.dispatch(gen(rig), "RefreshBtn_Click");
            choose(rig, mon(rig), &Form1Controls::selmonmode, c.mode);
            choose(rig, mon(rig), &Form1Controls::trigmode, c.trigger);
            choose(rig, mon(rig), &Form1Controls::adcselect, c.converter);
            choose(rig, mon(rig), &Form1Controls::seltimediv, c.timeBase);
        };
        out.push_back({c.name, Side::Monitor, ready, [n = c.ticks](Rig& rig) {
                           rig.program.dispatch(mon(rig), "cmdstartsweep_Click");
                           ticks(rig, n);
                       }});
    }
    return out;
}

// The writes of a step, in order: whether each was a command frame (8 bytes).
std::vector<bool> writesOf(const Rig& rig, std::size_t from) {
    std::vector<bool> frames;
    for (const std::string& line : rig.lines(from)) {
        if (line.starts_with("write ")) {
            const auto bytes = std::count(line.begin(), line.end(), ' ');
            frames.push_back(bytes == 8 || (bytes == 10 && line.find(" -> ") != std::string::npos));
        }
    }
    return frames;
}

// The fault positions k to try: every frame for NAKs and silence (they count frames only);
// for a failed write every frame's write and a sample of the RAM words between.
std::vector<int> positions(const Fault& f, const std::vector<bool>& writes) {
    std::vector<int> out;
    if (f.countsFrames) {
        const auto frames = std::count(writes.begin(), writes.end(), true);
        for (int k = 0; k < frames; ++k) {
            out.push_back(k);
        }
        return out;
    }
    int word = 0;
    for (int k = 0; k < static_cast<int>(writes.size()); ++k) {
        const bool lastWord =
            !writes[static_cast<std::size_t>(k)] &&
            (k + 1 == static_cast<int>(writes.size()) || writes[static_cast<std::size_t>(k) + 1]);
        if (writes[static_cast<std::size_t>(k)] || word++ % kRamWordStride == 0 || lastWord) {
            out.push_back(k);
        }
    }
    return out;
}

// Whether the monitor measured since `from`: a trace or sweep line drawn, or the counter's
// samples read whole.
bool measuredSince(const Rig& rig, std::size_t from) {
    for (const std::string& line : rig.lines(from)) {
        if (line.starts_with("line ") ||
            (line.starts_with("read 2016 -> ") && line.find("timeout") == std::string::npos)) {
            return true;
        }
    }
    return false;
}

bool generatorLooksRunning(frmMain& w) {
    return w.StatusBar->text.starts_with(runstop::kRunning) ||
           w.RUN->text == runstop::kRunningCaption || w.RUN->text == runstop::kTriggerCaption ||
           w.RUN->back == colour::kGreen;
}

bool isCommFailure(const std::string& message) {
    return message.ends_with("Comm timed out") || message.ends_with("CommError");
}

// What one case did wrong; empty when it behaved.
std::vector<std::string> judge(Rig& rig, const Scenario& sc, const Fault& f, int failuresBefore,
                               std::size_t messagesBefore, bool lastTickMeasured) {
    std::vector<std::string> wrong;
    const std::vector<std::string> all = rig.messages();
    const std::vector<std::string> shown(all.begin() + static_cast<long>(messagesBefore),
                                         all.end());
    const bool failedCommand = rig.link().failures() != failuresBefore;
    if (failedCommand && std::none_of(shown.begin(), shown.end(), isCommFailure)) {
        wrong.push_back("a command failed without its step's message");
    }
    for (const std::string& m : shown) {
        if (m.starts_with("Unexpected error")) {
            wrong.push_back("showed '" + m + "'");
        }
    }
    if (rig.program.ended()) {
        if (shown.empty() || shown.back() != kDeviceLost) {
            wrong.push_back("ended without the lost device's message");
        }
        return wrong;
    }
    const bool failed = failedCommand || rig.s().gen.sgerror;
    if (sc.side == Side::Monitor) {
        // Running only with a fresh picture or reading: what the last tick measured.
        if (mon(rig).textstatus->text == status::kRunning && !lastTickMeasured) {
            wrong.push_back("monitor shows Running but its last tick measured nothing");
        }
        return wrong;
    }
    frmMain& w = gen(rig);
    if (sc.keepsArmedLook && w.RUN->text == runstop::kTriggerCaption &&
        std::find(shown.begin(), shown.end(), runstop::kRunError) != shown.end()) {
        return wrong;
    }
    if (failed && generatorLooksRunning(w)) {
        wrong.push_back("generator looks running after a failure: status '" + w.StatusBar->text +
                        "', RUN '" + w.RUN->text + "'");
    }
    if (sc.side == Side::Generator && failedCommand && !rig.s().gen.sgerror) {
        wrong.push_back("a command failed but sgerror is not set");
    }
    if (failed && w.StatusBar->text == runstop::kStopped) {
        wrong.push_back("status Stopped after a failed command");
    }
    // A failed Refresh, whichever command failed, ends in the failure state with the output
    // closed (a refused command changes nothing in the instrument).
    if (failed && !sc.failedStatus.empty() &&
        (w.StatusBar->text != sc.failedStatus || !w.RUN->text.empty() ||
         w.RUN->back != colour::kActiveBorder ||
         (f.inject == &sim::VirtualInstrument::nakNext && !rig.sim.model().outputClosed))) {
        wrong.push_back("a failed Refresh is not in the failure state with the output closed");
    }
    return wrong;
}

// What the monitor shows while its measurement works: a single acquisition stops once its
// record is shown.
std::string monitorWorking(Rig& rig) {
    const bool single = mon(rig).trigmode->text == trigger::kSingle;
    const std::optional<MonitorMode> mode = monitorMode(mon(rig).selmonmode->text);
    return std::string(single && mode && isScope(*mode) ? status::kStopped : status::kRunning);
}

// The next try without a fault works: a Refresh for the generator's side (also after a
// start-up that kept the device), START and ticks for the monitor.
std::vector<std::string> retry(Rig& rig, const Scenario& sc) {
    std::vector<std::string> wrong;
    if (rig.program.ended()) {
        return wrong;
    }
    for (const Fault& f : kFaults) {
        (rig.sim.*f.inject)(0, 0);
    }
    if (sc.side == Side::Monitor) {
        rig.program.dispatch(mon(rig), "cmdstartsweep_Click");
        ticks(rig, 3);
        const std::string status = mon(rig).textstatus->text;
        if (status != monitorWorking(rig)) {
            wrong.push_back("the next START shows '" + status + "'");
        }
        if (rig.s().gen.sgerror) {
            wrong.push_back("the next START ends in an error");
        }
        return wrong;
    }
    if (!rig.s().link.devconnected) {
        return wrong;  // a start-up that found no device has nothing to refresh
    }
    if (sc.side == Side::Startup) {
        type(rig, &C::Vpp, "1");  // the panel starts with no amplitude
    }
    rig.program.dispatch(gen(rig), "RefreshBtn_Click");
    frmMain& w = gen(rig);
    if (!w.StatusBar->text.starts_with(runstop::kRunning) || rig.s().gen.sgerror) {
        wrong.push_back("the next Refresh shows '" + w.StatusBar->text + "'");
    }
    return wrong;
}

// The fault-free run of a scenario (on `rig`, or on a fresh one): its writes.
std::vector<bool> dryRun(const Scenario& sc, Rig& rig) {
    sc.before(rig);
    const std::size_t from = rig.mark();
    sc.step(rig);
    return writesOf(rig, from);
}
std::vector<bool> dryRun(const Scenario& sc) {
    Rig rig;
    return dryRun(sc, rig);
}

// The size of the whole matrix, so that it cannot shrink unnoticed.
TEST(FaultMatrixSize, CountsTheCasesOfEveryScenario) {
    std::size_t cases = 0;
    const std::vector<Scenario> all = scenarios();
    for (const Scenario& sc : all) {
        const std::vector<bool> writes = dryRun(sc);
        for (const Fault& f : kFaults) {
            cases += positions(f, writes).size();
        }
    }
    std::printf("fault matrix: %zu cases in %zu scenarios\n", cases, all.size());
    EXPECT_GE(all.size(), 45U);
    EXPECT_GE(cases, 2500U);
}

class FaultMatrix : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultMatrix, EveryFrameEveryFault) {
    const Scenario& sc = GetParam();
    // The step without faults: its writes, and that it works.
    std::vector<bool> writes;
    {
        Rig rig;
        writes = dryRun(sc, rig);
        ASSERT_EQ(writes, dryRun(sc)) << sc.name << ": the same steps send the same frames";
        ASSERT_FALSE(rig.program.ended()) << sc.name;
        ASSERT_FALSE(rig.s().gen.sgerror) << sc.name << ": fails without a fault";
        ASSERT_EQ(rig.link().failures(), 0) << sc.name;
        if (sc.side == Side::Generator) {
            const std::string status = gen(rig).StatusBar->text;
            ASSERT_TRUE(status.starts_with(runstop::kRunning) || status == runstop::kStopped)
                << sc.name << ": " << status << " " << ::testing::PrintToString(rig.messages());
        } else if (sc.side == Side::Monitor) {
            ASSERT_EQ(mon(rig).textstatus->text, monitorWorking(rig)) << sc.name;
        }
    }
    int cases = 0;
    for (const Fault& f : kFaults) {
        for (const int k : positions(f, writes)) {
            Rig rig;
            sc.before(rig);
            const int failuresBefore = rig.link().failures();
            const std::size_t messagesBefore = rig.messages().size();
            (rig.sim.*f.inject)(f.count, k);
            sc.step(rig);
            bool measured = false;
            if (sc.side == Side::Monitor) {
                ticks(rig, 1);  // the failure shows at the tick after it
                const std::size_t lastTick = rig.mark();
                ticks(rig, 1);
                measured = measuredSince(rig, lastTick);
            }
            std::vector<std::string> wrong =
                judge(rig, sc, f, failuresBefore, messagesBefore, measured);
            for (std::string& w : retry(rig, sc)) {
                wrong.push_back(std::move(w));
            }
            ++cases;
            for (const std::string& w : wrong) {
                ADD_FAILURE() << sc.name << ", " << f.name << " " << f.count << " after " << k
                              << ": " << w;
            }
        }
    }
    ASSERT_GT(cases, 0);
    std::printf("fault matrix %s: %zu writes, %d cases\n", sc.name.c_str(), writes.size(), cases);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(scenarios()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tunx::test
