#include "app/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "common/Version.h"

namespace tunx::app {

namespace {

constexpr const char* kProgram = "tunx4k";
constexpr const char* kUsageLine = "Usage: tunx4k [options]";
constexpr const char* kDescription =
    "The TUNX4K control program: the function generator and monitor windows of the "
    "instrument.";
constexpr const char* kTrailer =
    "\nExit status: 0 when the windows were closed, 2 for a bad command line, a --script\n"
    "line that cannot be done, a --remote port that cannot be listened on, or no\n"
    "display to show the windows on.\n";

// Options of Qt's applications that take a value; the application takes them from the
// arguments itself.
constexpr const char* kQtValueOptions[] = {
    "platform",        "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon",        "qwindowtitle",  "display",
    "style",           "stylesheet",         "geometry",      "title",
    "session",         "widgetcount"};
constexpr const char* kQtFlagOptions[] = {"reverse", "nograb", "dograb", "sync"};

AppCommandLine answer(AppCommandLine::Action action, const QString& text) {
    AppCommandLine line;
    line.action = action;
    line.text = text.toStdString();
    return line;
}

}  // namespace

AppCommandLine parseAppCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Prints this text."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Prints the version."));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Runs on the built-in virtual instrument instead of a USB device."));
    const QCommandLineOption sim(
        QStringLiteral("sim"),
        QStringLiteral("An instruction for the virtual instrument, as tunx4k-cli's script line "
                       "without the word sim: --sim \"wire CH1 dut\" --sim \"dut lowpass 1M\". "
                       "Repeatable."),
        QStringLiteral("INSTRUCTION"));
    const QCommandLineOption usbId(
        QStringLiteral("usb-id"),
        QStringLiteral("Vendor and product id of the instrument's USB bridge, in hexadecimal "
                       "(default 10c4:ea61)."),
        QStringLiteral("VID:PID"));
    const QCommandLineOption serial(
        QStringLiteral("serial"),
        QStringLiteral("Opens the instrument with that serial number (tunx4k-cli --list names "
                       "the attached ones); without it, the first attached. Its settings are its "
                       "own."),
        QStringLiteral("SERIAL"));
    const QCommandLineOption transcript(
        QStringLiteral("transcript"),
        QStringLiteral("Writes everything that crosses the program's ports to FILE, in "
                       "tunx4k-cli's transcript lines."),
        QStringLiteral("FILE"));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Plays a script on the windows once they show (demonstrations and "
                       "screenshots): tunx4k-cli's user actions, wait MS, shot FILE, quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption remote(
        QStringLiteral("remote"),
        QStringLiteral("Serves the program to a remote-control client (SCPI on a raw TCP socket, "
                       "as tunx4k-cli --serve) while the windows run; the windows show what it "
                       "changes. The address is 127.0.0.1 unless given; another address lets "
                       "other machines control the instrument. Port 0 takes a free port."),
        QStringLiteral("[ADDRESS:]PORT"));
    parser.addOptions({help, version, simulate, sim, serial, usbId, transcript, script, remote});
    for (const char* name : kQtValueOptions) {
        QCommandLineOption qt(QString::fromLatin1(name), QString(), QStringLiteral("VALUE"));
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption qt(QString::fromLatin1(name), QString());
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }

    const bool parsed = parser.parse(arguments);
    // Help and version answer even beside a mistake, as a user who asks for them expects.
    if (parser.isSet(help)) {
        // The usage line names the program, whatever name it was started by.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'), QString::fromLatin1(kUsageLine));
        return answer(AppCommandLine::Action::Help, text + QString::fromLatin1(kTrailer));
    }
    if (parser.isSet(version)) {
        return answer(AppCommandLine::Action::Version,
                      QString::fromLatin1(kProgram) + u' ' + QString::fromLatin1(kVersion) + u'\n');
    }
    if (!parsed) {
        return answer(AppCommandLine::Action::Refused, parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return answer(AppCommandLine::Action::Refused,
                      QStringLiteral("Unexpected argument '%1'.")
                          .arg(parser.positionalArguments().constFirst()));
    }
    AppCommandLine line;
    line.simulate = parser.isSet(simulate);
    for (const QString& instruction : parser.values(sim)) {
        std::vector<std::string> words;
        for (const QString& word : instruction.split(u' ', Qt::SkipEmptyParts)) {
            words.push_back(word.toStdString());
        }
        line.instructions.push_back(std::move(words));
    }
    if (parser.isSet(usbId)) {
        const auto id = usb::parseUsbId(parser.value(usbId).toStdString());
        if (!id) {
            return answer(
                AppCommandLine::Action::Refused,
                QStringLiteral(
                    "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not '%1'.")
                    .arg(parser.value(usbId)));
        }
        line.usbId = *id;
    }
    line.serial = parser.value(serial).toStdString();
    if (parser.isSet(serial) && line.serial.empty()) {
        return answer(AppCommandLine::Action::Refused,
                      QStringLiteral("--serial needs a serial number."));
    }
    line.transcriptPath = parser.value(transcript).toStdString();
    line.scriptPath = parser.value(script).toStdString();
    if (parser.isSet(transcript) && line.transcriptPath.empty()) {
        return answer(AppCommandLine::Action::Refused,
                      QStringLiteral("--transcript needs a file name."));
    }
    if (parser.isSet(script) && line.scriptPath.empty()) {
        return answer(AppCommandLine::Action::Refused,
                      QStringLiteral("--script needs a file name."));
    }
    if (parser.isSet(remote)) {
        std::string why;
        line.remote = remote::parseEndpoint(parser.value(remote).toStdString(), why);
        if (!line.remote) {
            return answer(AppCommandLine::Action::Refused,
                          QStringLiteral("--remote: ") + QString::fromStdString(why));
        }
    }
    return line;
}

}  // namespace tunx::app
