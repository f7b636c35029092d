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

class WindowThread;

// What the Qt window system port needs from the program's windows.
class UiHost {
  public:
    virtual ~UiHost() = default;
    // On the window thread: the window dialogs belong to (may be null).
    virtual QWidget* dialogParent() = 0;
    // On the window thread: shows the window of the model named `form` and brings `front` to
    // the front (the program activates the shown window once the current handler has ended).
    virtual void showForm(const std::string& form, const std::string& front) = 0;
    // On the program's thread, while a handler runs: hands what changed so far to the windows.
    virtual void publishNow() = 0;
    // Where the calls into the windows go.
    virtual WindowThread& windowThread() = 0;
};

inline constexpr const char* kDefaultTitle = "TUNX4K";

// A file dialog for the program's request: Open or Save, the program's filter converted
// to Qt's name filters (matched without regard to case), entry `filterIndex` (1-based)
// selected, showing `folder`. Qt's own dialog, so that the matching is the same on every
// desktop.
std::unique_ptr<QFileDialog> makeFileDialog(FileDialogKind kind, const std::string& title,
                                            const std::string& filter, int filterIndex,
                                            const QString& folder, QWidget* parent);

// The window system port on Qt, called on the program's thread: modal message boxes and file
// dialogs run on the window thread while the handler that asked waits for the answer; the
// user's guide and the windows' showing are handed to the window thread without waiting; a
// repaint publishes what changed so far.
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
    // The window thread shows the busy cursor while a user's action runs long enough to be
    // felt; the program's own requests add nothing to that.
    void SetBusy(bool) override {}

    // On the program's thread: while set, message boxes (questions too) and file dialogs go to
    // `standIn` instead of the screen. A remote client's command runs with the client's own
    // stand-in, so that its messages reach the client and no dialog waits for a user who did
    // not ask.
    void setStandIn(Ui* standIn) { standIn_ = standIn; }

    // The window the user's guide is shown in; null until it was first opened.
    const QPlainTextEdit* guideWindow() const { return guideWindow_.get(); }

  private:
    void showGuideText(const QString& path);

    UiHost& host_;
    Ui* standIn_ = nullptr;  // the program's thread only
    std::unique_ptr<QPlainTextEdit> guideWindow_;
};

}  // namespace tunx::app
