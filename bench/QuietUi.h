#pragma once

#include <string>

#include "ports/Ui.h"

namespace tunx::bench {

// A window system that answers every message box at once and remembers the last one.
class QuietUi : public Ui {
  public:
    void MsgBox(const std::string& text, MsgIcon, const std::optional<std::string>&) override {
        ++messages;
        lastMessage = text;
    }
    std::string FileDialog(FileDialogKind, const std::string&, const std::string&, int) override {
        return {};
    }
    void EndApplication() override {}
    void OpenUsersGuide(const std::string&) override {}
    void ShowForm(const std::string&, const std::string&) override {}
    void Repaint(const Control&) override {}
    void SetBusy(bool) override {}

    int messages = 0;
    std::string lastMessage;
};

}  // namespace tunx::bench
