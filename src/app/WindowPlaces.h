#pragma once

#include <QString>
#include <set>

class QWidget;

namespace tunx::app {
class WindowView;
}

namespace tunx::app {

// Where the two windows open. The user's own placement from the last run comes back when it is
// still on a screen. Otherwise the generator window opens at the top left of the screen and the
// monitor beside it, or below it, when the screen has room for that; on a smaller screen the
// monitor opens at the top right, in front, so that its plot is not covered (the Window menu
// brings the generator to the front).
class WindowPlaces {
  public:
    // Places are kept in the user's settings only with `keep` and when the program has a name
    // for them (the program sets one; a test does not, and leaves the user's settings alone).
    explicit WindowPlaces(bool keep);

    void placeFirst(WindowView& generator);
    // The monitor window, shown for the first time; true when it should come to the front.
    bool placeBeside(WindowView& monitor, const QWidget& generator);
    // A window opened again from the Window menu: where it was, or where it first goes.
    void placeAgain(WindowView& window, const QWidget& generator);

    // Keeps where the window is now for the next run.
    void remember(const QWidget& window);
    // The window was put where the user left it.
    bool remembered(const QWidget& window) const;

  private:
    bool restore(QWidget& window);

    bool keep_ = false;
    std::set<QString> restored_;
    std::set<QString> placed_;
};

}  // namespace tunx::app
