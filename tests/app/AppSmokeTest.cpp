// The generator and monitor windows on the offscreen platform, on the virtual instrument.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "../support/DecodePng.h"
#include "OnScreen.h"
#include "app/App.h"
#include "app/PictureCanvas.h"
#include "app/Shortcuts.h"
#include "common/RuntimeError.h"
#include "generator/frmMain.h"
#include "monitor/Form1.h"
#include "monitor/ReferenceMenu.h"
#include "monitor/plot/Sheet.h"
#include "ports/Clock.h"
#include "sim/VirtualInstrument.h"

using namespace tunx;
using namespace tunx::app;

namespace {

// The program on screen against the virtual instrument (one device) with the virtual clock.
struct Fixture : OnScreen {
    using OnScreen::OnScreen;
    // Shows the windows and waits until start-up has run.
    bool start() {
        app.start();
        return app.settle();
    }
};

// Answers every message box the program shows with OK, keeping its text and icon.
class MessageCatcher {
  public:
    MessageCatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back({box->text(), box->icon()});
                box->accept();
            }
        });
        timer_.start(5);
    }

    std::vector<std::pair<QString, QMessageBox::Icon>> messages;

  private:
    QTimer timer_;
};

}  // namespace

class AppSmokeTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        f_.reset();  // the previous program goes before its message catcher
        catcher_ = std::make_unique<MessageCatcher>();
        f_ = std::make_unique<Fixture>();
        QVERIFY(f_->start());
    }

    void startUpShowsBothWindowsWithTheirCaptions() {
        QVERIFY(f_->app.query<bool>([&] { return f_->app.program().state().link.devconnected; }));
        QVERIFY(f_->app.generatorView().isVisible());
        QVERIFY(f_->app.monitorView().isVisible());
        QCOMPARE(f_->app.generatorView().windowTitle(), QString(kGeneratorCaption));
        QCOMPARE(f_->app.monitorView().windowTitle(), QString(kMonitorCaption));
        QVERIFY(f_->app.monitorTimerRunning());
        QVERIFY(catcher_->messages.empty());
    }

    void pickingPulseGeneratorLaysOutThePanel() {
        QVERIFY(f_->widget<QLineEdit>("Frek")->isEnabled());
        QVERIFY(!f_->widget<QLineEdit>("Pulse")->isEnabled());
        auto* modes = f_->widget<QComboBox>("ModeSelect");
        const int pulse = modes->findText("Pulse Generator");
        QVERIFY(pulse >= 0);
        modes->showPopup();
        auto* list = qobject_cast<QListView*>(modes->view());
        QVERIFY(list != nullptr);
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(pulse, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(f_->app.query<int>([&] { return f_->panel().ModeSelect->listIndex; }), pulse);
        QVERIFY(!f_->widget<QLineEdit>("Frek")->isEnabled());
        QVERIFY(f_->widget<QLineEdit>("Pulse")->isEnabled());
    }

    void typedTextAndClicksReachTheModel() {
        auto* frek = f_->widget<QLineEdit>("Frek");
        frek->end(false);
        QTest::keyClicks(frek, "25");
        QCOMPARE(f_->modelText(f_->panel().Frek), std::string("125"));
        // Typing into a list sets its text; the entry it showed is no longer picked.
        auto* unit = f_->widget<QComboBox>("frequnit");
        unit->lineEdit()->selectAll();
        QTest::keyClicks(unit->lineEdit(), "MHz");
        QCOMPARE(f_->modelText(f_->panel().frequnit), std::string("MHz"));
        QCOMPARE(f_->app.query<int>([&] { return f_->panel().frequnit->listIndex; }), -1);
        auto* atten = f_->widget<QCheckBox>("atten");
        QTest::mouseClick(atten, Qt::LeftButton, {}, QPoint(5, atten->height() / 2));
        QCOMPARE(f_->modelValue(f_->panel().atten), 1);
    }

    // After a handler the widgets of the controls that changed show the change; the others are
    // not written.
    void modelChangesReachOnlyTheirWidgets() {
        frmMain& panel = f_->panel();
        auto* frek = f_->widget<QLineEdit>("Frek");
        {
            const QSignalBlocker quiet(frek);
            frek->setText("shown only");
        }
        f_->app.post([&] {
            panel.Vpp->enabled = false;
            panel.atten->value = 1;
            panel.frequnit->items = {"Hz", "kHz"};
            panel.frequnit->listIndex = 1;
            panel.description->text = "one\r\ntwo";
            panel.lmainclk->visible = false;
        });
        QVERIFY(f_->app.settle());
        QVERIFY(!f_->widget<QLineEdit>("Vpp")->isEnabled());
        QVERIFY(f_->widget<QCheckBox>("atten")->isChecked());
        QCOMPARE(f_->widget<QComboBox>("frequnit")->count(), 2);
        QCOMPARE(f_->widget<QComboBox>("frequnit")->currentIndex(), 1);
        QCOMPARE(f_->widget<QPlainTextEdit>("description")->toPlainText(), QString("one\ntwo"));
        QVERIFY(f_->widget<QLabel>("lmainclk")->isHidden());
        QCOMPARE(frek->text(), QString("shown only"));
        f_->app.refreshAll();
        QCOMPARE(frek->text(), QString("1"));
    }

    // A scope mode picked in the list and started with its button runs on the timer: the
    // traces (on the program's picture as Picture1 shows it), the position marks and the
    // measurements appear on the monitor window, which fits a 1366 x 768 screen.
    void theScopeRunsLiveOnTheMonitorWindow() {
        frmMain& g = f_->panel();
        f_->app.post([&] {
            g.Vpp->text = "4";
            g.run("RefreshBtn_Click");
        });
        WindowView& view = f_->app.monitorView();
        auto* mode = qobject_cast<QComboBox*>(view.widgetFor("selmonmode"));
        QVERIFY(mode != nullptr);
        mode->setCurrentIndex(mode->findText("Scope CH1"));
        emit mode->activated(mode->currentIndex());
        QTest::mouseClick(qobject_cast<QPushButton*>(view.widgetFor("cmdstartsweep")),
                          Qt::LeftButton);
        auto* measurements = qobject_cast<QLabel*>(view.widgetFor("measch1"));
        QVERIFY(measurements != nullptr);
        QTRY_VERIFY(measurements->text().contains("Vpp"));  // the timer's ticks ran the scope
        QVERIFY(measurements->isVisibleTo(&view));
        // Picture1 shows the program's picture as it was drawn.
        auto* shown = dynamic_cast<PictureView*>(view.widgetFor("Picture1"));
        QVERIFY(shown != nullptr);
        const QImage picture = shown->grab().toImage().scaled(shown->sizeHint());
        int red = 0;
        for (int x = 40; x < 670; ++x) {
            for (int y = 40; y < 540; ++y) {
                red += picture.pixel(x, y) == QColor(255, 0, 0).rgb() ? 1 : 0;
            }
        }
        QVERIFY(red > 600);  // a trace across the plot
        auto* mark = qobject_cast<QLabel*>(view.widgetFor("ch1text"));
        QVERIFY(mark != nullptr && mark->isVisibleTo(&view));
        // All of it without scrolling, with room for a title bar above it.
        QVERIFY(view.fittingSize().width() <= 1366);
        QVERIFY(view.fittingSize().height() <= 768 - 40);
    }

    // Input that arrives while a handler runs waits for it, then runs, in order; the widgets
    // keep what the user typed meanwhile, although the program publishes older values of them
    // in between.
    void inputWhileAHandlerRunsWaitsForIt() {
        auto* frek = f_->widget<QLineEdit>("Frek");
        auto* atten = f_->widget<QCheckBox>("atten");
        std::atomic<bool> release = false;
        const std::uint64_t blocker = f_->app.post([&] {
            while (!release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        frek->selectAll();
        QTest::keyClicks(frek, "12");
        QTest::mouseClick(atten, Qt::LeftButton, {}, QPoint(5, atten->height() / 2));
        // An older look of Frek, published while the typing is still on its way, is not shown.
        f_->app.post([&] { f_->panel().Frek->text = "7"; });
        QTest::keyClicks(frek, "345");
        // What Frek shows after each piece of work has been carried out and shown.
        QStringList shown;
        for (std::uint64_t n = blocker + 1; n <= blocker + 7; ++n) {
            f_->app.whenDone(n, [&] { shown.append(frek->text()); });
        }
        release = true;
        QVERIFY(f_->app.settle());
        QCOMPARE(shown, QStringList(7, "12345"));
        QCOMPARE(frek->text(), QString("12345"));
        QCOMPARE(f_->modelText(f_->panel().Frek), std::string("12345"));
        QVERIFY(atten->isChecked());
        QCOMPARE(f_->modelValue(f_->panel().atten), 1);
        // A value the program changes once the typing has arrived is shown.
        f_->app.post([&] { f_->panel().Frek->text = "7"; });
        QVERIFY(f_->app.settle());
        QCOMPARE(frek->text(), QString("7"));
    }

    void listsIgnoreTheWheelAndEnter() {
        auto* modes = f_->widget<QComboBox>("ModeSelect");
        QWheelEvent wheel(QPointF(5, 5), modes->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(modes, &wheel);
        QCOMPARE(f_->modelText(f_->panel().ModeSelect), std::string("Single Tone Sine"));
        modes->lineEdit()->selectAll();
        QTest::keyClicks(modes->lineEdit(), "Ramp");
        QTest::keyClick(modes->lineEdit(), Qt::Key_Return);
        QCOMPARE(f_->app.query<int>([&] { return f_->panel().ModeSelect->listIndex; }), -1);
        QVERIFY(f_->widget<QLineEdit>("Frek")->isEnabled());  // nothing laid out
    }

    // A user's action that takes a while shows the busy cursor, and a control it repaints shows
    // its new text while it still runs; the windows keep painting.
    void busyCursorAndRepaintDuringAHandler() {
        frmMain& panel = f_->panel();
        std::atomic<bool> release = false;
        auto* run = f_->widget<QPushButton>("RUN");
        f_->app.post([&] {
            panel.StatusBar->text = "Configuring";
            f_->app.ui().Repaint(*panel.StatusBar);
            while (!release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        Q_UNUSED(run);
        QTRY_COMPARE(f_->widget<QLabel>("StatusBar")->text(), QString("Configuring"));
        QTRY_VERIFY(QApplication::overrideCursor() != nullptr &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        release = true;
        QVERIFY(f_->app.settle());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void strayErrorsEndOnlyTheirHandler() {
        frmMain& panel = f_->panel();
        f_->app.post([] { throw RuntimeError(kOverflow); });
        f_->app.post([&] { (void)panel["no such control"]; });
        QVERIFY(f_->app.settle());
        QCOMPARE(catcher_->messages.size(), std::size_t{2});
        QCOMPARE(catcher_->messages[0].first, QString("Overflow"));
        QCOMPARE(catcher_->messages[0].second, QMessageBox::Critical);
        QVERIFY(catcher_->messages[1].first.startsWith("Unexpected error: "));
        QVERIFY(f_->app.query<bool>([] { return true; }));  // the next work runs
    }

    // RUN and STOP with the buttons' looks, for a continuous mode, one whose level comes from its
    // profile and a single shot (each mode's frames are the core's tests).
    void runAndStopFromTheButtons_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("runCaption");
        QTest::newRow("Sine Modulated") << QString("Sine Modulated") << QString("RUNNING");
        QTest::newRow("Arbitrary") << QString("Arbitrary") << QString("RUNNING");
        QTest::newRow("Pulse Generator, single shot")
            << QString("Pulse Generator") << QString("TRIGGER");
    }
    void runAndStopFromTheButtons() {
        QFETCH(QString, mode);
        QFETCH(QString, runCaption);
        frmMain& panel = f_->panel();
        f_->app.post([&] { panel.choose(*panel.ModeSelect, mode.toStdString()); });
        if (runCaption == "TRIGGER") {
            f_->app.post([&] { panel.choose(*panel.outmode, "Single"); });
        }
        QVERIFY(f_->app.settle());
        auto* vpp = f_->widget<QLineEdit>("Vpp");
        if (vpp->isEnabled()) {  // Arbitrary "Voltage" takes its level from the profile
            vpp->selectAll();
            QTest::keyClicks(vpp, "1");
            QCOMPARE(f_->modelText(panel.Vpp), std::string("1"));
        }

        auto* run = f_->widget<QPushButton>("RUN");
        auto* stop = f_->widget<QPushButton>("STOP");
        QTest::mouseClick(run, Qt::LeftButton);
        QTRY_COMPARE(run->text(), runCaption);
        QCOMPARE(run->palette().color(QPalette::Button), QColor(0, 255, 0));
        QVERIFY(run->icon().isNull());
        QVERIFY(catcher_->messages.empty());
        QVERIFY(f_->widget<QLabel>("StatusBar")->text().startsWith("Running " + mode));

        QTest::mouseClick(stop, Qt::LeftButton);
        QTRY_COMPARE(f_->widget<QLabel>("StatusBar")->text(), QString("Stopped"));
        QCOMPARE(stop->palette().color(QPalette::Button), QColor(255, 0, 0));
        QCOMPARE(run->text(), QString());
        QVERIFY(!run->icon().isNull());  // run_btn.bmp from the installation folder
        const auto said =
            f_->app.query<std::vector<std::string>>([&] { return f_->sim().describe(); });
        QVERIFY(!said.empty());
        QVERIFY(said.front().rfind("output off", 0) == 0);
    }

    // The monitor window closed by the user stops its timer; the Window menu opens it again.
    void theWindowMenuOpensAClosedMonitorAgain() {
        WindowView& monitor = f_->app.monitorView();
        QVERIFY(monitor.close());
        QVERIFY(!monitor.isVisible());
        QVERIFY(!f_->app.monitorTimerRunning());
        QAction* entry = nullptr;
        for (QAction* top : f_->app.generatorView().menuBar()->actions()) {
            if (top->text().remove(u'&') == "Window") {
                for (QAction* a : top->menu()->actions()) {
                    entry = a->text() == QString(kMonitorCaption) ? a : entry;
                }
            }
        }
        QVERIFY(entry != nullptr);
        entry->trigger();
        QVERIFY(monitor.isVisible());
        QVERIFY(f_->app.monitorTimerRunning());
        QVERIFY(f_->app.settle());
    }

    // Both windows open within the screen; a run remembers where the user left them, and the
    // next run opens them there.
    void windowsOpenOnTheScreenAndWhereTheUserLeftThem() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(f_->app.generatorView().geometry()));
        QVERIFY(screen.contains(f_->app.monitorView().geometry()));
        QStandardPaths::setTestModeEnabled(true);  // the user's own settings stay as they are
        QCoreApplication::setOrganizationName("tunx4k-test");
        QSettings().clear();
        {
            Fixture first(true);
            QVERIFY(first.start());
            first.app.generatorView().move(screen.topLeft() + QPoint(40, 30));
            first.app.generatorView().close();
            QTRY_VERIFY(first.app.ended());
        }
        Fixture second(true);
        QVERIFY(second.start());
        QCOMPARE(second.app.generatorView().pos(), screen.topLeft() + QPoint(40, 30));
        QSettings().clear();
        QCoreApplication::setOrganizationName(QString());
    }

    // A run keeps the monitor's settings and the next starts with them, silently; "Restore
    // defaults" brings back those of the first start; a damaged settings file starts from them.
    void theMonitorsSettingsComeBackInTheNextRun() {
        f_.reset();
        QTemporaryDir folder;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        QCoreApplication::setOrganizationName("tunx4k-test");
        const auto monitorText = [](Fixture& f, const char* name) {
            Form1& w = f.app.program().monitor();
            return f.app.query<std::string>([&w, name] { return w[name].text; });
        };
        {
            Fixture first(true);
            QVERIFY(first.start());
            Form1& w = first.app.program().monitor();
            first.app.post([&w] { w.choose(*w.selmonmode, "Scope CH1"); });
            first.app.post([&w] { w.choose(*w.seltimediv, "10us/div"); });
            first.app.post([&w] { w.choose(*w.ch1vdiv, "0.2V"); });
            QVERIFY(first.app.settle());
            first.app.generatorView().close();
            QTRY_VERIFY(first.app.ended());
        }
        const QString file = QSettings().fileName();
        {
            Fixture second(true);
            QVERIFY(second.start());
            QCOMPARE(monitorText(second, "selmonmode"), std::string("Scope CH1"));
            QCOMPARE(monitorText(second, "seltimediv"), std::string("10us/div"));
            QCOMPARE(monitorText(second, "ch1vdivtext"), std::string("0.2V"));
            auto* shown =
                qobject_cast<QComboBox*>(second.app.monitorView().widgetFor("seltimediv"));
            QVERIFY(shown != nullptr);
            QCOMPARE(shown->currentText(), QString("10us/div"));
            QAction* defaults = nullptr;
            for (QAction* top : second.app.monitorView().menuBar()->actions()) {
                if (top->text().remove(u'&') == "Window") {
                    for (QAction* a : top->menu()->actions()) {
                        defaults = a->text() == QString(kRestoreDefaults) ? a : defaults;
                    }
                }
            }
            QVERIFY(defaults != nullptr);
            defaults->trigger();
            QVERIFY(second.app.settle());
            QCOMPARE(monitorText(second, "selmonmode"), std::string("Frequency Sweep"));
            QCOMPARE(monitorText(second, "seltimediv"), std::string("1ms/div"));
            QCOMPARE(monitorText(second, "ch1vdivtext"), std::string("1V"));
            QCOMPARE(QSettings().value("monitor/seltimediv").toString(), QString("1ms/div"));
            second.app.generatorView().close();
            QTRY_VERIFY(second.app.ended());
        }
        using namespace std::string_view_literals;
        for (const std::string_view damaged :
             {"\xff\xfe[monitor]\nselmonmode=Scope CH9\nseltimediv=@Variant(\xff)\n"
              "ch1vdiv=@ByteArray(0.2V)\nreclenght=7\n[[[\n=\n"sv,
              "\0\0\0garbage\n"sv}) {
            QFile raw(file);
            QVERIFY(raw.open(QIODevice::WriteOnly | QIODevice::Truncate));
            raw.write(damaged.data(), static_cast<qint64>(damaged.size()));
            raw.close();
            Fixture third(true);
            QVERIFY(third.start());
            QCOMPARE(monitorText(third, "selmonmode"), std::string("Frequency Sweep"));
            QCOMPARE(monitorText(third, "seltimediv"), std::string("1ms/div"));
            QCOMPARE(monitorText(third, "ch1vdiv"), std::string("1V"));
            QCOMPARE(third.app.query<int>(
                         [&] { return third.app.program().monitor().reclenght->value; }),
                     0);
        }
        QVERIFY(catcher_->messages.empty());
        QCoreApplication::setOrganizationName(QString());
    }

    // "Save plot as PNG" keeps the plot with its labels: the plot's own pixels where the sheet
    // puts it, dark text in the indicators' margin and in the rows under the plot (captions,
    // measurement line, settings lines), and white paper elsewhere.
    void theSavedPlotHoldsItsScalesCaptionsAndSettings() {
        Form1& w = f_->app.program().monitor();
        f_->app.postWork([this] {
            f_->sim().instruct(std::vector<std::string>{"signal", "CH1", "sine", "1000", "4"});
        });
        f_->app.post([&w] { w.choose(*w.selmonmode, "Scope CH1"); });
        f_->app.post([&w] { w.run("cmdstartsweep_Click"); });
        QTRY_VERIFY(f_->modelText(w.measch1).find("Vpp") != std::string::npos);
        QTemporaryDir folder;
        const std::string path = folder.filePath("plot.png").toStdString();
        struct Saved {
            PlotSheet sheet;
            QImage plot;
            bool ok = false;
            std::string why{};
        };
        const Saved saved = f_->app.query<Saved>([&] {
            Saved s{.sheet = plotSheet(w), .plot = f_->app.picture().image()};
            s.ok = f_->app.picture().SaveSheet(path, s.sheet, s.why);
            return s;
        });
        QVERIFY2(saved.ok, saved.why.c_str());
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto png = test::decodePng(file.readAll().toStdString());
        QVERIFY(png.has_value());
        QCOMPARE(png->width, saved.sheet.width);
        QCOMPARE(png->height, saved.sheet.height);
        const auto at = [&](int x, int y) {
            return png->pixels[static_cast<std::size_t>(y) * png->width + x];
        };
        const auto darkIn = [&](QRect area) {
            int dark = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    const std::uint32_t p = at(x, y);
                    dark += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 96 ? 1 : 0;
                }
            }
            return dark;
        };
        for (const QPoint& p : {QPoint(0, 0), QPoint(350, 300), QPoint(703, 575)}) {
            QCOMPARE(at(saved.sheet.plotX + p.x(), saved.sheet.plotY + p.y()) & 0xFFFFFF,
                     saved.plot.pixel(p) & 0xFFFFFF);
        }
        const int below = saved.sheet.plotY + kPictureHeight;
        const int right = saved.sheet.plotX + kPictureWidth;
        QVERIFY(darkIn({right + 1, saved.sheet.plotY, png->width - right - 1, kPictureHeight}) >
                50);
        QVERIFY(darkIn({0, below + 1, png->width, png->height - below - 1}) > 300);
        QCOMPARE(at(0, 0) & 0xFFFFFF, 0xFFFFFFu);  // paper
        // The settings line is the last row, dated.
        const int last = saved.sheet.texts.back().y;
        QVERIFY(darkIn({0, last - 6, png->width, 12}) > 100);
    }

    // The monitor's Help menu opens the user's guide (F1 too) in the program's own window,
    // which wraps its lines, and lists the keys.
    void theMonitorsHelpMenuOpensTheGuideAndListsTheKeys() {
        WindowView& monitor = f_->app.monitorView();
        QAction* guide = monitor.actionFor("MenuBar_UsersGuide");
        QVERIFY(guide != nullptr);
        QCOMPARE(guide->shortcut(), QKeySequence(QKeySequence::HelpContents));
        QMenu* help = monitor.actionFor("MenuBar_Help")->menu();
        QVERIFY(help != nullptr);
        QStringList entries;
        for (QAction* a : help->actions()) {
            entries << a->text();
        }
        QCOMPARE(entries, QStringList({"Users Guide", "Keyboard shortcuts"}));
        guide->trigger();
        QTRY_VERIFY(f_->app.ui().guideWindow() != nullptr &&
                    f_->app.ui().guideWindow()->isVisible());
        const QPlainTextEdit* shown = f_->app.ui().guideWindow();
        QCOMPARE(shown->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(shown->toPlainText().contains("Users Guide"));
        QVERIFY(shortcutsText().contains(
            QKeySequence(QKeySequence::HelpContents).toString(QKeySequence::NativeText) +
            "\tthe user's guide"));
    }

    // The reference traces stay in the user's settings until cleared; a kept text that is no
    // reference any more is dropped.
    void referenceTracesComeBackUntilCleared() {
        f_.reset();
        QTemporaryDir folder;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        QCoreApplication::setOrganizationName("tunx4k-test");
        const auto kept = [](Fixture& f, std::size_t slot) {
            Form1& w = f.app.program().monitor();
            return f.app.query<std::vector<double>>([&w, slot] {
                const auto& ref = w.mon().refs.traces[slot];
                return ref ? ref->values : std::vector<double>();
            });
        };
        const std::vector<double> values = {0.5, -0.25, 1e-3};
        {
            Fixture first(true);
            QVERIFY(first.start());
            Form1& w = first.app.program().monitor();
            first.app.post([&w, &values] {
                putReference(w, kRefA,
                             ReferenceTrace{.source = "CH2",
                                            .scale = ReferenceScale::CH2,
                                            .times = {0, 1e-3, 2e-3},
                                            .values = values});
            });
            QVERIFY(first.app.settle());
            first.app.generatorView().close();
            QTRY_VERIFY(first.app.ended());
        }
        {
            Fixture second(true);
            QVERIFY(second.start());
            QCOMPARE(kept(second, kRefA), values);
            QVERIFY(kept(second, kRefB).empty());
            Form1& w = second.app.program().monitor();
            second.app.post([&w] { clearReference(w, kRefA); });
            QVERIFY(second.app.settle());
            QVERIFY(!QSettings().contains("reference/A"));
            second.app.generatorView().close();
            QTRY_VERIFY(second.app.ended());
        }
        QSettings().setValue("reference/B", "time_s,CH1_V\n0,1\n0,2\n");  // times not rising
        {
            Fixture third(true);
            QVERIFY(third.start());
            QVERIFY(kept(third, kRefB).empty());
            QVERIFY(!QSettings().contains("reference/B"));
        }
        QVERIFY(catcher_->messages.empty());
        QCoreApplication::setOrganizationName(QString());
    }

    void closingTheGeneratorWindowEndsTheProgram() {
        f_->app.generatorView().close();  // the program unloads the window, then it closes
        QTRY_VERIFY(f_->app.ended());
        QVERIFY(!f_->app.generatorView().isVisible());
        QVERIFY(!f_->app.monitorView().isVisible());
        QVERIFY(!f_->app.monitorTimerRunning());
        QVERIFY(!f_->sim().isOpen());
        bool ran = false;
        f_->app.post([&] { ran = true; });
        QVERIFY(f_->app.settle());
        QVERIFY(!ran);
    }

  private:
    std::unique_ptr<MessageCatcher> catcher_;
    std::unique_ptr<Fixture> f_;
};

QTEST_MAIN(AppSmokeTest)
#include "AppSmokeTest.moc"
