#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "remote/Server.h"
#include "usb/UsbId.h"

namespace tunx::app {

// What the command line of tunx4k asks for.
struct AppCommandLine {
    enum class Action { Run, Help, Version, Refused };
    Action action = Action::Run;
    bool simulate = false;
    // The virtual instrument's instructions of the --sim options, each split into words.
    std::vector<std::vector<std::string>> instructions;
    usb::UsbId usbId;
    std::string transcriptPath;  // "" for none
    std::string scriptPath;      // "" for none
    std::string serial;          // the instrument to open; "" for the first attached
    // Where the remote control listens beside the windows; none without --remote.
    std::optional<remote::Endpoint> remote;
    // The help or version text to print, or why the command line was refused.
    std::string text;
};

// Reads the program's arguments (the first is the program's name) with Qt's command-line
// parser, before any window system starts, so that --help and --version also answer where
// there is no display. Qt's own options (-platform NAME, -style NAME, ...) are let through for
// the application to take.
AppCommandLine parseAppCommandLine(const QStringList& arguments);

}  // namespace tunx::app
