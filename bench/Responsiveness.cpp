// How the windows answer a user while the instrument works: 200 keystrokes and 20 clicks go into
// the generator window as real Qt input events, posted from a second thread at a typist's pace,
// while the monitor or the generator keeps the instrument busy on the real clock. Reports, per
// scenario, the time from a keystroke's arrival to the widget showing it (median and 99th
// percentile), the inputs lost, and the CPU the program used.
//
//   tunx4k_responsiveness [counter|scope|trigger|arbitrary|idle|scope-cpu|scope-avg-cpu ...]
//
// "counter": the frequency counter runs; "scope": "Scope CH1+CH2" at 1 ms/div; "trigger": a
// Normal-trigger scope waits for a trigger that never comes; "arbitrary": an Arbitrary refresh
// with its 1024 RAM words is under way; "idle": nothing runs. "scope-cpu" types nothing: it
// reports the CPU of 10 s of "Scope CH1+CH2" at 1 ms/div, "scope-avg-cpu" the same with
// "Average 16" and a 2 s persistence, and "idle-cpu" of 10 s of nothing.
// Without a display it runs on Qt's offscreen platform.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "app/App.h"
#include "platform/Host.h"

namespace tunx::app {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 20;  // each: 5 digits, 5 backspaces, one click
constexpr int kKeysPerRound = 10;
constexpr auto kKeyPace = std::chrono::milliseconds(30);
constexpr int kCpuSeconds = 10;

struct Scenario {
    const char* name;
    std::vector<std::vector<std::string>> sim;  // the bench's instructions
    const char* monitorMode;                    // started with START; null for none
    const char* trigger;                        // the monitor's trigger mode; null: as it is
    const char* generatorMode;                  // refreshed before the typing; null for none
    const char* field = "Frek";                 // the entry field typed into
    bool typing = true;
    const char* acqmode = nullptr;      // the scope's "Display"; null: as it is ("Normal")
    const char* persistence = nullptr;  // how long earlier traces stay; null: as it is ("Off")
};

const Scenario kScenarios[] = {
    {"counter", {}, "Frequency Counter", nullptr, nullptr},
    {"scope", {}, "Scope CH1+CH2", nullptr, nullptr},
    {"trigger", {{"wire", "CH1", "off"}, {"wire", "CH2", "off"}}, "Scope CH1", "Normal", nullptr},
    {"arbitrary", {}, nullptr, nullptr, "Arbitrary", "multi1"},
    {"idle", {}, nullptr, nullptr, nullptr},
    {"scope-cpu", {}, "Scope CH1+CH2", nullptr, nullptr, "Frek", false},
    {"scope-avg-cpu", {}, "Scope CH1+CH2", nullptr, nullptr, "Frek", false, "Average 16", "2 s"},
    {"idle-cpu", {}, nullptr, nullptr, nullptr, "Frek", false},
};

double cpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Runs the window thread's events (sleeping while there are none) until `done` or `ms` passed.
template <typename Done>
void runEvents(int ms, Done done) {
    QEventLoop loop;
    QTimer check;
    QElapsedTimer t;
    t.start();
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || t.elapsed() >= ms) {
            loop.quit();
        }
    });
    check.start(5);
    loop.exec();
}

void runEvents(int ms) {
    runEvents(ms, [] { return false; });
}

void choose(QWidget* widget, const char* entry) {
    auto* list = qobject_cast<QComboBox*>(widget);
    const int index = list->findText(QString::fromLatin1(entry));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// What the typing of one scenario found.
struct Typed {
    std::vector<double> latencyMs;
    int keysLost = 0;
    int clicksLost = 0;
    double wallSeconds = 0;
    double cpuProcess = 0;
    double cpuWindowThread = 0;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

Typed run(const Scenario& scenario) {
    App app({.simulate = true, .installDir = installationFolder()});
    for (const auto& words : scenario.sim) {
        app.wiring().instrument().instruct(words);
    }
    app.start();
    app.settle(30000);
    WindowView& g = app.generatorView();
    WindowView& m = app.monitorView();
    auto* frek = qobject_cast<QLineEdit*>(g.widgetFor(scenario.field));
    auto* vpp = qobject_cast<QLineEdit*>(g.widgetFor("Vpp"));
    auto* atten = qobject_cast<QCheckBox*>(g.widgetFor("atten"));
    vpp->setText("1");
    emit vpp->textEdited(vpp->text());
    if (scenario.generatorMode != nullptr) {
        // The refresh starts as the typing does, from the event loop, as a click would.
        choose(g.widgetFor("ModeSelect"), scenario.generatorMode);
        QTimer::singleShot(100, g.widgetFor("RefreshBtn"), [&g] {
            qobject_cast<QPushButton*>(g.widgetFor("RefreshBtn"))->click();
        });
    } else {
        qobject_cast<QPushButton*>(g.widgetFor("RefreshBtn"))->click();
        app.settle(30000);
    }
    if (scenario.monitorMode != nullptr) {
        choose(m.widgetFor("selmonmode"), scenario.monitorMode);
        if (scenario.trigger != nullptr) {
            choose(m.widgetFor("trigmode"), scenario.trigger);
        }
        if (scenario.acqmode != nullptr) {
            choose(m.widgetFor("acqmode"), scenario.acqmode);
        }
        if (scenario.persistence != nullptr) {
            choose(m.widgetFor("persistence"), scenario.persistence);
        }
        qobject_cast<QPushButton*>(m.widgetFor("cmdstartsweep"))->click();
    }
    if (scenario.generatorMode == nullptr) {
        runEvents(1000);  // the instrument is busy now
    }

    Typed typed;
    const double cpu0 = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double gui0 = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const auto wall0 = Clock::now();
    if (!scenario.typing) {
        runEvents(kCpuSeconds * 1000);
    } else {
        // Arrival times of the keystrokes, and what Frek and atten show after each input.
        const int keys = kRounds * kKeysPerRound;
        std::vector<Clock::time_point> sent(static_cast<std::size_t>(keys));
        std::vector<Clock::time_point> seen;
        QObject::connect(frek, &QLineEdit::textEdited, frek, [&] { seen.push_back(Clock::now()); });
        QStringList textAfterKey;
        std::vector<bool> checkAfterClick;
        std::atomic<bool> fed = false;
        frek->setFocus();
        frek->end(false);
        const QString initial = frek->text();
        // Input devices are made on first use, on the window thread.
        QInputDevice::primaryKeyboard();
        QPointingDevice::primaryPointingDevice();
        std::thread feeder([&] {
            int k = 0;
            for (int round = 0; round < kRounds; ++round) {
                for (int i = 0; i < kKeysPerRound; ++i, ++k) {
                    const bool digit = i < kKeysPerRound / 2;
                    const int key = digit ? Qt::Key_0 : Qt::Key_Backspace;
                    const QString text = digit ? QStringLiteral("0") : QString();
                    std::this_thread::sleep_for(kKeyPace);
                    sent[static_cast<std::size_t>(k)] = Clock::now();
                    QCoreApplication::postEvent(
                        frek, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
                    QCoreApplication::postEvent(
                        frek, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
                    QMetaObject::invokeMethod(frek, [&] { textAfterKey.append(frek->text()); });
                }
                std::this_thread::sleep_for(kKeyPace);
                const QPointF at(5, atten->height() / 2.0);
                QCoreApplication::postEvent(
                    atten, new QMouseEvent(QEvent::MouseButtonPress, at, atten->mapToGlobal(at),
                                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(
                    atten, new QMouseEvent(QEvent::MouseButtonRelease, at, atten->mapToGlobal(at),
                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
                QMetaObject::invokeMethod(atten,
                                          [&] { checkAfterClick.push_back(atten->isChecked()); });
            }
            fed = true;
        });
        runEvents(600000, [&] {
            return fed && textAfterKey.size() >= keys &&
                   checkAfterClick.size() >= static_cast<std::size_t>(kRounds);
        });
        feeder.join();
        typed.wallSeconds = std::chrono::duration<double>(Clock::now() - wall0).count();

        // A keystroke is lost when the field does not show what it typed; a click when the box
        // does not change.
        QString expected = initial;
        for (int k = 0; k < keys; ++k) {
            const bool digit = k % kKeysPerRound < kKeysPerRound / 2;
            expected = digit ? expected + u'0' : expected.left(expected.size() - 1);
            if (textAfterKey[k] != expected) {
                ++typed.keysLost;
                expected = textAfterKey[k];
            }
        }
        bool checked = false;
        for (bool now : checkAfterClick) {
            typed.clicksLost += now == checked ? 1 : 0;
            checked = now;
        }
        for (std::size_t i = 0; i < seen.size() && i < sent.size(); ++i) {
            typed.latencyMs.push_back(
                std::chrono::duration<double, std::milli>(seen[i] - sent[i]).count());
        }
        typed.keysLost += keys - static_cast<int>(std::min<std::size_t>(seen.size(), keys));
        // What the program took in matches what the windows show.
        app.settle(60000);
        const QString modelFrek = QString::fromStdString(app.query<std::string>(
            [&] { return (*app.program().generator().find(scenario.field)).text; }));
        const bool modelAtten =
            app.query<int>([&] { return app.program().generator().atten->value; }) == 1;
        typed.keysLost += modelFrek != frek->text() ? 1 : 0;
        typed.clicksLost += modelAtten != atten->isChecked() ? 1 : 0;
    }
    if (typed.wallSeconds == 0) {
        typed.wallSeconds = std::chrono::duration<double>(Clock::now() - wall0).count();
    }
    typed.cpuProcess = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    typed.cpuWindowThread = cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - gui0;
    return typed;
}

}  // namespace
}  // namespace tunx::app

int main(int argc, char** argv) {
    using namespace tunx::app;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::vector<std::string> wanted(argv + 1, argv + argc);
    std::printf("%-10s %8s %8s %6s %6s %7s %9s %9s\n", "scenario", "median", "p99", "keys",
                "clicks", "seconds", "cpu%", "window%");
    std::printf("%-10s %8s %8s %6s %6s %7s %9s %9s\n", "", "ms", "ms", "lost", "lost", "",
                "process", "thread");
    int failures = 0;
    for (const auto& s : kScenarios) {
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), s.name) == wanted.end()) {
            continue;
        }
        const Typed t = run(s);
        std::printf("%-10s %8.1f %8.1f %6d %6d %7.1f %9.1f %9.1f\n", s.name,
                    percentile(t.latencyMs, 0.5), percentile(t.latencyMs, 0.99), t.keysLost,
                    t.clicksLost, t.wallSeconds, 100 * t.cpuProcess / t.wallSeconds,
                    100 * t.cpuWindowThread / t.wallSeconds);
        std::fflush(stdout);
        failures += t.keysLost + t.clicksLost;
    }
    return failures == 0 ? 0 : 1;
}
