#pragma once

#include <string>
#include <vector>

#include "remote/Engine.h"
#include "remote/QueueUi.h"
#include "wiring/Wiring.h"

namespace tunx::test {

// The program on the virtual instrument with the virtual clock, every port recorded, served
// through the remote control's engine with a direct call; the program has started.
struct RemoteRig {
    RemoteRig();

    // Hands the engine a line and lets it work; what it sends back.
    std::string send(const std::string& line);
    // The answer of a query line, without its line end.
    std::string query(const std::string& line);
    // The error queue, emptied: "number,text" entries in order.
    std::vector<std::string> errors();
    // Runs the monitor's timer n times, then lets the engine go on; what it sends back.
    std::string ticks(int n);
    // Transcript lines from `from` on.
    std::vector<std::string> lines(std::size_t from = 0);
    std::size_t mark() { return wiring.transcript().lines().size(); }

    remote::RemoteState state;
    remote::QueueUi ui;
    Wiring wiring;
    Program& program;
    remote::Engine engine;
};

// The samples of a definite-length block of little-endian 32-bit floats; fails the test when
// the block is malformed.
std::vector<float> floatsOfBlock(const std::string& block);

}  // namespace tunx::test
