// The generator and monitor windows on the offscreen platform, on the virtual instrument.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "AppTestSupport.h"
#include "common/RuntimeError.h"
#include "generator/frmMain.h"
#include "monitor/Form1.h"

using namespace tunx;
using namespace tunx::app;
using namespace tunx::app::test;

class AppSmokeTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        catcher_ = std::make_unique<MessageCatcher>();
        f_ = std::make_unique<Fixture>();
    }
    void cleanup() {
        f_.reset();
        catcher_.reset();
    }

    void startUpShowsBothWindowsWithTheModelsCaptions() {
        QVERIFY(f_->start());
        QVERIFY(f_->app.program().state().link.devconnected);
        QVERIFY(f_->app.generatorView().isVisible());
        QVERIFY(f_->app.monitorView().isVisible());
        QCOMPARE(f_->app.generatorView().windowTitle(), QString(kGeneratorCaption));
        QCOMPARE(f_->app.monitorView().windowTitle(), QString(kMonitorCaption));
        QVERIFY(f_->app.monitorTimer().isActive());
        QCOMPARE(f_->app.monitorTimer().interval(), 10);
        QVERIFY(catcher_->messages.empty());
    }

    void startUpLayoutReachesTheWidgets() {
        QVERIFY(f_->start());
        // Single Tone Sine: frequency on, pulse off, amplitude field reset, its limits shown.
        QVERIFY(f_->widget<QLineEdit>("Frek")->isEnabled());
        QVERIFY(!f_->widget<QLineEdit>("Pulse")->isEnabled());
        QCOMPARE(f_->widget<QLineEdit>("Vpp")->text(), QString("0"));
        QVERIFY(f_->widget<QPlainTextEdit>("description")
                    ->toPlainText()
                    .startsWith("Frequency Range(-3dB): 0.01 Hz - 100MHz\nMaximum Frequency"));
        auto* device = f_->widget<QComboBox>("cmbDevice");
        QCOMPARE(device->currentText(), QString(sim::kDefaultSerial));
        QVERIFY(!device->isEnabled());
        QCOMPARE(f_->widget<QLabel>("Status")->text(), QString("0"));
    }

    // Needs the generator's ModeSelect_Click, which lays the panel out for the chosen mode.
    void pickingPulseGeneratorLaysOutThePanel() {
        QVERIFY(f_->start());
        auto* modes = f_->widget<QComboBox>("ModeSelect");
        const int pulse = modes->findText("Pulse Generator");
        QVERIFY(pulse >= 0);
        modes->showPopup();
        QListView* list = qobject_cast<QListView*>(modes->view());
        QVERIFY(list != nullptr);
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(pulse, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());

        QCOMPARE(f_->control("ModeSelect").text, std::string("Pulse Generator"));
        QCOMPARE(f_->control("ModeSelect").listIndex, pulse);
        QVERIFY(!f_->widget<QLineEdit>("Frek")->isEnabled());
        QVERIFY(!f_->widget<QComboBox>("frequnit")->isEnabled());
        QVERIFY(f_->widget<QLineEdit>("Pulse")->isEnabled());
        QVERIFY(f_->widget<QCheckBox>("invert")->isEnabled());
    }

    void typedTextReachesTheModel() {
        QVERIFY(f_->start());
        auto* frek = f_->widget<QLineEdit>("Frek");
        frek->setFocus();
        frek->end(false);
        QTest::keyClicks(frek, "25");
        QCOMPARE(f_->control("Frek").text, std::string("125"));
        QCOMPARE(frek->text(), QString("125"));

        // Typing into a list sets its text; the entry it showed is no longer picked.
        auto* unit = f_->widget<QComboBox>("frequnit");
        unit->lineEdit()->selectAll();
        QTest::keyClicks(unit->lineEdit(), "MHz");
        QCOMPARE(f_->control("frequnit").text, std::string("MHz"));
        QCOMPARE(f_->control("frequnit").listIndex, -1);
    }

    void tickingAndPressingReachTheModel() {
        QVERIFY(f_->start());
        auto* atten = f_->widget<QCheckBox>("atten");
        QTest::mouseClick(atten, Qt::LeftButton, {}, QPoint(5, atten->height() / 2));
        QCOMPARE(f_->control("atten").value, 1);
        QVERIFY(atten->isChecked());
    }

    void modelChangesReachTheWidgets() {
        QVERIFY(f_->start());
        Window& panel = f_->app.program().generator();
        QVERIFY(f_->app.dispatch(panel, [&] {
            panel["Vpp"].text = "2.5";
            panel["StatusBar"].text = "Stopped";
            panel["Frek"].enabled = false;
            panel["atten"].value = 1;
            panel["frequnit"].items = {"Hz", "kHz"};
            panel["frequnit"].listIndex = 0;
            panel["frequnit"].text = "Hz";
            panel["description"].text = "one\r\ntwo";
            panel["lmainclk"].visible = false;
        }));
        QCOMPARE(f_->widget<QLineEdit>("Vpp")->text(), QString("2.5"));
        QCOMPARE(f_->widget<QLabel>("StatusBar")->text(), QString("Stopped"));
        QVERIFY(!f_->widget<QLineEdit>("Frek")->isEnabled());
        QVERIFY(f_->widget<QCheckBox>("atten")->isChecked());
        auto* unit = f_->widget<QComboBox>("frequnit");
        QCOMPARE(unit->count(), 2);
        QCOMPARE(unit->currentIndex(), 0);
        QCOMPARE(unit->currentText(), QString("Hz"));
        QCOMPARE(f_->widget<QPlainTextEdit>("description")->toPlainText(), QString("one\ntwo"));
        QVERIFY(f_->widget<QLabel>("lmainclk")->isHidden());
    }

    void hiddenControlsAreNotShown() {
        QVERIFY(f_->start());
        QVERIFY(f_->widget<QLineEdit>("mintime")->isHidden());
        QVERIFY(!f_->widget<QLineEdit>("mintimen")->isHidden());
    }

    void runButtonShowsTheModelsLooks() {
        QVERIFY(f_->start());
        auto* run = f_->widget<QPushButton>("RUN");
        const QColor lightGrey(192, 192, 192);
        QCOMPARE(run->palette().color(QPalette::Button), lightGrey);
        QVERIFY(!run->icon().isNull());  // its own picture at start-up

        Control& c = f_->control("RUN");
        Window& panel = f_->app.program().generator();
        QVERIFY(f_->app.dispatch(panel, [&] {
            c.back = colour::kGreen;
            c.picture.clear();
            c.text = "RUNNING";
        }));
        QCOMPARE(run->palette().color(QPalette::Button), QColor(0, 255, 0));
        QVERIFY(run->icon().isNull());
        QCOMPARE(run->text(), QString("RUNNING"));

        QVERIFY(f_->app.dispatch(panel, [&] {
            c.back = colour::kActiveBorder;
            c.picture = std::string(TUNX_SHARE_DIR) + "run_btn.bmp";
            c.text.clear();
        }));
        QCOMPARE(run->palette().color(QPalette::Button),
                 QApplication::palette(run).color(QPalette::Active, QPalette::Window));
        QVERIFY(!run->icon().isNull());
        QCOMPARE(run->icon().availableSizes().value(0), QSize(64, 40));
        QCOMPARE(run->text(), QString());

        // A picture file that cannot be read leaves the caption alone on the button.
        QVERIFY(f_->app.dispatch(panel, [&] { c.picture = "no-such-picture.bmp"; }));
        QVERIFY(run->icon().isNull());
    }

    void inputWhileAHandlerRunsIsDropped() {
        QVERIFY(f_->start());
        auto* frek = f_->widget<QLineEdit>("Frek");
        auto* atten = f_->widget<QCheckBox>("atten");
        Window& panel = f_->app.program().generator();
        bool inputAdmitted = true;
        QVERIFY(f_->app.dispatch(panel, [&] {
            frek->end(false);
            QTest::keyClicks(frek, "9");
            QTest::mouseClick(atten, Qt::LeftButton, {}, QPoint(5, atten->height() / 2));
            inputAdmitted = f_->app.dispatch(panel, "RUN_Click");
        }));
        QVERIFY(!inputAdmitted);
        QCOMPARE(f_->control("Frek").text, std::string("1"));
        QCOMPARE(frek->text(), QString("1"));
        QCOMPARE(f_->control("atten").value, 0);
        QVERIFY(!atten->isChecked());
    }

    void listsIgnoreTheWheelAndEnter() {
        QVERIFY(f_->start());
        auto* modes = f_->widget<QComboBox>("ModeSelect");
        QWheelEvent wheel(QPointF(5, 5), modes->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(modes, &wheel);
        QCOMPARE(modes->currentText(), QString("Single Tone Sine"));
        QCOMPARE(f_->control("ModeSelect").text, std::string("Single Tone Sine"));

        modes->lineEdit()->selectAll();
        QTest::keyClicks(modes->lineEdit(), "Ramp");
        QTest::keyClick(modes->lineEdit(), Qt::Key_Return);
        QCOMPARE(f_->control("ModeSelect").text, std::string("Ramp"));
        QCOMPARE(f_->control("ModeSelect").listIndex, -1);    // typed, not picked
        QVERIFY(f_->widget<QLineEdit>("Frek")->isEnabled());  // nothing laid out
    }

    void repaintShowsAControlWhileTheHandlerRuns() {
        QVERIFY(f_->start());
        Window& panel = f_->app.program().generator();
        QString shownMeanwhile;
        QVERIFY(f_->app.dispatch(panel, [&] {
            panel["StatusBar"].text = "Configuring";
            f_->app.ui().Repaint(panel["StatusBar"]);
            shownMeanwhile = f_->widget<QLabel>("StatusBar")->text();
        }));
        QCOMPARE(shownMeanwhile, QString("Configuring"));
    }

    void busyCursorLastsAsLongAsTheHandler() {
        QVERIFY(f_->start());
        Window& panel = f_->app.program().generator();
        Qt::CursorShape during = Qt::ArrowCursor;
        QVERIFY(f_->app.dispatch(panel, [&] {
            f_->app.ui().SetBusy(true);
            during = QApplication::overrideCursor()->shape();
        }));
        QCOMPARE(during, Qt::WaitCursor);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void messagesCarryTheProgramsTitle() {
        f_ = std::make_unique<Fixture>(std::vector<std::string>{});
        QString statusMeanwhile;
        catcher_->whenShown = [&] { statusMeanwhile = f_->widget<QLabel>("Status")->text(); };
        QVERIFY(f_->start());
        QCOMPARE(statusMeanwhile, QString("0"));  // the windows show the model behind a box
        QCOMPARE(catcher_->messages.size(), std::size_t{1});
        QCOMPARE(catcher_->messages[0].text, QString("ERROR!!! No attached device is found!!!"));
        QCOMPARE(catcher_->messages[0].title, QString("TUNX4K"));
        QCOMPARE(catcher_->messages[0].icon, QMessageBox::NoIcon);
        QVERIFY(!f_->app.ended());  // the windows stay open without a device
        QVERIFY(f_->app.generatorView().isVisible());
    }

    void strayErrorsEndOnlyTheirHandler() {
        QVERIFY(f_->start());
        Window& panel = f_->app.program().generator();
        QVERIFY(f_->app.dispatch(panel, [] { throw RuntimeError(kOverflow); }));
        QVERIFY(f_->app.dispatch(panel, [&] { (void)panel["no such control"]; }));
        QCOMPARE(catcher_->messages.size(), std::size_t{2});
        QCOMPARE(catcher_->messages[0].text, QString("Overflow"));
        QCOMPARE(catcher_->messages[0].icon, QMessageBox::Critical);
        QVERIFY(catcher_->messages[1].text.startsWith("Unexpected error: "));
        QVERIFY(f_->app.dispatch(panel, [] {}));  // the next handler runs
    }

    void menusRunTheirEntries() {
        QVERIFY(f_->start());
        QAction* guide = f_->app.generatorView().actionFor("MenuBar_UsersGuide");
        QVERIFY(guide != nullptr);
        QCOMPARE(guide->text(), QString("Users Guide"));
        QCOMPARE(f_->app.generatorView().actionFor("MenuBar_SaveCfg")->text(),
                 QString("Save Configs As ..."));
        QCOMPARE(f_->app.generatorView().actionFor("MenuBar_File")->text(), QString("File"));
        guide->trigger();
        // No desktop on the offscreen platform: the program shows the guide itself.
        QPlainTextEdit* window = f_->app.ui().guideWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QVERIFY(window->isReadOnly());
        QVERIFY(window->toPlainText().startsWith("TUNX4K Function Generator - Users Guide"));
    }

    // Every mode runs from the RUN button and stops with STOP, with the buttons' looks.
    void everyModeRunsFromRunAndStopsWithStop_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("runCaption");
        for (const char* m :
             {"Single Tone Sine", "Sine Modulated", "Ramp", "Triangle", "Arbitrary",
              "Sweep Sine Generator", "Square-Wave", "Square-Wave2", "Single Tone Sine2"}) {
            QTest::newRow(m) << QString(m) << QString("RUNNING");
        }
        QTest::newRow("Pulse Generator, single shot")
            << QString("Pulse Generator") << QString("TRIGGER");
    }
    void everyModeRunsFromRunAndStopsWithStop() {
        QFETCH(QString, mode);
        QFETCH(QString, runCaption);
        QVERIFY(f_->start());
        Window& panel = f_->app.program().generator();
        QVERIFY(f_->app.dispatch(panel, [&] { panel.choose("ModeSelect", mode.toStdString()); }));
        if (runCaption == "TRIGGER") {
            QVERIFY(f_->app.dispatch(panel, [&] { panel.choose("outmode", "Single"); }));
        }
        auto* vpp = f_->widget<QLineEdit>("Vpp");
        if (vpp->isEnabled()) {  // Arbitrary "Voltage" takes its level from the profile
            vpp->selectAll();
            QTest::keyClicks(vpp, "1");
            QCOMPARE(f_->control("Vpp").text, std::string("1"));
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
        QVERIFY(!f_->sim.describe().empty());
        QVERIFY(f_->sim.describe().front().rfind("output off", 0) == 0);
    }

    void closingTheGeneratorWindowEndsTheProgram() {
        QVERIFY(f_->start());
        QVERIFY(f_->sim.isOpen());
        QVERIFY(f_->app.generatorView().close());
        QVERIFY(f_->app.ended());
        QVERIFY(!f_->sim.isOpen());
        QVERIFY(!f_->app.monitorView().isVisible());
        QVERIFY(!f_->app.monitorTimer().isActive());
        QVERIFY(!f_->app.dispatch(f_->app.program().generator(), "RUN_Click"));
    }

  private:
    std::unique_ptr<MessageCatcher> catcher_;
    std::unique_ptr<Fixture> f_;
};

QTEST_MAIN(AppSmokeTest)
#include "AppSmokeTest.moc"
