#pragma once

#include <QStringList>
#include <optional>
#include <string>

namespace tunx::app {

// The exit status of a program that cannot show its windows.
inline constexpr int kNoDisplayStatus = 2;

// What tunx4k says when it has no display to show its windows on.
std::string noDisplayText();

// The reason the windows cannot be shown, when that is plain before Qt starts: no window
// system is named (Qt's -platform option, QT_QPA_PLATFORM) and no display either (DISPLAY,
// WAYLAND_DISPLAY). nullopt when there may be one.
std::optional<std::string> missingDisplay(const QStringList& arguments);

// While it lives, Qt's failure to reach any window system (a display that is named but does not
// answer) ends the program with noDisplayText() and kNoDisplayStatus, instead of Qt's advice to
// reinstall the application. Other messages of Qt go to standard error as usual.
class DisplayFailureGuard {
  public:
    DisplayFailureGuard();
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};

}  // namespace tunx::app
