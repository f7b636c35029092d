#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/PanelLayout.h"
#include "window/Window.h"

class QAction;
class QGridLayout;
class QMenu;
class QVBoxLayout;

namespace tunx::app {

class FrameBox;
class PictureCanvas;
class PlotPanel;

// A window of the program on screen: widgets for the controls of a window model, grouped
// in boxes by the controls' groups, and a menu bar for its menu entries. User input writes
// the model and runs the control's handler through `dispatch`, which admits one handler at
// a time; after every handler the widgets of the controls that changed show the model again.
// A picture control shows `picture` when one is given.
class WindowView : public QMainWindow {
  public:
    // Runs `action` (which edits the model and runs a handler) as one handler of `window`;
    // false when it was not admitted. The model is untouched then.
    using Dispatch = std::function<bool(Window& window, const std::function<void()>& action)>;

    WindowView(Window& model, const PanelLayout& layout, std::string installDir, Dispatch dispatch,
               PictureCanvas* picture = nullptr);

    Window& model() { return model_; }

    // Every widget, the menu and the caption from the model.
    void refresh();
    // The widgets and menu entries of `controls` that are on this window, from the model.
    void refresh(const std::vector<const Control*>& controls);
    // The widget of `control` from the model; null when the control is not on this window.
    QWidget* refreshControl(const Control& control);

    QWidget* widgetFor(std::string_view controlName) const;
    QAction* actionFor(std::string_view controlName) const;

    // Asked when the user closes the window; the window closes only when it returns true.
    void setCloseRequest(std::function<bool()> request) { closeRequest_ = std::move(request); }

    // A size that shows the whole panel, within the screen's free area.
    QSize fittingSize() const;

    // Called with the mouse position over the picture, in its drawing units.
    void setPictureMouse(std::function<void(double x, double y)> onMove) {
        pictureMouse_ = std::move(onMove);
    }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Binding {
        const Control* control = nullptr;
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
    void refresh(Binding& binding);

    // User input: `edit` writes the model and runs the handler, as one handler.
    void userInput(const std::function<void()>& edit);

    Window& model_;
    std::string installDir_;
    Dispatch dispatch_;
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
