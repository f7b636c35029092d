// The program's file filters as Qt name filters, and the file dialogs made from them.
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "app/FileFilter.h"
#include "app/QtUi.h"

using tunx::FileDialogKind;
using tunx::app::makeFileDialog;
using tunx::app::toQtNameFilters;

namespace {
const char* const kTextOrAll = "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*";
}

class FileDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void convertsTheProgramsFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("text or all")
            << kTextOrAll << QStringList{"Text files (*.TXT *.txt)", "All Files (*)"};
        QTest::newRow("three entries")
            << "Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*"
            << QStringList{"Text files (*.TXT *.txt)", "CSV files (*.CSV *.csv)", "All Files (*)"};
        QTest::newRow("several patterns, mixed case")
            << "Profiles|*.txt;*.Csv" << QStringList{"Profiles (*.txt *.TXT *.Csv *.csv *.CSV)"};
        QTest::newRow("no description") << "|*.dat" << QStringList{"*.dat *.DAT (*.dat *.DAT)"};
        QTest::newRow("no pattern") << "Anything|" << QStringList{"Anything (*)"};
        QTest::newRow("description alone") << "Lonely" << QStringList{"*"};
        QTest::newRow("empty") << "" << QStringList{"*"};
    }
    void convertsTheProgramsFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(toQtNameFilters(filter.toStdString()), expected);
    }

    void dialogFollowsTheRequest_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<int>("acceptMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QString>("selected");
        QTest::newRow("open, first filter")
            << int(FileDialogKind::Open) << 1 << int(QFileDialog::AcceptOpen)
            << int(QFileDialog::ExistingFile) << "Text files (*.TXT *.txt)";
        QTest::newRow("save, second filter")
            << int(FileDialogKind::Save) << 2 << int(QFileDialog::AcceptSave)
            << int(QFileDialog::AnyFile) << "All Files (*)";
        QTest::newRow("index beyond the list")
            << int(FileDialogKind::Open) << 7 << int(QFileDialog::AcceptOpen)
            << int(QFileDialog::ExistingFile) << "Text files (*.TXT *.txt)";
        QTest::newRow("index zero")
            << int(FileDialogKind::Save) << 0 << int(QFileDialog::AcceptSave)
            << int(QFileDialog::AnyFile) << "Text files (*.TXT *.txt)";
    }
    void dialogFollowsTheRequest() {
        QFETCH(int, kind);
        QFETCH(int, filterIndex);
        QFETCH(int, acceptMode);
        QFETCH(int, fileMode);
        QFETCH(QString, selected);
        const auto dialog = makeFileDialog(static_cast<FileDialogKind>(kind), "Save Configs",
                                           kTextOrAll, filterIndex, nullptr);
        QCOMPARE(dialog->windowTitle(), QString("Save Configs"));
        QCOMPARE(int(dialog->acceptMode()), acceptMode);
        QCOMPARE(int(dialog->fileMode()), fileMode);
        QCOMPARE(dialog->selectedNameFilter(), selected);
        QVERIFY(!dialog->filter().testFlag(QDir::CaseSensitive));
    }

    // Text files named in any case are offered; other files are not.
    void matchesFileNamesInAnyCase() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char* name : {"lower.txt", "UPPER.TXT", "Mixed.Txt", "other.csv"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto dialog = makeFileDialog(FileDialogKind::Open, "Load", kTextOrAll, 1, nullptr);
        dialog->setDirectory(dir.path());
        dialog->show();
        auto* view = dialog->findChild<QTreeView*>("treeView");
        QVERIFY(view != nullptr);
        const auto shown = [&] {
            QStringList names;
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row) {
                names.append(view->model()->index(row, 0, root).data().toString());
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
