#include "support/Rig.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace tunx::test {

namespace {
std::vector<int> numbersAfter(const std::string& line, const std::string& keyword) {
    std::vector<int> out;
    std::istringstream in(line.substr(keyword.size()));
    for (std::string word; in >> word;) {
        if (word == "->") {
            break;
        }
        out.push_back(std::stoi(word));
    }
    return out;
}
}  // namespace

Rig::Rig(std::vector<std::string> serials)
    : wiring({.simulate = true, .fast = true, .record = true, .installDir = TUNX_SHARE_DIR}, ui),
      clock(wiring.virtualClock()),
      sim(wiring.instrument()),
      transcript(wiring.transcript()),
      program(wiring.program()) {
    sim.setDevices(std::move(serials));
}

bool Rig::start() {
    program.start();
    return !program.ended() && s().link.devconnected;
}

bool Rig::run(const std::string& handlerName) {
    program.dispatch(w(), handlerName);
    return !program.ended();
}

std::vector<std::string> Rig::lines(std::size_t from) const {
    const auto& all = transcript.lines();
    return {all.begin() + static_cast<long>(std::min(from, all.size())), all.end()};
}

std::vector<std::array<int, 6>> Rig::frames(std::size_t from) const {
    std::vector<std::array<int, 6>> out;
    for (const std::string& l : lines(from)) {
        if (l.rfind("write ", 0) == 0) {
            const auto n = numbersAfter(l, "write ");
            if (n.size() == 8) {
                out.push_back({n[1], n[2], n[3], n[4], n[5], n[6]});
            }
        }
    }
    return out;
}

std::vector<std::array<int, 4>> Rig::words(std::size_t from) const {
    std::vector<std::array<int, 4>> out;
    for (const std::string& l : lines(from)) {
        if (l.rfind("write ", 0) == 0) {
            const auto n = numbersAfter(l, "write ");
            if (n.size() == 4) {
                out.push_back({n[0], n[1], n[2], n[3]});
            }
        }
    }
    return out;
}

std::vector<int> Rig::timeouts(std::size_t from) const {
    std::vector<int> out;
    int current = -1;
    for (const std::string& l : lines(from)) {
        if (l.rfind("timeouts ", 0) == 0) {
            current = std::stoi(l.substr(9));
        } else if (l.rfind("write ", 0) == 0 && numbersAfter(l, "write ").size() == 8) {
            out.push_back(current);
        }
    }
    return out;
}

long long Rig::sleptMs(std::size_t from) const {
    long long total = 0;
    for (const std::string& l : lines(from)) {
        if (l.rfind("sleep ", 0) == 0) {
            total += std::stoll(l.substr(6));
        }
    }
    return total;
}

std::string writeTempFile(const std::string& name, const std::string& content) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("tunx4k-tests-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = dir / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return path.string();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

CliRun runCli(const std::string& args) {
    const std::string out =
        writeTempFile("cli-" + std::to_string(std::hash<std::string>{}(args)) + ".out", "");
    // The user's data folder is one that cannot hold files (not even for root), so that no
    // calibration file of the user who runs the tests takes the installed one's place.
    std::string command = "XDG_DATA_HOME=/dev/null/tunx4k-tests ";
    command += TUNX_CLI;
    command += " " + args + " > '" + out + "' 2> '" + out + ".err'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(out + ".err")};
}

std::vector<std::pair<std::string, std::string>> unreadablePaths() {
    const auto dir = std::filesystem::path(writeTempFile("unreadable-big.txt", "")).parent_path();
    const std::string folder = (dir / "unreadable-folder").string();
    const std::string big = (dir / "unreadable-big.txt").string();
    std::filesystem::create_directories(folder);
    std::filesystem::resize_file(big, 16 * 1024 * 1024 + 1);  // one byte over the limit
    return {{folder, folder + " is a folder, not a readable file"},
            {"/dev/zero", "/dev/zero is not a readable file"},
            {big, big + " is not a readable file: it is larger than 16 MB"}};
}

}  // namespace tunx::test
