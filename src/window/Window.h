#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/Control.h"

namespace tunx {

// A window model: its controls in the window's control order, and its handlers by name
// ("RUN_Click", "tbsgaten_Change", "MenuBar_SaveCfg_Click").
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
    // Runs the handler if there is one; returns whether there was.
    bool run(const std::string& handlerName);
    bool fire(std::string_view controlName, std::string_view event);

    // Sets a control's text (a typed entry) and runs its Change action.
    void typeText(std::string_view controlName, const std::string& text);
    // Picks a list entry (or any text, the lists being editable) and runs its Click action.
    void choose(std::string_view controlName, const std::string& text);
    // Sets a check box and runs its Click action.
    void check(std::string_view controlName, int value);

  protected:
    Control& add(Control control);
    void on(const std::string& handlerName, std::function<void()> handler);

  private:
    std::string name_;
    std::string caption_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*, std::less<>> byName_;
    std::map<std::string, std::function<void()>, std::less<>> handlers_;
};

}  // namespace tunx
