#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "generator/frmMain.h"
#include "ports/Recording.h"
#include "program/Program.h"
#include "sim/VirtualInstrument.h"

namespace tunx::test {

// A Ui that answers every message box at once and keeps what was shown.
class TestUi : public Ui {
  public:
    struct Message {
        std::string text;
        MsgIcon icon;
        std::optional<std::string> title;
    };

    void MsgBox(const std::string& text, MsgIcon icon,
                const std::optional<std::string>& title) override {
        messages.push_back({text, icon, title});
    }
    std::string FileDialog(FileDialogKind, const std::string& title, const std::string& filter,
                           int) override {
        dialogTitles.push_back(title);
        dialogFilters.push_back(filter);
        if (answers.empty()) {
            return {};
        }
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
    void EndApplication() override { ended = true; }
    void OpenUsersGuide(const std::string& path) override { guides.push_back(path); }
    void ShowForm(const std::string& form, const std::string&) override { shown.push_back(form); }
    void Repaint(const Control&) override {}
    void SetBusy(bool) override {}

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) {
            out.push_back(m.text);
        }
        return out;
    }

    std::vector<Message> messages;
    std::deque<std::string> answers;
    std::vector<std::string> dialogTitles;
    std::vector<std::string> dialogFilters;
    std::vector<std::string> guides;
    std::vector<std::string> shown;
    bool ended = false;
};

// The program against the virtual instrument with the virtual clock, every port recorded.
struct Rig {
    Rig() : Rig(std::vector<std::string>{sim::kDefaultSerial}) {}
    explicit Rig(std::vector<std::string> serials);

    // The generator window's first activation; true when the device was opened.
    bool start();
    // Runs a generator handler as a user event would; false when the program ended itself.
    bool run(const std::string& handlerName);

    frmMain& w() { return program.generator(); }
    SharedState& s() { return program.state(); }
    Link& link() { return program.generator().link(); }

    // Transcript lines from index `from` on.
    std::vector<std::string> lines(std::size_t from = 0) const;
    std::size_t mark() const { return transcript.lines().size(); }
    // The six command bytes of every 8-byte frame written since `from`.
    std::vector<std::array<int, 6>> frames(std::size_t from = 0) const;
    // The 4-byte raw writes since `from`.
    std::vector<std::array<int, 4>> words(std::size_t from = 0) const;
    // The read time-out in force when each 8-byte frame since `from` was written.
    std::vector<int> timeouts(std::size_t from = 0) const;
    // The sum of the pauses since `from`.
    long long sleptMs(std::size_t from = 0) const;
    std::vector<std::string> messages() const { return ui.texts(); }

    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    Transcript transcript;
    RecordingUsbApi usb{sim, transcript};
    RecordingClock recClock{clock, transcript};
    TestUi ui;
    RecordingUi recUi{ui, transcript};
    Program program;
};

// Writes `content` to a fresh file in the test's temporary folder; returns its path.
std::string writeTempFile(const std::string& name, const std::string& content);

// Paths that name something other than a readable text file, each with the message that names
// it: a folder, a device without line breaks, a file far larger than any text file of the program.
std::vector<std::pair<std::string, std::string>> unreadablePaths();

// The command bytes as a frame list entry, for readable expectations.
using Frame = std::array<int, 6>;

}  // namespace tunx::test
