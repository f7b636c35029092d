// tunx4k-cli: runs the program's windows headless, driven by a script, and prints the
// transcript of everything that crossed its ports.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "cli/Runner.h"
#include "cli/Script.h"
#include "common/LineReader.h"
#include "platform/Host.h"
#include "usb/Transport.h"

namespace {

constexpr const char* kUsage =
    "usage: tunx4k-cli [--simulate] [--fast] [--locale NAME] [--out FILE] [--usb-id VID:PID] "
    "SCRIPT\n"
    "  SCRIPT is a script file, or - for standard input.\n"
    "  --usb-id  vendor and product id of the instrument's USB bridge, in hexadecimal\n"
    "            (default 10c4:ea61)\n"
    "Script lines: set, choose, check, click, menu, answer, tick, show, state, look,\n"
    "expect, mark, lines on|off, and sim (devices S1 S2 ..., nak N [after K], mute N [after K],\n"
    "write-error N [after K], fail devices|open|baud STATUS, show).\n";

int badCommandLine(const std::string& why) {
    std::cerr << "tunx4k-cli: " << why << "\n" << kUsage;
    return tunx::cli::kBadScript;
}

}  // namespace

int main(int argc, char** argv) {
    tunx::cli::Options options;
    std::string locale;
    std::string outPath;
    std::string scriptPath;
    tunx::usb::UsbId usbId;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--simulate") {
            options.simulate = true;
        } else if (arg == "--fast") {
            options.fast = true;
        } else if (arg == "--locale" || arg == "--out" || arg == "--usb-id") {
            if (i + 1 >= argc) {
                return badCommandLine(arg + " needs a value");
            }
            const std::string value = argv[++i];
            if (arg == "--usb-id") {
                const auto id = tunx::usb::parseUsbId(value);
                if (!id) {
                    return badCommandLine("--usb-id needs VID:PID in hexadecimal, not " + value);
                }
                usbId = *id;
            } else {
                (arg == "--locale" ? locale : outPath) = value;
            }
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return badCommandLine("unknown option " + arg);
        } else if (scriptPath.empty()) {
            scriptPath = arg;
        } else {
            return badCommandLine("more than one script given");
        }
    }
    if (scriptPath.empty()) {
        return badCommandLine("no script given");
    }
    options.groupSeparator = tunx::groupSeparatorOf(locale);
    options.installDir = tunx::installationFolder();

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
        outFile.open(outPath, std::ios::binary);
        if (!outFile) {
            return badCommandLine("cannot write " + outPath);
        }
        out = &outFile;
    }
    std::unique_ptr<tunx::UsbApi> device;
    if (!options.simulate) {
        device = tunx::usb::makeUsbTransport(
            usbId, [](const std::string& why) { std::cerr << "tunx4k-cli: " << why << "\n"; });
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
