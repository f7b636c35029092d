// tunx4k: the TUNX4K control program's windows.
#include <QApplication>
#include <QStringList>
#include <iostream>
#include <memory>

#include "app/App.h"
#include "platform/Host.h"
#include "usb/Transport.h"

namespace {

constexpr const char* kUsage =
    "usage: tunx4k [--simulate] [--usb-id VID:PID]\n"
    "  --simulate  run on the built-in virtual instrument instead of a USB device\n"
    "  --usb-id    vendor and product id of the instrument's USB bridge, in hexadecimal\n"
    "              (default 10c4:ea61)\n";
constexpr int kBadCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bool simulate = false;
    tunx::usb::UsbId usbId;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--simulate")) {
            simulate = true;
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
                        .installDir = tunx::installationFolder(),
                        .groupSeparator = tunx::groupSeparatorOf("")});
    app.start();
    return QApplication::exec();
}
