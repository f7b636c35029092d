#include "app/QtUi.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "app/ControlWidgets.h"
#include "app/DialogFolder.h"
#include "app/FileFilter.h"
#include "app/WindowThread.h"

namespace tunx::app {

namespace {

constexpr int kGuideColumns = 100;  // the guide's own lines fit; a narrower window wraps them
constexpr int kGuideRows = 36;

QMessageBox::Icon toQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The normal arrow while a dialog waits for the user, even inside a busy handler.
class ArrowCursor {
  public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

}  // namespace

std::unique_ptr<QFileDialog> makeFileDialog(FileDialogKind kind, const std::string& title,
                                            const std::string& filter, int filterIndex,
                                            const QString& folder, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, QString::fromStdString(title), folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (kind == FileDialogKind::Save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    const QStringList filters = toQtNameFilters(filter);
    dialog->setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size()) {
        dialog->selectNameFilter(filters[filterIndex - 1]);
    }
    return dialog;
}

QtUi::QtUi(UiHost& host) : host_(host) {}

QtUi::~QtUi() = default;

void QtUi::MsgBox(const std::string& text, MsgIcon icon, const std::optional<std::string>& title) {
    if (standIn_ != nullptr) {
        standIn_->MsgBox(text, icon, title);
        return;
    }
    host_.publishNow();  // the windows show what the handler did before it asks
    host_.windowThread().wait([&] {
        const ArrowCursor arrow;
        QMessageBox box(toQtIcon(icon), QString::fromStdString(title.value_or(kDefaultTitle)),
                        toScreenText(text), QMessageBox::Ok, host_.dialogParent());
        box.setTextFormat(Qt::PlainText);
        box.exec();
    });
}

bool QtUi::MsgBoxYesNo(const std::string& text) {
    if (standIn_ != nullptr) {
        return standIn_->MsgBoxYesNo(text);
    }
    host_.publishNow();
    bool yes = false;  // No, also when the windows close meanwhile
    host_.windowThread().wait([&] {
        const ArrowCursor arrow;
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(kDefaultTitle),
                        toScreenText(text), QMessageBox::Yes | QMessageBox::No,
                        host_.dialogParent());
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::No);
        yes = box.exec() == QMessageBox::Yes;
    });
    return yes;
}

std::string QtUi::FileDialog(FileDialogKind kind, const std::string& title,
                             const std::string& filter, int filterIndex) {
    if (standIn_ != nullptr) {
        return standIn_->FileDialog(kind, title, filter, filterIndex);
    }
    host_.publishNow();
    std::string path;  // empty: cancelled, also when the windows close meanwhile
    host_.windowThread().wait([&] {
        const ArrowCursor arrow;
        const auto dialog = makeFileDialog(kind, title, filter, filterIndex, dialogStartFolder(),
                                           host_.dialogParent());
        if (dialog->exec() != QDialog::Accepted) {
            return;
        }
        const QStringList chosen = dialog->selectedFiles();
        if (chosen.isEmpty()) {
            return;
        }
        rememberDialogFolder(chosen.front());
        path = chosen.front().toStdString();
    });
    return path;
}

// The program knows it has ended once the handler unwinds; the app then closes the windows.
void QtUi::EndApplication() {}

void QtUi::OpenUsersGuide(const std::string& path) {
    // The program's own window, the same on every desktop: it wraps the guide's lines to its
    // width, where a text editor may not.
    host_.windowThread().post([this, file = QString::fromStdString(path)] { showGuideText(file); });
}

void QtUi::showGuideText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return;  // as when the editor cannot open it: nothing happens
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (!guideWindow_) {
        guideWindow_ = std::make_unique<QPlainTextEdit>();
        guideWindow_->setReadOnly(true);
        guideWindow_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        QFont font = guideWindow_->font();
        font.setStyleHint(QFont::Monospace);
        font.setFamily(QStringLiteral("monospace"));
        guideWindow_->setFont(font);
        const QFontMetrics metrics(font);
        guideWindow_->resize(metrics.horizontalAdvance(u'M') * kGuideColumns,
                             metrics.lineSpacing() * kGuideRows);
    }
    guideWindow_->setWindowTitle(QFileInfo(path).fileName());
    guideWindow_->setPlainText(text);
    guideWindow_->show();
    guideWindow_->raise();
    guideWindow_->activateWindow();
}

void QtUi::ShowForm(const std::string& form, const std::string& front) {
    host_.windowThread().post([this, form, front] { host_.showForm(form, front); });
}

void QtUi::Repaint(const Control& /*control*/) {
    host_.publishNow();
}

}  // namespace tunx::app
