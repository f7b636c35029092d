#include "app/DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tunx::app {

namespace {
constexpr const char* kLastFolderKey = "dialogs/lastFolder";
}  // namespace

QString dialogStartFolder() {
    const QString last = QSettings().value(QString::fromLatin1(kLastFolderKey)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return last;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
        return documents;
    }
    return QDir::homePath();
}

void rememberDialogFolder(const QString& chosenFile) {
    if (chosenFile.isEmpty()) {
        return;
    }
    QSettings().setValue(QString::fromLatin1(kLastFolderKey), QFileInfo(chosenFile).absolutePath());
}

}  // namespace tunx::app
