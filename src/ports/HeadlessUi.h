#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ports/Ui.h"

namespace tunx {

// The window system of a run without windows (the script runner, tests, benchmarks): every
// message box is answered with OK at once, questions and file dialogs take the queued replies
// and answers (none queued: No, cancelled), and what was asked for is kept for whoever wants to
// look.
class HeadlessUi : public Ui {
  public:
    struct Message {
        std::string text;
        MsgIcon icon = MsgIcon::None;
        std::optional<std::string> title;
    };
    struct Dialog {
        std::string title;
        std::string filter;
    };

    void MsgBox(const std::string& text, MsgIcon icon,
                const std::optional<std::string>& title) override {
        messages.push_back({text, icon, title});
    }
    bool MsgBoxYesNo(const std::string& text) override {
        questions.push_back(text);
        if (replies.empty()) {
            return false;
        }
        const bool yes = replies.front();
        replies.pop_front();
        return yes;
    }
    std::string FileDialog(FileDialogKind, const std::string& title, const std::string& filter,
                           int) override {
        dialogs.push_back({title, filter});
        if (answers.empty()) {
            return {};
        }
        std::string path = std::move(answers.front());
        answers.pop_front();
        return path;
    }
    void EndApplication() override { ended = true; }
    void OpenUsersGuide(const std::string& path) override { guides.push_back(path); }
    void ShowForm(const std::string& form, const std::string&) override { shown.push_back(form); }
    void Repaint(const Control&) override {}
    void SetBusy(bool) override {}

    // The message texts, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        out.reserve(messages.size());
        for (const Message& m : messages) {
            out.push_back(m.text);
        }
        return out;
    }

    std::deque<std::string> answers;  // the next file dialogs' answers, "" cancels
    std::deque<bool> replies;         // the next questions' replies, true for Yes
    std::vector<std::string> questions;
    std::vector<Message> messages;
    std::vector<Dialog> dialogs;
    std::vector<std::string> guides;
    std::vector<std::string> shown;
    bool ended = false;
};

}  // namespace tunx
