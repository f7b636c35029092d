#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Script.h"
#include "ports/UsbApi.h"

namespace tunx::cli {

struct Options {
    bool simulate = false;
    bool fast = false;
    char groupSeparator = ',';
    std::string installDir;
    // The transport without `simulate`; none: no device is ever attached.
    UsbApi* device = nullptr;
    std::string userDataDir{};  // where calibration files are looked up first; "" for nowhere
    std::string serial{};       // the instrument to open; "" for the first attached
};

enum ExitStatus { kRanToEnd = 0, kExpectFailed = 1, kBadScript = 2, kProgramEnded = 3 };

// Runs a parsed script against the program and writes the transcript to `out`.
// Script lines that name unknown controls raise ScriptError. Failed `expect` lines are
// reported on `diagnostics` (when given) once the script has ended.
int runScript(const std::vector<ScriptLine>& script, const Options& options, std::ostream& out,
              std::ostream* diagnostics = nullptr);

}  // namespace tunx::cli
