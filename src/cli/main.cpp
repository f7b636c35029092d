// tunx4k-cli: runs the program's windows headless, driven by a script, and prints the
// transcript of everything that crossed its ports.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Runner.h"
#include "cli/Script.h"
#include "common/LineReader.h"
#include "common/SafeSave.h"
#include "link/Instruments.h"
#include "platform/Host.h"
#include "ports/Clock.h"
#include "remote/Serve.h"
#include "sim/VirtualInstrument.h"
#include "usb/Transport.h"

namespace {

int badCommandLine(const std::string& why) {
    std::cerr << "tunx4k-cli: " << why << "\n"
              << "Try 'tunx4k-cli --help' for the options.\n";
    return tunx::cli::kBadScript;
}

void tellUser(const std::string& why) {
    std::cerr << "tunx4k-cli: " << why << "\n";
}

// --list: the attached instruments' serial numbers, one a line.
int listInstruments(tunx::UsbApi& usb) {
    int status = tunx::usb::kSuccess;
    const auto serials = tunx::attachedInstruments(usb, status);
    if (!serials) {
        tellUser("the USB devices cannot be listed (status " + std::to_string(status) + ")");
        return tunx::cli::kProgramEnded;
    }
    for (const std::string& serial : *serials) {
        std::cout << serial << "\n";
    }
    return tunx::cli::kRanToEnd;
}

// --serve: the program served to a remote-control client until it is told to stop.
int serve(const tunx::cli::CommandLine& line) {
    std::string why;
    const std::optional<tunx::remote::Endpoint> at = tunx::remote::parseEndpoint(line.serveAt, why);
    if (!at) {
        return badCommandLine("--serve: " + why);
    }
    tunx::remote::ServeOptions options{.at = *at,
                                       .simulate = line.simulate,
                                       .bench = line.bench,
                                       .installDir = tunx::installationFolder(),
                                       .userDataDir = tunx::userDataFolder(),
                                       .serial = line.serial,
                                       .groupSeparator = tunx::groupSeparatorOf(line.locale),
                                       .limits = {}};
    if (line.idleSeconds) {
        options.limits.idle = std::chrono::seconds(*line.idleSeconds);
    }
    std::ofstream transcript;
    if (!line.outPath.empty()) {
        transcript.open(line.outPath, std::ios::binary);
        if (!transcript) {
            return badCommandLine("cannot write " + line.outPath);
        }
        options.transcript = &transcript;
    }
    std::unique_ptr<tunx::UsbApi> device;
    if (!line.simulate) {
        device = tunx::usb::makeUsbTransport(line.usbId, tellUser, options.installDir);
        options.device = device.get();
    }
    const int status = tunx::remote::serve(
        options, [](const std::string& text) { std::cerr << "tunx4k-cli: " << text << std::endl; });
    if (transcript.is_open()) {
        transcript.close();
        if (transcript.fail()) {
            std::cerr << "tunx4k-cli: the transcript could not be written to " << line.outPath
                      << "\n";
            return tunx::cli::kBadScript;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + std::min(argc, 1), argv + argc);
    const tunx::cli::CommandLine line = tunx::cli::parseCommandLine(arguments);
    switch (line.action) {
        case tunx::cli::CommandLine::Action::Help:
            std::cout << tunx::cli::usageText();
            return 0;
        case tunx::cli::CommandLine::Action::Version:
            std::cout << tunx::cli::versionText();
            return 0;
        case tunx::cli::CommandLine::Action::Refused:
            return badCommandLine(line.why);
        case tunx::cli::CommandLine::Action::List:
            if (line.simulate) {
                tunx::VirtualClock clock;
                tunx::sim::VirtualInstrument instrument(clock);
                return listInstruments(instrument);
            }
            return listInstruments(
                *tunx::usb::makeUsbTransport(line.usbId, tellUser, tunx::installationFolder()));
        case tunx::cli::CommandLine::Action::Run:
            break;
    }
    if (!line.serveAt.empty()) {
        return serve(line);
    }
    tunx::cli::Options options;
    options.simulate = line.simulate;
    options.fast = line.fast;
    const std::string& locale = line.locale;
    const std::string& outPath = line.outPath;
    const std::string& scriptPath = line.scriptPath;
    const tunx::usb::UsbId usbId = line.usbId;
    options.groupSeparator = tunx::groupSeparatorOf(locale);
    options.installDir = tunx::installationFolder();
    options.userDataDir = tunx::userDataFolder();
    options.serial = line.serial;

    std::ifstream file;
    std::istream* in = &std::cin;
    if (scriptPath != "-") {
        // A pipe or a device may carry a script; a folder or a huge file does not.
        const tunx::FileKind kind = tunx::fileKind(scriptPath);
        if (kind == tunx::FileKind::Folder || kind == tunx::FileKind::TooLarge) {
            return badCommandLine("cannot read script: " +
                                  tunx::unreadableFileText(scriptPath, kind));
        }
        file.open(scriptPath, std::ios::binary);
        if (!file) {
            return badCommandLine("cannot read script " + scriptPath);
        }
        in = &file;
    }
    std::vector<tunx::cli::ScriptLine> script;
    try {
        script = tunx::cli::parseScript(*in);
    } catch (const tunx::cli::ScriptError& e) {
        std::cerr << "tunx4k-cli: " << e.what() << "\n";
        return tunx::cli::kBadScript;
    }

    std::ofstream outFile;
    std::ostream* out = &std::cout;
    if (!outPath.empty()) {
        if (scriptPath != "-" && tunx::writesOver(outPath, scriptPath)) {
            return badCommandLine("the transcript " + outPath + " would overwrite the script");
        }
        outFile.open(outPath, std::ios::binary);
        if (!outFile) {
            return badCommandLine("cannot write " + outPath);
        }
        out = &outFile;
    }
    std::unique_ptr<tunx::UsbApi> device;
    if (!options.simulate) {
        device = tunx::usb::makeUsbTransport(usbId, tellUser, options.installDir);
        options.device = device.get();
    }
    int status = tunx::cli::kBadScript;
    try {
        status = tunx::cli::runScript(script, options, *out, &std::cerr);
    } catch (const tunx::cli::ScriptError& e) {
        std::cerr << "tunx4k-cli: " << e.what() << "\n";
    }
    // A transcript that did not reach its file (a full disk) is a failed run.
    errno = 0;
    out->flush();
    if (outFile.is_open()) {
        outFile.close();
    }
    if (out->fail()) {
        const std::string why = errno != 0 ? std::string(": ") + std::strerror(errno) : "";
        std::cerr << "tunx4k-cli: the transcript could not be written to "
                  << (outPath.empty() ? std::string("standard output") : outPath) << why << "\n";
        return tunx::cli::kBadScript;
    }
    return status;
}
