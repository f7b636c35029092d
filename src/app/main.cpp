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
#include "app/GuiScript.h"
#include "platform/Host.h"
#include "usb/Transport.h"

namespace {

constexpr const char* kUsage =
    "usage: tunx4k [--simulate] [--sim INSTRUCTION]... [--usb-id VID:PID] [--transcript FILE]\n"
    "              [--script FILE]\n"
    "  --simulate        run on the built-in virtual instrument instead of a USB device\n"
    "  --sim INSTRUCTION an instruction for the virtual instrument, as the script line\n"
    "                    without the word sim: --sim \"wire CH1 dut\" --sim \"dut lowpass 1M\"\n"
    "  --usb-id VID:PID  vendor and product id of the instrument's USB bridge, in hexadecimal\n"
    "                    (default 10c4:ea61)\n"
    "  --transcript FILE writes everything that crosses the program's ports to FILE, in\n"
    "                    tunx4k-cli's transcript lines\n"
    "  --script FILE     plays a script on the windows once they show (demonstrations and\n"
    "                    screenshots): tunx4k-cli's user actions, wait MS, shot FILE, quit\n";
constexpr int kBadCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bool simulate = false;
    std::vector<std::vector<std::string>> instructions;
    std::vector<std::string> script;
    std::ofstream transcript;
    tunx::usb::UsbId usbId;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--simulate")) {
            simulate = true;
        } else if (arg == QLatin1String("--sim") && i + 1 < arguments.size()) {
            std::vector<std::string> words;
            for (const QString& word : arguments[++i].split(u' ', Qt::SkipEmptyParts)) {
                words.push_back(word.toStdString());
            }
            instructions.push_back(std::move(words));
        } else if (arg == QLatin1String("--transcript") && i + 1 < arguments.size()) {
            transcript.open(arguments[++i].toStdString(), std::ios::binary);
            if (!transcript) {
                std::cerr << "tunx4k: cannot write " << arguments[i].toStdString() << "\n";
                return kBadCommandLine;
            }
        } else if (arg == QLatin1String("--script") && i + 1 < arguments.size()) {
            std::ifstream file(arguments[++i].toStdString());
            if (!file) {
                std::cerr << "tunx4k: cannot read the script " << arguments[i].toStdString()
                          << "\n";
                return kBadCommandLine;
            }
            for (std::string line; std::getline(file, line);) {
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                script.push_back(line);
            }
        } else if (arg == QLatin1String("--usb-id")) {
            const auto id = i + 1 < arguments.size()
                                ? tunx::usb::parseUsbId(arguments[++i].toStdString())
                                : std::nullopt;
            if (!id) {
                std::cerr << "tunx4k: --usb-id needs VID:PID in hexadecimal\n" << kUsage;
                return kBadCommandLine;
            }
            usbId = *id;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "tunx4k: unknown argument " << arg.toStdString() << "\n" << kUsage;
            return kBadCommandLine;
        }
    }

    const std::unique_ptr<tunx::UsbApi> device =
        simulate ? nullptr : tunx::usb::makeUsbTransport(usbId, [](const std::string& why) {
            std::cerr << "tunx4k: " << why << "\n";
        });
    tunx::app::App app({.simulate = simulate,
                        .device = device.get(),
                        .record = transcript.is_open(),
                        .transcriptOut = transcript.is_open() ? &transcript : nullptr,
                        .installDir = tunx::installationFolder(),
                        .groupSeparator = tunx::groupSeparatorOf("")});
    for (const auto& words : instructions) {
        if (const std::optional<std::string> error = app.wiring().instrument().instruct(words)) {
            std::cerr << "tunx4k: --sim: " << *error << "\n";
            return kBadCommandLine;
        }
    }
    app.start();
    tunx::app::GuiScript player(app, std::move(script));
    player.play();
    return QApplication::exec();
}
