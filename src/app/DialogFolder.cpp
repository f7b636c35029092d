#include "app/DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tunx::app {

namespace {
constexpr const char* kLastFolderKey = "dialogs/lastFolder";
}  // namespace

QString settingsApplication(const std::string& serial) {
    if (serial.empty()) {
        return QString::fromLatin1(kSettingsApplication);
    }
    QString name = QString::fromStdString(serial);
    for (QChar& c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-' && c != u'_' && c != u'.') {
            c = u'_';
        }
    }
    if (name.startsWith(u'.')) {
        name[0] = u'_';
    }
    return name;
}

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
