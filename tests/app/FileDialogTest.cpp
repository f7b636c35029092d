// The program's file filters as Qt name filters, and the file dialogs made from them.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "app/DialogFolder.h"
#include "app/FileFilter.h"
#include "app/QtUi.h"

using namespace tunx;

namespace {
const char* const kTextOrAll = "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*";
}

class FileDialogTest : public QObject {
    Q_OBJECT

    // Where the dialogs start when no folder is remembered.
    static QString defaultFolder() {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileInfo(documents).isDir() ? documents : QDir::homePath();
    }

  private slots:
    void initTestCase() {
        // The settings go to a test folder, not the user's.
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(app::kSettingsOrganization);
        QCoreApplication::setApplicationName("tunx4k-test");
        QSettings().clear();
    }

    // The dialogs start in the documents folder, then in the folder last chosen from, while it
    // exists; never in the installation folder, where the program runs from.
    void startInTheLastFolderElseTheDocuments() {
        QSettings().clear();
        QCOMPARE(app::dialogStartFolder(), defaultFolder());
        QTemporaryDir chosen;
        app::rememberDialogFolder(chosen.filePath("config.txt"));
        QCOMPARE(app::dialogStartFolder(), chosen.path());
        app::rememberDialogFolder("");  // a cancelled dialog keeps the folder
        QCOMPARE(app::dialogStartFolder(), chosen.path());
        QSettings().sync();
        QVERIFY(chosen.remove());
        QCOMPARE(app::dialogStartFolder(), defaultFolder());
        QVERIFY(app::dialogStartFolder() != QDir(TUNX_SHARE_DIR).absolutePath());
    }

    void convertsTheProgramsFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("text or all")
            << kTextOrAll << QStringList{"Text files (*.TXT *.txt)", "All Files (*)"};
        QTest::newRow("several patterns, mixed case")
            << "Profiles|*.txt;*.Csv" << QStringList{"Profiles (*.txt *.TXT *.Csv *.csv *.CSV)"};
        QTest::newRow("no description") << "|*.dat" << QStringList{"*.dat *.DAT (*.dat *.DAT)"};
        QTest::newRow("no pattern") << "Anything|" << QStringList{"Anything (*)"};
        QTest::newRow("empty") << "" << QStringList{"*"};
    }
    void convertsTheProgramsFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(app::toQtNameFilters(filter.toStdString()), expected);
    }

    // Text files named in any case are offered, other files only under "All Files".
    void matchesFileNamesInAnyCase() {
        QTemporaryDir dir;
        for (const char* name : {"lower.txt", "UPPER.TXT", "Mixed.Txt", "other.csv"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // A filter index beyond the list picks the first filter.
        const auto dialog =
            app::makeFileDialog(FileDialogKind::Open, "Load", kTextOrAll, 7, dir.path(), nullptr);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->selectedNameFilter(), QString("Text files (*.TXT *.txt)"));
        QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        dialog->show();
        auto* view = dialog->findChild<QTreeView*>("treeView");
        QVERIFY(view != nullptr);
        const auto shown = [&] {
            QStringList names;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
                names.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
            }
            names.sort();
            return names;
        };
        QTRY_COMPARE(shown(), (QStringList{"Mixed.Txt", "UPPER.TXT", "lower.txt"}));
        dialog->selectNameFilter("All Files (*)");
        QTRY_COMPARE(shown().size(), 4);
    }
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
