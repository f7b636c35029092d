#pragma once

#include <QObject>
#include <string>
#include <vector>

namespace tunx::app {

class App;

// A script played on the shown windows, for demonstrations and screenshots: the user's
// actions of tunx4k-cli scripts (set, choose, check, click, menu, tab, tick, mouse) and its
// `sim` lines, plus `wait MS` (the windows and the monitor's timer run on meanwhile),
// `shot FILE [WINDOW]` (a PNG of the
// whole screen, or of one window: frmMain or Form1) and `quit`. Lines run one after another from
// the event loop, so the windows repaint in between.
class GuiScript : public QObject {
  public:
    GuiScript(App& app, std::vector<std::string> lines);

    // Starts playing once the event loop runs; a line that cannot be done ends the program
    // with exit status 2 and says why on standard error.
    void play();

  private:
    void next();
    void fail(const std::string& why);

    App& app_;
    std::vector<std::string> lines_;
    std::size_t at_ = 0;
};

}  // namespace tunx::app
