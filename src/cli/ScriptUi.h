#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ports/Ui.h"

namespace tunx::cli {

// The window system of a headless run: message boxes are answered with OK at once, file
// dialogs take the script's queued answers, shown windows are activated after the handler.
class ScriptUi : public Ui {
  public:
    void MsgBox(const std::string&, MsgIcon, const std::optional<std::string>&) override {}
    std::string FileDialog(FileDialogKind, const std::string&, const std::string&, int) override;
    void EndApplication() override { ended_ = true; }
    void OpenUsersGuide(const std::string&) override {}
    void ShowForm(const std::string& form, const std::string&) override { shown_.push_back(form); }
    void Repaint(const Control&) override {}
    void SetBusy(bool) override {}

    void queueAnswer(std::string path) { answers_.push_back(std::move(path)); }
    bool ended() const { return ended_; }
    // Windows shown since the last call, to be activated once the handler has ended.
    std::vector<std::string> takeShown();

  private:
    std::deque<std::string> answers_;
    std::vector<std::string> shown_;
    bool ended_ = false;
};

}  // namespace tunx::cli
