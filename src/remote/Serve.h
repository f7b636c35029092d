#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ports/UsbApi.h"
#include "remote/Server.h"

namespace tunx::remote {

// How `tunx4k-cli --serve` runs.
struct ServeOptions {
    Endpoint at;
    bool simulate = false;
    UsbApi* device = nullptr;  // without `simulate`; none: no device is ever attached
    // Instructions for the virtual instrument's bench, each split into words ("wire CH1 dut").
    std::vector<std::vector<std::string>> bench;
    std::ostream* transcript = nullptr;  // everything that crossed the ports, when given
    std::string installDir;
    std::string userDataDir;  // where calibration files are looked up first
    std::string serial;       // the instrument to open; "" for the first attached
    char groupSeparator = ',';
    ServerLimits limits;
};

enum ServeStatus { kServed = 0, kCannotServe = 2, kProgramEnded = 3 };

// Runs the program without windows on the real clock, with the monitor's 10 ms timer, and
// serves it to one client at a time until SIGTERM or SIGINT, SYSTem:EXIT, or the program ends
// itself. `say` is told the address it serves on, once listening ("serving on 127.0.0.1:5025"),
// and why it cannot serve.
int serve(const ServeOptions& options, const std::function<void(const std::string&)>& say);

}  // namespace tunx::remote
