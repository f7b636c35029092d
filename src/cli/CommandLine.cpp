#include "cli/CommandLine.h"

#include <charconv>

#include "common/Version.h"

namespace tunx::cli {

namespace {

constexpr const char* kProgram = "tunx4k-cli";
constexpr const char* kUsage =
    "Usage: tunx4k-cli [OPTION]... SCRIPT\n"
    "  or:  tunx4k-cli [OPTION]... --serve [ADDRESS:]PORT\n"
    "  or:  tunx4k-cli --list [--simulate] [--usb-id VID:PID]\n"
    "  or:  tunx4k-cli --help | --version\n"
    "Runs the TUNX4K program's windows headless, driven by SCRIPT (a file, or - for standard\n"
    "input), and writes the transcript of everything that crossed its ports. With --serve it\n"
    "serves the program to a remote-control client (SCPI over TCP) on the real clock instead,\n"
    "until SIGTERM, SIGINT or SYSTem:EXIT.\n"
    "\n"
    "Options:\n"
    "  --simulate        use the built-in virtual instrument instead of the USB device\n"
    "  --fast            record pauses in the transcript without waiting for them (not\n"
    "                    with --serve)\n"
    "  --locale NAME     locale for the digit grouping of numbers shown (en_US: 1,500,000)\n"
    "  --out FILE        write the transcript to FILE instead of standard output\n"
    "  --serial SERIAL   open the instrument with that serial number (default: the first\n"
    "                    attached)\n"
    "  --list            print the attached instruments' serial numbers, one a line\n"
    "  --usb-id VID:PID  vendor and product id of the instrument's USB bridge, in hexadecimal\n"
    "                    (default 10c4:ea61)\n"
    "  --serve [ADDRESS:]PORT  serve SCPI on a raw TCP socket (address 127.0.0.1 unless given;\n"
    "                    another address lets other machines control the instrument)\n"
    "  --sim INSTRUCTION  an instruction for the virtual instrument's bench, as a script's\n"
    "                    sim line without \"sim\" (with --serve)\n"
    "  --idle-timeout SECONDS  drop a client that sends nothing for that long (with --serve;\n"
    "                    default 600)\n"
    "  -h, --help        print this text\n"
    "  --version         print the version\n"
    "\n"
    "Script lines: set, choose, check, click, menu, answer, reply, tick, tab, mouse, show, state,\n"
    "look, expect, mark, lines on|off, picture, and sim (devices S1 S2 ..., nak N [after K],\n"
    "mute N [after K], write-error N [after K], fail devices|open|baud STATUS, show, and the\n"
    "bench: wire, dut, signal, noise, seed, offset, cut).\n"
    "\n"
    "Exit status: 0 ran to the end (or listed), 1 an expect failed, 2 a bad command line or\n"
    "script line, 3 the program ended itself (or the devices could not be listed).\n";

constexpr int kMaxIdleSeconds = 24 * 60 * 60;

std::vector<std::string> wordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) {
                words.push_back(std::move(word));
                word.clear();
            }
        } else {
            word += c;
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<int> secondsOf(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 1 ||
        value > kMaxIdleSeconds) {
        return std::nullopt;
    }
    return value;
}

CommandLine refused(std::string why) {
    CommandLine line;
    line.action = CommandLine::Action::Refused;
    line.why = std::move(why);
    return line;
}

}  // namespace

std::string usageText() {
    return kUsage;
}

std::string versionText() {
    return std::string(kProgram) + " " + kVersion + "\n";
}

CommandLine parseCommandLine(std::span<const std::string_view> arguments) {
    for (const std::string_view arg : arguments) {
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            CommandLine line;
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (arg == "--version") {
            CommandLine line;
            line.action = CommandLine::Action::Version;
            return line;
        }
    }
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view arg = arguments[i];
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (option && arg == "--simulate") {
            line.simulate = true;
        } else if (option && arg == "--fast") {
            line.fast = true;
        } else if (option && arg == "--list") {
            line.action = CommandLine::Action::List;
        } else if (option &&
                   (arg == "--locale" || arg == "--out" || arg == "--usb-id" || arg == "--serial" ||
                    arg == "--serve" || arg == "--sim" || arg == "--idle-timeout")) {
            if (i + 1 >= arguments.size()) {
                return refused(std::string(arg) + " needs a value");
            }
            const std::string_view value = arguments[++i];
            if (arg == "--usb-id") {
                const auto id = usb::parseUsbId(value);
                if (!id) {
                    return refused(
                        "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not " +
                        std::string(value));
                }
                line.usbId = *id;
            } else if (value.empty()) {
                return refused(std::string(arg) + " needs a value");
            } else if (arg == "--serve") {
                line.serveAt = value;
            } else if (arg == "--sim") {
                line.bench.push_back(wordsOf(value));
            } else if (arg == "--idle-timeout") {
                const std::optional<int> seconds = secondsOf(value);
                if (!seconds) {
                    return refused("--idle-timeout needs a whole number of seconds, not " +
                                   std::string(value));
                }
                line.idleSeconds = seconds;
            } else {
                (arg == "--locale" ? line.locale
                 : arg == "--out"  ? line.outPath
                                   : line.serial) = value;
            }
        } else if (option) {
            return refused("unknown option " + std::string(arg));
        } else if (line.scriptPath.empty() && !arg.empty()) {
            line.scriptPath = arg;
        } else if (arg.empty()) {
            return refused("an empty script name");
        } else {
            return refused("more than one script given");
        }
    }
    if (!line.serveAt.empty()) {
        if (line.action == CommandLine::Action::List) {
            return refused("--list and --serve cannot be used together");
        }
        if (!line.scriptPath.empty()) {
            return refused("--serve takes no script");
        }
        if (line.fast) {
            return refused("--serve runs on the real clock: --fast cannot be used with it");
        }
        if (!line.bench.empty() && !line.simulate) {
            return refused("--sim needs --simulate");
        }
        return line;
    }
    if (!line.bench.empty() || line.idleSeconds) {
        return refused(std::string(line.bench.empty() ? "--idle-timeout" : "--sim") +
                       " needs --serve");
    }
    if (line.action == CommandLine::Action::List) {
        return line.scriptPath.empty() ? line : refused("--list takes no script");
    }
    if (line.scriptPath.empty()) {
        return refused("no script given");
    }
    return line;
}

}  // namespace tunx::cli
