// The remote control beside the windows (tunx4k --remote) on the offscreen platform: a client
// over a TCP socket and the user at the windows, on the virtual instrument.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>
#include <chrono>
#include <future>
#include <memory>
#include <string>

#include "OnScreen.h"
#include "app/App.h"
#include "generator/frmMain.h"

using namespace tunx;
using namespace tunx::app;

namespace {

// A client of the remote control: one line out, one line back.
class Client {
  public:
    explicit Client(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        ::inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
        const timeval patience{.tv_sec = 10, .tv_usec = 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    }
    ~Client() { ::close(fd_); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return connected_; }
    void send(const std::string& line) {
        const std::string out = line + "\n";
        ::send(fd_, out.data(), out.size(), MSG_NOSIGNAL);
    }
    // The answer without its line end; "" when none came within ten seconds or the server
    // closed the connection.
    std::string query(const std::string& line) {
        send(line);
        std::string answer;
        char c = 0;
        while (::recv(fd_, &c, 1, 0) == 1) {
            if (c == '\n') {
                return answer;
            }
            answer += c;
        }
        return {};
    }

  private:
    int fd_;
    bool connected_ = false;
};

// A client's query on a thread of its own while the window thread goes on with its events,
// as the windows do while a client talks.
std::string asClient(Client& client, const std::string& line) {
    auto answer = std::async(std::launch::async, [&] { return client.query(line); });
    while (answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        QTest::qWait(2);
    }
    return answer.get();
}

// Answers every message box and cancels every file dialog that shows on the screen, counting
// them.
class DialogCatcher {
  public:
    DialogCatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                ++shown;
                box->accept();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                ++shown;
                dialog->reject();
            }
        });
        timer_.start(5);
    }

    int shown = 0;

  private:
    QTimer timer_;
};

struct Fixture : OnScreen {
    bool start() {
        std::string why;
        if (!app.listenRemote({.address = "127.0.0.1", .port = 0}, why)) {
            qWarning("%s", why.c_str());
            return false;
        }
        app.start();
        return app.settle();
    }
    std::uint16_t port() const {
        const std::string where = app.remoteWhere();
        return static_cast<std::uint16_t>(std::stoi(where.substr(where.rfind(':') + 1)));
    }
};

std::string inQuotes(const std::string& text) {
    return '"' + text + '"';
}

}  // namespace

class RemoteAppTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        f_.reset();
        catcher_ = std::make_unique<DialogCatcher>();
        f_ = std::make_unique<Fixture>();
        QVERIFY(f_->start());
    }
    void cleanup() { f_.reset(); }

    // Both windows show what a client sets; the windows close while it is still connected.
    void theWindowsShowTheClientsSettings() {
        Client client(f_->port());
        QVERIFY(client.connected());
        QCOMPARE(asClient(client, "*IDN?").rfind("TUNX4K,TUNX4K,", 0), std::size_t{0});
        QCOMPARE(asClient(client, "SOUR:FREQ 2.5 kHz;FREQ?"), std::string("2500"));
        QTRY_COMPARE(f_->widget<QLineEdit>("Frek")->text(), QString("2.5"));
        QTRY_COMPARE(f_->widget<QComboBox>("frequnit")->currentText(), QString("kHz"));
        QCOMPARE(asClient(client, "MON:MODE DUAL;*OPC?"), std::string("1"));
        auto* mode = qobject_cast<QComboBox*>(f_->app.monitorView().widgetFor("selmonmode"));
        QVERIFY(mode != nullptr);
        QTRY_COMPARE(mode->currentText(), QString("Scope CH1+CH2"));
        f_.reset();
        QCOMPARE(client.query("*IDN?"), std::string());  // closed, not hanging
    }

    // A measurement a client starts opens the monitor window the user had closed, so that the
    // monitor's timer runs it to its end.
    void aClientsMeasurementOpensTheClosedMonitor() {
        f_->app.monitorView().close();
        QVERIFY(!f_->app.monitorTimerRunning());
        Client client(f_->port());
        QCOMPARE(asClient(client, "SOUR:VOLT 4;:OUTP ON;:MON:MODE CH1;:SING;*OPC?;:MEAS:VPP?"),
                 std::string("1;4"));
        QVERIFY(f_->app.monitorView().isVisible());
        QVERIFY(f_->app.monitorTimerRunning());
    }

    // The user's keystrokes and the client's commands run in the order they were given: the
    // client reads what the user typed before its question, and the user types on after the
    // text the client set.
    void theUserAndTheClientShareOneOrderedQueue() {
        Client client(f_->port());
        auto* frek = f_->widget<QLineEdit>("Frek");
        std::string expected = frek->text().toStdString();
        for (const char* key : {"2", "3", "4"}) {
            frek->end(false);
            QTest::keyClicks(frek, key);  // handed to the program; not waited for
            expected += key;
            QCOMPARE(asClient(client, "CONT:VAL? \"Frek\""), inQuotes(expected));
            expected += "0";
            QCOMPARE(asClient(client, "CONT:SET \"Frek\"," + inQuotes(expected) + ";*OPC?"),
                     std::string("1"));
            QTRY_COMPARE(frek->text().toStdString(), expected);
        }
        QCOMPARE(f_->modelText(f_->panel().Frek), expected);
    }

    // A client's command never opens a dialog on the user's screen: the program's message
    // reaches the client's error queue, a file dialog is cancelled, and only the user ends the
    // program.
    void aClientsMessagesGoToItsErrorQueue_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("error");
        QTest::newRow("message box")
            << "CONT:SET \"Vpp\",\"99\";:CONT:CLIC \"RefreshBtn\""
            << "-200,\"Amplitude range must be between 10 mV and 5000 mV\"";
        QTest::newRow("file dialog") << "CONT:CLIC \"MenuBar_SaveCfg\""
                                     << "0,\"No error\"";
        QTest::newRow("exit") << "SYST:EXIT"
                              << "-221,\"Settings conflict;the program ends from its windows\"";
    }
    void aClientsMessagesGoToItsErrorQueue() {
        QFETCH(QString, line);
        QFETCH(QString, error);
        Client client(f_->port());
        client.send(line.toStdString());
        QCOMPARE(QString::fromStdString(asClient(client, "SYST:ERR?")), error);
        QCOMPARE(catcher_->shown, 0);
        QVERIFY(!f_->app.ended());
        // The user's own mistake still shows its message on the screen.
        frmMain& panel = f_->panel();
        f_->app.post([&panel] {
            panel.Vpp->text = "99";
            panel.run("RefreshBtn_Click");
        });
        QVERIFY(f_->app.settle());
        QTRY_COMPARE(catcher_->shown, 1);
    }

    // A second program cannot serve on a port in use: it says so and shows no window.
    void aPortInUseIsRefused() {
        QProcess second;
        second.start(TUNX_APP, {"--simulate", "--remote", QString::number(f_->port()), "-platform",
                                "offscreen"});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 2);
        const QString err = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(err.contains(QString("tunx4k: --remote: cannot listen on 127.0.0.1:%1: Address "
                                      "already in use")
                                  .arg(f_->port())),
                 qPrintable(err));
    }

  private:
    std::unique_ptr<DialogCatcher> catcher_;
    std::unique_ptr<Fixture> f_;
};

QTEST_MAIN(RemoteAppTest)
#include "RemoteAppTest.moc"
