#pragma once

#include <string>
#include <vector>

#include "ports/Ui.h"

namespace tunx {

// The window system as the windows see it: every call goes on to the program's Ui, and the
// windows a handler shows are kept, so that the program activates them once it has ended. While
// quiet, message boxes are not shown (settings put back at start-up ask nobody).
class ShownForms : public Ui {
  public:
    explicit ShownForms(Ui& inner) : inner_(inner) {}

    void MsgBox(const std::string& text, MsgIcon icon,
                const std::optional<std::string>& title) override {
        if (!quiet_) {
            inner_.MsgBox(text, icon, title);
        }
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

    // Message boxes are shown again when the returned guard goes.
    class Quiet {
      public:
        explicit Quiet(ShownForms& ui) : ui_(ui), was_(ui.quiet_) { ui_.quiet_ = true; }
        ~Quiet() { ui_.quiet_ = was_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

      private:
        ShownForms& ui_;
        bool was_;
    };

  private:
    Ui& inner_;
    bool quiet_ = false;
    std::vector<std::string> shown_;
};

}  // namespace tunx
