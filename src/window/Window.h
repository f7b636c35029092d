#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/Control.h"
#include "window/Ctl.h"

namespace tunx {

// The events a control's handler answers, as its name ends ("RUN_Click", "tbsgaten_Change").
namespace event {
inline constexpr const char* kClick = "Click";
inline constexpr const char* kChange = "Change";
}  // namespace event

// A window model: its controls in the window's control order, and its handlers by name
// ("RUN_Click", "tbsgaten_Change", "MenuBar_SaveCfg_Click"). Code reaches a control through
// the window's typed handles; the look-up by name serves the edges (scripts, configuration
// files, the view, transcripts).
class Window {
  public:
    explicit Window(std::string name, std::string caption)
        : name_(std::move(name)), caption_(std::move(caption)) {}
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }

    // Control by name; throws std::out_of_range for an unknown name.
    Control& operator[](std::string_view controlName);
    const Control& operator[](std::string_view controlName) const;
    Control* find(std::string_view controlName);
    const Control* find(std::string_view controlName) const;

    // Controls in the window's control order. The vector never grows after construction,
    // so references to controls stay valid.
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    bool hasHandler(const std::string& handlerName) const;
    // The names of the handlers, in alphabetical order.
    std::vector<std::string> handlerNames() const;
    // Runs the handler if there is one; returns whether there was.
    bool run(const std::string& handlerName);
    // Runs the control's handler for `event` ("Click", "Change") if it has one.
    bool fire(const Control& control, std::string_view event);

    // Sets a control's text (a typed entry) and runs its Change action.
    void typeText(Control& control, const std::string& text);
    // Picks a list entry (or any text, the lists being editable) and runs its Click action.
    void choose(Control& control, const std::string& text);
    // Sets a check box and runs its Click action.
    void check(Control& control, int value);

    // The controls whose look (text, check value, list, enabled, visible, colours, picture,
    // position)
    // differs from when this was last asked, in control order; every control the first time.
    // The view asks after each handler and updates those widgets only.
    std::vector<const Control*> takeChanged();

  protected:
    Control& add(Control control);
    void on(const std::string& handlerName, std::function<void()> handler);

  private:
    // What a control looked like when the changes were last taken.
    struct Look {
        std::string text;
        int value = 0;
        std::vector<std::string> items;
        int listIndex = -1;
        bool enabled = true;
        bool visible = true;
        Colour back = 0;
        Colour fore = 0;
        std::string picture;
        double top = 0;
    };
    static bool sameLook(const Control& c, const Look& look);
    static void keepLook(const Control& c, Look& look);

    std::string name_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<Look> shown_;  // parallel to controls_ once the changes were first taken
    std::map<std::string, Control*, std::less<>> byName_;
    std::map<std::string, std::function<void()>, std::less<>> handlers_;
};

}  // namespace tunx
