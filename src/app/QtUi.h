#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "ports/Ui.h"

class QFileDialog;
class QPlainTextEdit;
class QWidget;

namespace tunx::app {

// What the Qt window system port needs from the program's windows.
class UiHost {
  public:
    virtual ~UiHost() = default;
    // The window dialogs belong to (may be null).
    virtual QWidget* dialogParent() = 0;
    // Shows the window of the model named `form`, brings `front` to the front, and runs the
    // shown window's activation once the current handler has ended.
    virtual void showForm(const std::string& form, const std::string& front) = 0;
    // The windows from their models: a dialog's event loop is about to paint them.
    virtual void refreshWindows() = 0;
    // Shows `control` from its model at once; null when no window has it.
    virtual QWidget* refreshControl(const Control& control) = 0;
};

inline constexpr const char* kDefaultTitle = "TUNX4K";

// A file dialog for the program's request: Open or Save, the program's filter converted
// to Qt's name filters (matched without regard to case), entry `filterIndex` (1-based)
// selected, showing `folder`. Qt's own dialog, so that the matching is the same on every
// desktop.
std::unique_ptr<QFileDialog> makeFileDialog(FileDialogKind kind, const std::string& title,
                                            const std::string& filter, int filterIndex,
                                            const QString& folder, QWidget* parent);

// The window system port on Qt: modal message boxes and file dialogs, the user's guide,
// the windows' showing, repainting and the busy cursor.
class QtUi : public Ui {
  public:
    explicit QtUi(UiHost& host);
    ~QtUi() override;

    void MsgBox(const std::string& text, MsgIcon icon,
                const std::optional<std::string>& title) override;
    bool MsgBoxYesNo(const std::string& text) override;
    std::string FileDialog(FileDialogKind kind, const std::string& title, const std::string& filter,
                           int filterIndex) override;
    void EndApplication() override;
    void OpenUsersGuide(const std::string& path) override;
    void ShowForm(const std::string& form, const std::string& front) override;
    void Repaint(const Control& control) override;
    void SetBusy(bool busy) override;

    // Ends a busy cursor the handler left on (it ended, or unwound on an error).
    void releaseBusy();

    // The read-only window that shows the user's guide where no desktop opens it.
    QPlainTextEdit* guideWindow() const { return guideWindow_.get(); }

  private:
    void showGuideText(const QString& path);

    UiHost& host_;
    bool busy_ = false;
    std::unique_ptr<QPlainTextEdit> guideWindow_;
};

}  // namespace tunx::app
