#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/PanelLayout.h"
#include "program/ProgramThread.h"
#include "window/Window.h"

class QAction;
class QGridLayout;
class QMenu;
class QVBoxLayout;

namespace tunx::app {

class FrameBox;
class PictureCanvas;

// The Window menu's entry that brings the monitor back to its first start.
inline constexpr const char* kRestoreDefaults = "Restore defaults";
class PlotPanel;

// A window of the program on screen: widgets for the controls of a window model, grouped
// in boxes by the controls' groups, and a menu bar for its menu entries. The model belongs to
// the program's thread: the view builds its widgets from it before that thread starts, then
// reads only the looks the program publishes. User input goes to the program through
// `handOver` as a handler that edits the model; the widgets of the controls that changed show
// their published looks, except that a value the user has edited since is not written back.
// A picture control shows `picture` when one is given.
class WindowView : public QMainWindow {
  public:
    // Hands a handler to the program: `handler` edits the model and runs the control's
    // handler; `edited` is the control whose value the user changed (null for a button or a
    // menu entry) and `edit` the number of that edit.
    using HandOver = std::function<void(std::function<void()> handler, const Control* edited,
                                        std::uint64_t edit)>;

    WindowView(Window& model, const PanelLayout& layout, std::string installDir, HandOver handOver,
               PictureCanvas* picture = nullptr);

    // Shows a control's published look; false when the control is not on this window.
    bool showLook(const ControlLook& look);
    // Every widget and menu entry from the looks last published.
    void refresh();

    QWidget* widgetFor(std::string_view controlName) const;
    QAction* actionFor(std::string_view controlName) const;

    // Asked when the user closes the window; the window closes only when it returns true.
    void setCloseRequest(std::function<bool()> request) { closeRequest_ = std::move(request); }

    // A size that shows the whole panel, within the screen's free area.
    QSize fittingSize() const;

    // A Window menu with an entry for each of `windows` (by its title), which calls `open`,
    // and "Restore defaults", which calls `restoreDefaults`.
    void addWindowMenu(const std::vector<WindowView*>& windows,
                       const std::function<void(WindowView&)>& open,
                       const std::function<void()>& restoreDefaults);

    // Called with the mouse position over the picture, in its drawing units.
    void setPictureMouse(std::function<void(double x, double y)> onMove) {
        pictureMouse_ = std::move(onMove);
    }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Binding {
        const Control* control = nullptr;  // a key: the model is the program's thread's
        Control shown;                     // the look the widget shows
        QWidget* widget = nullptr;
        QAction* action = nullptr;
        std::string picture;  // the picture the widget shows now
    };
    struct Box {
        FrameBox* frame = nullptr;
        QGridLayout* grid = nullptr;
        int rows = 0;
    };

    void buildPanel(const PanelLayout& layout);
    QWidget* buildPlot(const PlotPlacement& plot);
    void buildMenus();
    Box& boxFor(const std::string& group, QVBoxLayout* column, bool titled = false);
    void place(Box& box, const Row& row);
    QWidget* bindWidget(Control& control, QWidget* parent, int span);
    void connectInput(Control& control, QWidget* widget);
    void bind(const Control& control, QWidget* widget, QAction* action);
    void refresh(Binding& binding, bool keepUsersValue = false);

    // User input: `handler` writes the model and runs the handler, as one handler; `edited`
    // is the control whose value the user changed.
    void userInput(const Control* edited, std::function<void()> handler);

    Window& model_;
    std::string installDir_;
    HandOver handOver_;
    // The user's edits of each control handed over so far.
    std::unordered_map<const Control*, std::uint64_t> edits_;
    std::function<bool()> closeRequest_;
    std::vector<Binding> bindings_;
    std::unordered_map<const Control*, std::size_t> byControl_;
    std::map<std::string, std::size_t, std::less<>> byName_;
    std::map<std::string, Box, std::less<>> boxes_;
    PictureCanvas* picture_ = nullptr;
    PlotPanel* plot_ = nullptr;
    std::function<void(double, double)> pictureMouse_;
    QWidget* panel_ = nullptr;
    QVBoxLayout* extraColumn_ = nullptr;
};

}  // namespace tunx::app
