#pragma once

#include <string>
#include <vector>

#include "ports/Ui.h"

namespace tunx {

// The window system as the windows see it: every call goes on to the program's Ui, and the
// windows a handler shows are kept, so that the program activates them once it has ended.
class ShownForms : public Ui {
  public:
    explicit ShownForms(Ui& inner) : inner_(inner) {}

    void MsgBox(const std::string& text, MsgIcon icon,
                const std::optional<std::string>& title) override {
        inner_.MsgBox(text, icon, title);
    }
    bool MsgBoxYesNo(const std::string& text) override { return inner_.MsgBoxYesNo(text); }
    std::string FileDialog(FileDialogKind kind, const std::string& title, const std::string& filter,
                           int filterIndex) override {
        return inner_.FileDialog(kind, title, filter, filterIndex);
    }
    void EndApplication() override { inner_.EndApplication(); }
    void OpenUsersGuide(const std::string& path) override { inner_.OpenUsersGuide(path); }
    void ShowForm(const std::string& form, const std::string& front) override {
        inner_.ShowForm(form, front);
        shown_.push_back(form);
    }
    void Repaint(const Control& control) override { inner_.Repaint(control); }
    void SetBusy(bool busy) override { inner_.SetBusy(busy); }

    // The windows shown since the last call, in the order they were shown.
    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(shown_);
        return out;
    }

  private:
    Ui& inner_;
    std::vector<std::string> shown_;
};

}  // namespace tunx
