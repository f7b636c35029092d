#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "usb/UsbId.h"

namespace tunx::cli {

// What the command line of tunx4k-cli asks for.
struct CommandLine {
    // List: the attached instruments' serial numbers, one a line (no script).
    enum class Action { Run, List, Help, Version, Refused };
    Action action = Action::Run;
    bool simulate = false;
    bool fast = false;
    std::string locale;      // "" for the system's
    std::string outPath;     // "" for standard output
    std::string scriptPath;  // a file, or "-" for standard input
    std::string serial;      // the instrument to open; "" for the first attached
    usb::UsbId usbId;
    // --serve: where the remote control listens ("[ADDRESS:]PORT"); empty runs a script.
    std::string serveAt;
    // --sim: instructions for the virtual instrument's bench, each split into words.
    std::vector<std::vector<std::string>> bench;
    // --idle-timeout: seconds after which a quiet client is dropped; none for the default.
    std::optional<int> idleSeconds;
    std::string why;  // why it was refused
};

// The usage text that --help prints.
std::string usageText();
// The version line that --version prints.
std::string versionText();

// Reads the arguments after the program's name. --help and --version win over everything
// else; an unknown option, a missing or bad value, a second script or none (a script beside
// --list) is refused, with the reason in `why`. "-" alone is a script (standard input); "--"
// ends the options. --serve takes no script and refuses --fast and --list; --sim needs --serve
// and --simulate.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

}  // namespace tunx::cli
