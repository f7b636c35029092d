#include "fuzz/Entries.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string_view>
#include <vector>

#include "cli/Actions.h"
#include "cli/Script.h"
#include "dds/Calibration.h"
#include "dds/Profile.h"
#include "generator/RunStop.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx::fuzz {

namespace {

constexpr std::string_view kUnexpectedError = "Unexpected error: ";
constexpr std::string_view kInstallFolderMark = "@SHARE@";
constexpr const char* kRefresh = "RefreshBtn_Click";
constexpr const char* kArbitrary = "Arbitrary";
constexpr int kMaxTicksPerLine = 20;
constexpr std::array kProfileTargets = {kTargetVoltage, kTargetFreq, kTargetPhase};
constexpr std::array<std::int32_t, 2> kRamClocks = {5'000'000, 400'000'000};

// The input as a file that the reader opens by its name, removed again afterwards.
class ScratchFile {
  public:
    explicit ScratchFile(std::span<const std::uint8_t> data) {
        namespace fs = std::filesystem;
        const fs::path dir =
            fs::temp_directory_path() / ("tunx4k-fuzz-" + std::to_string(::getpid()));
        std::error_code ec;
        fs::create_directories(dir, ec);
        path_ = (dir / "input.txt").string();
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()),
                  static_cast<std::streamsize>(data.size()));
    }
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A headless program on the virtual instrument with the virtual clock.
struct Session {
    explicit Session(const std::string& installDir)
        : wiring({.simulate = true, .fast = true, .installDir = installDir}, ui),
          program(wiring.program()),
          w(program.generator()) {}

    HeadlessUi ui;
    Wiring wiring;
    Program& program;
    frmMain& w;
};

// A message the program shows only for a fault that no procedure expects.
Finding unexpectedMessage(const HeadlessUi& ui) {
    for (const HeadlessUi::Message& m : ui.messages) {
        if (m.text.starts_with(kUnexpectedError)) {
            return "unexpected failure: " + m.text;
        }
    }
    return std::nullopt;
}

bool statusRunning(const frmMain& w) {
    return w.StatusBar->text.starts_with(runstop::kRunning);
}

bool runButtonLit(const frmMain& w) {
    return w.RUN->text == runstop::kRunningCaption || w.RUN->text == runstop::kTriggerCaption;
}

// Runs a Refresh and checks what the program reports afterwards: a failed command, a raised
// failure flag or an ended program never come with the running look, and the status bar and
// the RUN button never contradict each other.
Finding refreshChecked(Session& s) {
    Link& link = s.program.link();
    const int failuresBefore = link.failures();
    s.program.dispatch(s.w, kRefresh);
    if (Finding f = unexpectedMessage(s.ui)) {
        return f;
    }
    if (s.program.ended()) {
        return std::nullopt;  // nothing is shown any more
    }
    const bool failed = link.failures() != failuresBefore || s.program.state().gen.sgerror;
    const std::string look = "status '" + s.w.StatusBar->text + "', RUN '" + s.w.RUN->text + "'";
    if (failed && (statusRunning(s.w) || runButtonLit(s.w))) {
        return "success reported after a failed refresh: " + look;
    }
    if (statusRunning(s.w) != runButtonLit(s.w)) {
        return "status bar and RUN button disagree: " + look;
    }
    return std::nullopt;
}

// A sine of 1 kHz and 4 Vpp, which every part of the program can work with: the generator's
// first refresh, the scope's trigger level, the sweep's detector.
void enterSine(Session& s) {
    s.program.dispatch([&] {
        s.w.typeText(*s.w.Frek, "1");
        s.w.typeText(*s.w.Vpp, "4");
    });
}

// Calls `body`; an exception other than the program's own run-time error is a finding.
template <typename Body>
Finding guarded(Body&& body) {
    try {
        return body();
    } catch (const RuntimeError&) {
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string("exception escaped: ") + e.what();
    }
}

// The number of line ends in the data, as the reader counts them (CR LF counts once).
int lineCount(std::span<const std::uint8_t> data) {
    int lines = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\n' || (data[i] == '\r' && (i + 1 == data.size() || data[i + 1] != '\n'))) {
            ++lines;
        }
    }
    return lines + (data.empty() || data.back() == '\n' || data.back() == '\r' ? 0 : 1);
}

Finding profilePoints(const std::string& path, int count) {
    return guarded([&]() -> Finding {
        const std::vector<std::int32_t> points = readProfilePoints(path, count);
        if (static_cast<int>(points.size()) != count) {
            return "asked for " + std::to_string(count) + " points, got " +
                   std::to_string(points.size());
        }
        const Calibration cal;
        for (const std::int32_t point : points) {
            for (const char* target : kProfileTargets) {
                for (const std::int32_t ramclk : kRamClocks) {
                    try {
                        profileWord(arbTarget(target), point, cal, ramclk);
                    } catch (const RuntimeError&) {
                        // a point outside what the conversion takes: refused
                    }
                }
            }
        }
        return std::nullopt;
    });
}

}  // namespace

Finding calibrationFile(std::span<const std::uint8_t> data, const std::string& installDir) {
    const ScratchFile file(data);
    Session s(installDir);
    s.program.start();
    const std::size_t before = s.ui.messages.size();
    s.w.tcali->text = file.path();
    s.program.dispatch(s.w, "Calibrate_Click");
    const Calibration& cal = s.program.state().cal;
    const bool complete = s.ui.messages.size() == before;
    if (!complete && s.ui.messages.back().text != kMsgCalibrationError) {
        return "a refused calibration file ends with '" + s.ui.messages.back().text + "'";
    }
    if (!(cal.clkcorr >= 0.5 && cal.clkcorr <= 2.0) || !(cal.ampfullscale > 0) ||
        !std::isfinite(cal.ampfullscale) || !(cal.adcref > 0) || !std::isfinite(cal.adcref)) {
        return "calibration values kept that the arithmetic cannot use";
    }
    // The values at work: a refresh, the scope's set-up and a record, a sweep point.
    enterSine(s);
    if (Finding f = refreshChecked(s)) {
        return f;
    }
    Form1& m = s.program.monitor();
    for (const char* mode : {"Scope CH1+CH2", "Frequency Sweep"}) {
        s.program.dispatch([&] { m.choose(*m.selmonmode, mode); });
        s.program.dispatch(m, "cmdstartsweep_Click");
        for (int i = 0; i < 3; ++i) {
            s.program.tick();
        }
        s.program.dispatch(m, "cmdstop_Click");
    }
    return unexpectedMessage(s.ui);
}

Finding profileFile(std::span<const std::uint8_t> data, const std::string& installDir) {
    const ScratchFile file(data);
    const int points = std::clamp(lineCount(data) - kProfileHeaderLines, 1, kMaxProfilePoints);
    for (const int count : {1, points, kMaxProfilePoints}) {
        if (Finding f = profilePoints(file.path(), count)) {
            return f;
        }
    }
    // The profile loaded by a refresh, once for each thing the RAM drives.
    Session s(installDir);
    s.program.start();
    s.program.dispatch([&] { s.w.choose(*s.w.ModeSelect, kArbitrary); });
    const std::string last = std::to_string(std::min(points, 1024));
    for (const char* target : kProfileTargets) {
        s.program.dispatch([&] {
            s.w.choose(*s.w.arbit, target);
            s.w.typeText(*s.w.flocation, file.path());
            s.w.typeText(*s.w.startpt1, "1");
            s.w.typeText(*s.w.endpt1, last);
        });
        if (Finding f = refreshChecked(s)) {
            return f;
        }
    }
    return std::nullopt;
}

Finding configFile(std::span<const std::uint8_t> data, const std::string& installDir) {
    // The corpus names the installation folder's profile and calibration by a mark.
    std::string text(data.begin(), data.end());
    for (auto at = text.find(kInstallFolderMark); at != std::string::npos;
         at = text.find(kInstallFolderMark, at + installDir.size())) {
        text.replace(at, kInstallFolderMark.size(), installDir);
    }
    const ScratchFile file(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    Session s(installDir);
    s.program.start();
    // A refresh that worked first, so that a stale running look would show.
    enterSine(s);
    if (Finding f = refreshChecked(s)) {
        return f;
    }
    if (!statusRunning(s.w)) {
        return "the refresh before the load failed: " + s.w.StatusBar->text;
    }
    s.ui.answers.push_back(file.path());
    s.program.dispatch(s.w, "MenuBar_LoadCfg_Click");
    if (Finding f = unexpectedMessage(s.ui)) {
        return f;
    }
    return refreshChecked(s);
}

Finding script(std::span<const std::uint8_t> data, const std::string& installDir) {
    std::istringstream in(std::string(data.begin(), data.end()));
    std::vector<cli::ScriptLine> lines;
    try {
        lines = cli::parseScript(in);
    } catch (const cli::ScriptError&) {
        return std::nullopt;  // refused with the line's number
    } catch (const std::exception& e) {
        return std::string("parser failed: ") + e.what();
    }
    // What would write files or answer dialogs is left out: the fuzzer chooses the paths.
    const std::set<std::string> skipped = {"answer", "menu", "picture", "export"};
    Session s(installDir);
    sim::VirtualInstrument& sim = s.wiring.instrument();
    bool started = false;
    return guarded([&]() -> Finding {
        for (cli::ScriptLine line : lines) {
            if (s.program.ended()) {
                break;
            }
            if (line.keyword == "sim") {
                const auto& w = line.words;
                if (w[0] == "show") {
                    sim.describe();
                } else {
                    sim.instruct(w);  // an instruction it refuses changes nothing
                }
                continue;
            }
            if (!started) {
                started = true;
                s.program.start();
            }
            if (skipped.count(line.keyword) != 0) {
                continue;
            }
            if (line.keyword == "tick") {
                line.text = std::to_string(std::min(std::stoi(line.text), kMaxTicksPerLine));
            }
            try {
                cli::performAction(s.program, line);
            } catch (const cli::ScriptError&) {
                // a name that no window has, as the runner would say
            }
        }
        sim.describe();
        return unexpectedMessage(s.ui);
    });
}

}  // namespace tunx::fuzz
