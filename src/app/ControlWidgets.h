#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "window/Control.h"

class QAction;

namespace tunx::app {

// Widgets for the controls of a window model, and the refresh of a widget from its
// control. The widget kinds: label -> QLabel, text box -> QLineEdit (multi-line:
// QPlainTextEdit), drop-down list -> editable QComboBox, check box -> QCheckBox,
// button -> QPushButton, slider -> QSlider, tab strip -> QTabBar, picture -> QLabel,
// frame -> FrameBox (the group's box).

// A new widget for `control` (not a frame or a menu entry), parented to `parent`.
QWidget* createControlWidget(const Control& control, QWidget* parent);

// Model text as shown on screen and back: the program ends lines with CR LF.
QString toScreenText(const std::string& text);
std::string fromScreenText(const QString& text);

// Shows `control` on `widget`; signals of the widget are blocked meanwhile, so nothing of
// this reaches the model again. `installDir` is where picture files are looked up;
// `shownPicture` is the picture the widget shows now, updated when it changes. With
// `keepUsersValue` the value the user edits (text, check, list entry, slider, tab) stays as
// the user left it: an edit of the user's is on its way to the program.
void refreshWidget(const Control& control, QWidget& widget, const std::string& installDir,
                   std::string& shownPicture, bool keepUsersValue = false);

// Shows a menu entry's caption, enabled and visible state on its action.
void refreshAction(const Control& control, QAction& action);

// A caption for a button, check box, frame or menu: '&' shows as itself.
QString captionText(const std::string& text);

}  // namespace tunx::app
