// The command line of tunx4k: the options it takes, what it refuses, and the program's own
// answers to --help, --version and a bad option, without a display.
#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include "app/CommandLine.h"
#include "app/DialogFolder.h"
#include "app/NoDisplay.h"
#include "common/Version.h"

using namespace tunx;
using Action = app::AppCommandLine::Action;

class CommandLineTest : public QObject {
    Q_OBJECT

    static app::AppCommandLine parse(const QStringList& args) {
        return app::parseAppCommandLine(QStringList{"tunx4k"} + args);
    }

  private slots:
    void takesEveryOption() {
        const auto line =
            parse({"--simulate", "--sim", "wire CH1 dut", "--sim", " dut  lowpass 1M ", "--usb-id",
                   "10c4:ea60", "--transcript", "t.txt", "--script", "s.txt", "--serial",
                   "tunx4k-B", "--remote", "[::1]:5026", "-platform", "offscreen"});
        QCOMPARE(line.action, Action::Run);
        QVERIFY(line.simulate);
        QCOMPARE(line.instructions.size(), std::size_t{2});
        QCOMPARE(line.instructions[0], (std::vector<std::string>{"wire", "CH1", "dut"}));
        QCOMPARE(line.instructions[1], (std::vector<std::string>{"dut", "lowpass", "1M"}));
        QVERIFY(line.usbId == (usb::UsbId{0x10C4, 0xEA60}));
        QCOMPARE(line.transcriptPath, std::string("t.txt"));
        QCOMPARE(line.scriptPath, std::string("s.txt"));
        QCOMPARE(line.serial, std::string("tunx4k-B"));
        QVERIFY(line.remote.has_value());
        QCOMPARE(line.remote->address, std::string("::1"));
        QCOMPARE(line.remote->port, std::uint16_t{5026});
        // Two instruments, two programs: each keeps its settings apart.
        QCOMPARE(app::settingsApplication("tunx4k-B"), QStringLiteral("tunx4k-B"));
        QCOMPARE(app::settingsApplication("../x y"), QStringLiteral("_._x_y"));
        QCOMPARE(app::settingsApplication(""), QStringLiteral("tunx4k"));

        const auto plain = parse({});
        QCOMPARE(plain.action, Action::Run);
        QVERIFY(!plain.simulate && plain.instructions.empty() && plain.scriptPath.empty());
        QVERIFY(!plain.remote);
        QVERIFY(plain.usbId == usb::UsbId{});
    }

    void answersOrRefuses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("text");
        const int help = int(Action::Help), version = int(Action::Version),
                  refused = int(Action::Refused);
        QTest::newRow("help") << QStringList{"--help"} << help << "Usage: tunx4k [options]";
        QTest::newRow("-h beside a mistake")
            << QStringList{"--bogus", "-h"} << help << "--simulate";
        QTest::newRow("version") << QStringList{"--version"} << version << "tunx4k 4.5\n";
        QTest::newRow("-v") << QStringList{"-v"} << version << "tunx4k ";
        QTest::newRow("unknown") << QStringList{"--bogus"} << refused << "Unknown option 'bogus'.";
        QTest::newRow("unknown short") << QStringList{"-x"} << refused << "Unknown option 'x'.";
        QTest::newRow("value missing")
            << QStringList{"--sim"} << refused << "Missing value after '--sim'.";
        QTest::newRow("argument") << QStringList{"--simulate", "extra"} << refused
                                  << "Unexpected argument 'extra'.";
        QTest::newRow("bad usb id")
            << QStringList{"--usb-id", "10c4"} << refused
            << "--usb-id needs VID:PID in hexadecimal, each from 1 to ffff, not '10c4'.";
        QTest::newRow("empty transcript")
            << QStringList{"--transcript", ""} << refused << "--transcript needs a file name.";
        QTest::newRow("empty serial")
            << QStringList{"--serial", ""} << refused << "--serial needs a serial number.";
        QTest::newRow("remote without a port")
            << QStringList{"--remote", "localhost:"} << refused << "--remote: not a port number: ";
        QTest::newRow("remote port too large")
            << QStringList{"--remote", "65536"} << refused << "--remote: not a port number: 65536";
        QTest::newRow("empty script")
            << QStringList{"--script", ""} << refused << "--script needs a file name.";
    }
    void answersOrRefuses() {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, text);
        const auto line = parse(args);
        QCOMPARE(int(line.action), action);
        QVERIFY2(QString::fromStdString(line.text).contains(text), line.text.c_str());
    }

    void helpNamesEveryOption() {
        const QString text = QString::fromStdString(parse({"--help"}).text);
        for (const char* option : {"--simulate", "--sim <INSTRUCTION>", "--usb-id <VID:PID>",
                                   "--transcript <FILE>", "--script <FILE>", "--serial <SERIAL>",
                                   "--remote <[ADDRESS:]PORT>", "--help", "--version"}) {
            QVERIFY2(text.contains(option), option);
        }
        QVERIFY(!text.contains("platform"));  // Qt's own options are not the program's
        QVERIFY(!text.contains("<executable_name>"));
    }

    // The program itself, with no display at all (or one that does not answer). Its own
    // message is on standard error.
    void theProgramAnswersWithoutADisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("display");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "--transcript <FILE>"
                              << ""
                              << "";
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QString("tunx4k %1\n").arg(kVersion) << ""
                                 << "";
        QTest::newRow("unknown") << QStringList{"--simulate", "--frobnicate"} << 2 << ""
                                 << "tunx4k: Unknown option 'frobnicate'.\n"
                                    "Try 'tunx4k --help' for the options.\n"
                                 << "";
        QTest::newRow("missing script") << QStringList{"--script", "/nonexistent/s.txt"} << 2 << ""
                                        << "tunx4k: cannot read the script /nonexistent/s.txt\n"
                                        << "";
        QTest::newRow("folder as script") << QStringList{"--script", "/"} << 2 << ""
                                          << "tunx4k: / is a folder, not a readable file\n"
                                          << "";
        QTest::newRow("unwritable transcript")
            << QStringList{"--transcript", "/nonexistent/dir/t.txt"} << 2 << ""
            << "tunx4k: cannot write /nonexistent/dir/t.txt\n"
            << "";
        const QString script = QDir::temp().filePath("tunx4k-app-self.txt");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("quit\n") == 5);
        file.close();
        QTest::newRow("transcript over its script")
            << QStringList{"--script", script, "--transcript", script} << 2 << ""
            << "tunx4k: the transcript " + script + " would overwrite the script\n"
            << "";
        const QString noDisplay = QString::fromStdString(app::noDisplayText());
        QTest::newRow("windows without a display")
            << QStringList{"--simulate"} << 2 << "" << noDisplay << "";
        QTest::newRow("a display that does not answer")
            << QStringList{"--simulate"} << 2 << "" << noDisplay << ":4095";
    }
    void theProgramAnswersWithoutADisplay() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, display);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        if (!display.isEmpty()) {
            env.insert("DISPLAY", display);
        }
        program.setProcessEnvironment(env);
        program.start(TUNX_APP, args);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.contains(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
