// tunx4k: the TUNX4K control program's windows.
#include <QApplication>
#include <QStringList>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/CommandLine.h"
#include "app/DialogFolder.h"
#include "app/GuiScript.h"
#include "app/NoDisplay.h"
#include "common/LineReader.h"
#include "common/SafeSave.h"
#include "platform/Host.h"
#include "usb/Transport.h"

namespace {

constexpr int kBadCommandLine = 2;

int refuse(const std::string& why) {
    std::cerr << "tunx4k: " << why << "\nTry 'tunx4k --help' for the options.\n";
    return kBadCommandLine;
}

// The lines of a --script file; nullopt (with the reason) when it cannot be read as one.
std::optional<std::vector<std::string>> readScript(const std::string& path, std::string& why) {
    tunx::LineReader reader(path);
    if (!reader.isOpen()) {
        const std::string unreadable = tunx::unreadableFileText(path, reader.kind());
        why = unreadable.empty() ? "cannot read the script " + path : unreadable;
        return std::nullopt;
    }
    std::vector<std::string> lines;
    while (auto line = reader.next()) {
        if (reader.lastEnd() == tunx::LineReader::LineEnd::Cut) {
            why = "the script " + path + " has a line longer than " +
                  std::to_string(tunx::LineReader::kMaxLine) + " characters";
            return std::nullopt;
        }
        lines.push_back(std::move(*line));
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is read before the window system starts: --help and --version need no
    // display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const tunx::app::AppCommandLine line = tunx::app::parseAppCommandLine(arguments);
    switch (line.action) {
        case tunx::app::AppCommandLine::Action::Help:
        case tunx::app::AppCommandLine::Action::Version:
            std::cout << line.text;
            return 0;
        case tunx::app::AppCommandLine::Action::Refused:
            return refuse(line.text);
        case tunx::app::AppCommandLine::Action::Run:
            break;
    }
    std::vector<std::string> script;
    if (!line.scriptPath.empty()) {
        std::string why;
        auto lines = readScript(line.scriptPath, why);
        if (!lines) {
            return refuse(why);
        }
        script = std::move(*lines);
    }
    std::ofstream transcript;
    if (!line.transcriptPath.empty()) {
        if (!line.scriptPath.empty() && tunx::writesOver(line.transcriptPath, line.scriptPath)) {
            return refuse("the transcript " + line.transcriptPath + " would overwrite the script");
        }
        transcript.open(line.transcriptPath, std::ios::binary);
        if (!transcript) {
            return refuse("cannot write " + line.transcriptPath);
        }
    }
    if (const std::optional<std::string> why = tunx::app::missingDisplay(arguments)) {
        std::cerr << *why;
        return tunx::app::kNoDisplayStatus;
    }
    std::optional<tunx::app::DisplayFailureGuard> displayGuard(std::in_place);
    QApplication application(argc, argv);
    displayGuard.reset();
    QCoreApplication::setOrganizationName(QString::fromLatin1(tunx::app::kSettingsOrganization));
    QCoreApplication::setApplicationName(tunx::app::settingsApplication(line.serial));
    const bool simulate = line.simulate;
    const auto& instructions = line.instructions;
    const tunx::usb::UsbId usbId = line.usbId;

    const std::unique_ptr<tunx::UsbApi> device =
        simulate
            ? nullptr
            : tunx::usb::makeUsbTransport(
                  usbId, [](const std::string& why) { std::cerr << "tunx4k: " << why << "\n"; },
                  tunx::installationFolder());
    tunx::app::App app({.simulate = simulate,
                        .device = device.get(),
                        .record = transcript.is_open(),
                        .transcriptOut = transcript.is_open() ? &transcript : nullptr,
                        .installDir = tunx::installationFolder(),
                        .userDataDir = tunx::userDataFolder(),
                        .serial = line.serial,
                        .groupSeparator = tunx::groupSeparatorOf("")},
                       // A script plays the same from the program's own start-up each time.
                       line.scriptPath.empty());
    for (const auto& words : instructions) {
        if (const std::optional<std::string> error = app.wiring().instrument().instruct(words)) {
            return refuse("--sim: " + *error);
        }
    }
    if (line.remote) {
        std::string why;
        if (!app.listenRemote(*line.remote, why)) {
            std::cerr << "tunx4k: --remote: " << why << "\n";  // a port in use, as a rule
            return kBadCommandLine;
        }
        std::cerr << "tunx4k: serving on " << app.remoteWhere() << std::endl;
    }
    app.start();
    tunx::app::GuiScript player(app, std::move(script));
    player.play();
    return QApplication::exec();
}
