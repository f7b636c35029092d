#include "app/NoDisplay.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace tunx::app {

namespace {

constexpr const char* kNoDisplay =
    "tunx4k: cannot show its windows: there is no display to show them on (DISPLAY and "
    "WAYLAND_DISPLAY name none that answers). Start it on a desktop, or over ssh with X "
    "forwarding (ssh -X); QT_QPA_PLATFORM=offscreen runs it without showing the windows.\n";
// Qt's fatal message when no platform plugin could be started.
constexpr const char* kQtNoPlatform = "platform plugin";

bool namesPlatform(const QStringList& arguments) {
    for (const QString& a : arguments) {
        if (a == QStringLiteral("-platform") || a == QStringLiteral("--platform") ||
            a.startsWith(QStringLiteral("-platform=")) ||
            a.startsWith(QStringLiteral("--platform="))) {
            return true;
        }
    }
    return false;
}

void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg && message.contains(QLatin1String(kQtNoPlatform))) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(kNoDisplayStatus);
    }
    const QByteArray text = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
    if (type == QtFatalMsg) {
        std::abort();
    }
}

}  // namespace

std::string noDisplayText() {
    return kNoDisplay;
}

std::optional<std::string> missingDisplay(const QStringList& arguments) {
    if (namesPlatform(arguments) || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return std::nullopt;
    }
    return noDisplayText();
}

DisplayFailureGuard::DisplayFailureGuard() {
    qInstallMessageHandler(&onQtMessage);
}

DisplayFailureGuard::~DisplayFailureGuard() {
    qInstallMessageHandler(nullptr);
}

}  // namespace tunx::app
