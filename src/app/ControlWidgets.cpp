#include "app/ControlWidgets.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>

#include "app/ButtonPictures.h"
#include "app/Colours.h"
#include "app/FrameBox.h"
#include "window/CheckBox.h"

namespace tunx::app {

namespace {

constexpr int kMultiLineRows = 8;
constexpr int kMultiLineColumns = 52;  // the longest lines of the program's multi-line texts
constexpr int kToolTipLength = 12;     // longer texts of a one-line box show whole as tip
constexpr int kPictureMinWidth = 320;
constexpr int kPictureMinHeight = 240;
constexpr int kPictureMargin = 16;  // around a button's picture

// Keeps a drop-down list from changing its entry by itself: the mouse wheel over a closed
// list (while the panel is scrolled) and Enter in its text part would both count as
// picking an entry, which the program's lists only do on a real pick.
class ListInputFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) {
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                return true;
            }
        }
        // A list narrower than its entry shows the entry's start once the user leaves it.
        if (auto* edit = qobject_cast<QLineEdit*>(watched);
            edit != nullptr && event->type() == QEvent::FocusOut) {
            edit->setCursorPosition(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

QWidget* createList(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->setFocusPolicy(Qt::StrongFocus);
    auto* filter = new ListInputFilter(box);
    box->installEventFilter(filter);
    box->lineEdit()->installEventFilter(filter);
    return box;
}

QWidget* createTextBox(const Control& control, QWidget* parent) {
    if (!control.multiLine) {
        return new QLineEdit(parent);
    }
    auto* edit = new QPlainTextEdit(parent);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setMinimumHeight(edit->fontMetrics().lineSpacing() * kMultiLineRows);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * kMultiLineColumns);
    return edit;
}

// Palette roles of a widget's own back and text colours.
struct ColourRoles {
    QPalette::ColorRole back;
    QPalette::ColorRole fore;
};

ColourRoles rolesOf(const QWidget& widget) {
    if (qobject_cast<const QPushButton*>(&widget) != nullptr) {
        return {QPalette::Button, QPalette::ButtonText};
    }
    if (qobject_cast<const QLineEdit*>(&widget) != nullptr ||
        qobject_cast<const QPlainTextEdit*>(&widget) != nullptr ||
        qobject_cast<const QComboBox*>(&widget) != nullptr) {
        return {QPalette::Base, QPalette::Text};
    }
    return {QPalette::Window, QPalette::WindowText};
}

// Buttons show every back colour the program gives them, system colours as the desktop
// has them. Other widgets keep the desktop's look unless the program names a colour.
void refreshColours(const Control& control, QWidget& widget) {
    const QPalette desktop = QApplication::palette(&widget);
    const ColourRoles roles = rolesOf(widget);
    const bool button = control.kind == ControlKind::Button;
    QPalette wanted = desktop;
    bool ownBack = false;
    if (button || !colour::isSystem(control.back)) {
        wanted.setColor(roles.back, toQColor(control.back, desktop));
        ownBack = !button;
    }
    if (!colour::isSystem(control.fore)) {
        wanted.setColor(roles.fore, toQColor(control.fore, desktop));
    }
    if (widget.palette() != wanted) {
        widget.setPalette(wanted);
    }
    if (widget.autoFillBackground() != ownBack) {
        widget.setAutoFillBackground(ownBack);
    }
}

void refreshList(const Control& control, QComboBox& box, bool keepUsersValue) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(control.items.size()));
    for (const std::string& item : control.items) {
        items.append(QString::fromStdString(item));
    }
    QStringList shown;
    for (int i = 0; i < box.count(); ++i) {
        shown.append(box.itemText(i));
    }
    QLineEdit* edit = box.lineEdit();
    const QString typed = edit->text();
    const int cursor = edit->cursorPosition();
    if (shown != items) {
        box.clear();
        box.addItems(items);
    }
    if (keepUsersValue) {
        if (edit->text() != typed) {
            edit->setText(typed);
            edit->setCursorPosition(cursor);
        }
        return;
    }
    const int index =
        control.listIndex >= 0 && control.listIndex < box.count() ? control.listIndex : -1;
    if (box.currentIndex() != index) {
        box.setCurrentIndex(index);
    }
    const QString text = QString::fromStdString(control.text);
    if (edit->text() != text) {
        edit->setText(text);
    }
    if (!edit->hasFocus()) {
        edit->setCursorPosition(0);  // a list narrower than its entry shows its start
    } else if (edit->text() == typed) {
        edit->setCursorPosition(cursor);  // typing goes on where it was
    }
}

void refreshCheck(const Control& control, QCheckBox& box, bool keepUsersValue) {
    box.setText(captionText(control.text));
    if (keepUsersValue) {
        return;
    }
    const Qt::CheckState state = control.value == kTicked   ? Qt::Checked
                                 : control.value == kGreyed ? Qt::PartiallyChecked
                                                            : Qt::Unchecked;
    box.setTristate(state == Qt::PartiallyChecked);
    if (box.checkState() != state) {
        box.setCheckState(state);
    }
}

void refreshButton(const Control& control, QPushButton& button, const std::string& installDir,
                   std::string& shownPicture) {
    const QString caption = captionText(control.text);
    if (button.text() != caption) {
        button.setText(caption);
    }
    if (shownPicture != control.picture) {
        shownPicture = control.picture;
        button.setIcon(buttonPicture(control.picture, installDir));
    }
}

void refreshTabs(const Control& control, QTabBar& tabs, bool keepUsersValue) {
    const int count = static_cast<int>(control.items.size());
    while (tabs.count() > count) {
        tabs.removeTab(tabs.count() - 1);
    }
    for (int i = 0; i < count; ++i) {
        const QString text = captionText(control.items[static_cast<std::size_t>(i)]);
        if (i < tabs.count()) {
            tabs.setTabText(i, text);
        } else {
            tabs.addTab(text);
        }
    }
    const int selected = control.value - 1;  // tabs count from 1
    if (!keepUsersValue && selected >= 0 && selected < count && tabs.currentIndex() != selected) {
        tabs.setCurrentIndex(selected);
    }
}

}  // namespace

QWidget* createControlWidget(const Control& control, QWidget* parent) {
    switch (control.kind) {
        case ControlKind::TextBox:
            return createTextBox(control, parent);
        case ControlKind::ComboBox:
            return createList(parent);
        case ControlKind::CheckBox:
            return new QCheckBox(parent);
        case ControlKind::Button: {
            auto* button = new QPushButton(parent);
            button->setIconSize(kPictureSize);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            if (!control.picture.empty()) {
                // Keeps its size when a caption takes the picture's place.
                button->setMinimumSize(kPictureSize + QSize(kPictureMargin, kPictureMargin));
            }
            return button;
        }
        case ControlKind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            slider->setRange(control.minimum, control.maximum);
            return slider;
        }
        case ControlKind::TabStrip:
            return new QTabBar(parent);
        case ControlKind::Progress: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(control.minimum, control.maximum);
            bar->setTextVisible(true);
            return bar;
        }
        case ControlKind::Picture: {
            auto* picture = new QLabel(parent);
            picture->setFrameShape(QFrame::Box);
            picture->setMinimumSize(kPictureMinWidth, kPictureMinHeight);
            return picture;
        }
        case ControlKind::Label:
        case ControlKind::Frame:
        case ControlKind::Menu:
        case ControlKind::Timer:
            break;
    }
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString toScreenText(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

std::string fromScreenText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return out.toStdString();
}

QString captionText(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace(u'&', QStringLiteral("&&"));
    return out;
}

void refreshWidget(const Control& control, QWidget& widget, const std::string& installDir,
                   std::string& shownPicture, bool keepUsersValue) {
    const QSignalBlocker blocker(&widget);
    if (auto* frame = qobject_cast<FrameBox*>(&widget)) {
        frame->setTitle(captionText(control.text));
        frame->setTitleEnabled(control.enabled);
        frame->setHidden(!control.visible);
        return;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        const QString text = QString::fromStdString(control.text);
        if (!keepUsersValue && edit->text() != text) {
            edit->setText(text);
            edit->setToolTip(text.size() > kToolTipLength ? text : QString());
        }
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(&widget)) {
        const QString text = toScreenText(control.text);
        if (!keepUsersValue && multi->toPlainText() != text) {
            multi->setPlainText(text);
        }
    } else if (auto* box = qobject_cast<QComboBox*>(&widget)) {
        const QSignalBlocker editBlocker(box->lineEdit());
        refreshList(control, *box, keepUsersValue);
    } else if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
        refreshCheck(control, *check, keepUsersValue);
    } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        refreshButton(control, *button, installDir, shownPicture);
    } else if (auto* slider = qobject_cast<QSlider*>(&widget)) {
        if (!keepUsersValue && slider->value() != control.value) {
            slider->setValue(control.value);
        }
    } else if (auto* bar = qobject_cast<QProgressBar*>(&widget)) {
        bar->setRange(control.minimum, control.maximum);
        bar->setValue(control.value);
        bar->setFormat(QString::fromStdString(control.text));
    } else if (auto* tabs = qobject_cast<QTabBar*>(&widget)) {
        refreshTabs(control, *tabs, keepUsersValue);
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (control.kind != ControlKind::Picture) {
            const QString text = toScreenText(control.text);
            if (label->text() != text) {
                label->setText(text);
            }
        }
    }
    refreshColours(control, widget);
    if (widget.isEnabled() != control.enabled) {
        widget.setEnabled(control.enabled);
    }
    if (widget.isHidden() == control.visible) {
        widget.setHidden(!control.visible);
    }
}

void refreshAction(const Control& control, QAction& action) {
    const QSignalBlocker blocker(&action);
    const QString caption = captionText(control.text);
    if (action.text() != caption) {
        action.setText(caption);
    }
    action.setEnabled(control.enabled);
    action.setVisible(control.visible);
}

}  // namespace tunx::app
