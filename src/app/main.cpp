// tunx4k: the TUNX4K control program's windows.
#include <QApplication>
#include <QStringList>
#include <iostream>

#include "app/App.h"
#include "platform/Host.h"

namespace {

constexpr const char* kUsage =
    "usage: tunx4k [--simulate]\n"
    "  --simulate  run on the built-in virtual instrument instead of a USB device\n";
constexpr int kBadCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bool simulate = false;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--simulate")) {
            simulate = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "tunx4k: unknown argument " << arg.toStdString() << "\n" << kUsage;
            return kBadCommandLine;
        }
    }

    tunx::app::App app({.simulate = simulate,
                        .installDir = tunx::installationFolder(),
                        .groupSeparator = tunx::groupSeparatorOf("")});
    app.start();
    return QApplication::exec();
}
