#pragma once

#include "ports/Ui.h"
#include "remote/Status.h"

namespace tunx::remote {

// The window system of a program served without windows: a message box becomes an execution
// error carrying the program's own text in the error queue; a file dialog is cancelled (a
// client never names a file on this machine); the user's guide does not open.
class QueueUi : public Ui {
  public:
    explicit QueueUi(Status& status) : status_(status) {}

    void MsgBox(const std::string& text, MsgIcon, const std::optional<std::string>&) override {
        status_.push({error::kExecution.number, text});
    }
    // No one at the windows to answer: a question is answered No, a file dialog cancelled.
    bool MsgBoxYesNo(const std::string&) override { return false; }
    std::string FileDialog(FileDialogKind, const std::string&, const std::string&, int) override {
        return {};
    }
    void EndApplication() override { ended_ = true; }
    void OpenUsersGuide(const std::string&) override {}
    void ShowForm(const std::string&, const std::string&) override {}
    void Repaint(const Control&) override {}
    void SetBusy(bool) override {}

    bool ended() const { return ended_; }

  private:
    Status& status_;
    bool ended_ = false;
};

}  // namespace tunx::remote
