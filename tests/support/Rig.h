#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "generator/frmMain.h"
#include "ports/HeadlessUi.h"
#include "wiring/Wiring.h"

namespace tunx::test {

// The program against the virtual instrument with the virtual clock, every port recorded.
struct Rig {
    Rig() : Rig(std::vector<std::string>{sim::kDefaultSerial}) {}
    explicit Rig(std::vector<std::string> serials);

    // The generator window's first activation; true when the device was opened.
    bool start();
    // Runs a generator handler as a user event would; false when the program ended itself.
    bool run(const std::string& handlerName);

    frmMain& w() { return program.generator(); }
    SharedState& s() { return program.state(); }
    Link& link() { return program.generator().link(); }

    // Transcript lines from index `from` on.
    std::vector<std::string> lines(std::size_t from = 0) const;
    std::size_t mark() const { return transcript.lines().size(); }
    // The six command bytes of every 8-byte frame written since `from`.
    std::vector<std::array<int, 6>> frames(std::size_t from = 0) const;
    // The 4-byte raw writes since `from`.
    std::vector<std::array<int, 4>> words(std::size_t from = 0) const;
    // The read time-out in force when each 8-byte frame since `from` was written.
    std::vector<int> timeouts(std::size_t from = 0) const;
    // The sum of the pauses since `from`.
    long long sleptMs(std::size_t from = 0) const;
    std::vector<std::string> messages() const { return ui.texts(); }

    HeadlessUi ui;
    Wiring wiring;
    VirtualClock& clock;
    sim::VirtualInstrument& sim;
    Transcript& transcript;
    Program& program;
};

// Writes `content` to a fresh file in the test's temporary folder; returns its path.
std::string writeTempFile(const std::string& name, const std::string& content);

// The whole content of a file ("" when it cannot be read).
std::string readFile(const std::string& path);

// The built tunx4k-cli run with `args` (a shell command line): its status and both outputs.
struct CliRun {
    int status;
    std::string out, err;
};
CliRun runCli(const std::string& args);

// Paths that name something other than a readable text file, each with the message that names
// it: a folder, a device without line breaks, a file far larger than any text file of the program.
std::vector<std::pair<std::string, std::string>> unreadablePaths();

// The command bytes as a frame list entry, for readable expectations.
using Frame = std::array<int, 6>;

}  // namespace tunx::test

namespace tunx {
// A run state in a test's report, by the program's name for it.
inline void PrintTo(RunState state, std::ostream* out) {
    *out << nameOf(state);
}
}  // namespace tunx
