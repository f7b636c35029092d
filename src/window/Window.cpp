#include "window/Window.h"

#include <stdexcept>

namespace tunx {

Control& Window::operator[](std::string_view controlName) {
    Control* c = find(controlName);
    if (c == nullptr) {
        throw std::out_of_range("no control " + std::string(controlName) + " in " + name_);
    }
    return *c;
}

const Control& Window::operator[](std::string_view controlName) const {
    return const_cast<Window&>(*this)[controlName];
}

Control* Window::find(std::string_view controlName) {
    auto it = byName_.find(controlName);
    return it == byName_.end() ? nullptr : it->second;
}

const Control* Window::find(std::string_view controlName) const {
    return const_cast<Window&>(*this).find(controlName);
}

Control& Window::add(Control control) {
    controls_.push_back(std::make_unique<Control>(std::move(control)));
    Control& c = *controls_.back();
    byName_[c.name] = &c;
    return c;
}

std::vector<std::string> Window::handlerNames() const {
    std::vector<std::string> out;
    for (const auto& [name, handler] : handlers_) {
        out.push_back(name);
    }
    return out;
}

void Window::on(const std::string& handlerName, std::function<void()> handler) {
    handlers_[handlerName] = std::move(handler);
}

bool Window::hasHandler(const std::string& handlerName) const {
    return handlers_.find(handlerName) != handlers_.end();
}

bool Window::run(const std::string& handlerName) {
    auto it = handlers_.find(handlerName);
    if (it == handlers_.end()) {
        return false;
    }
    it->second();
    return true;
}

bool Window::fire(const Control& control, std::string_view event) {
    return run(control.name + "_" + std::string(event));
}

void Window::typeText(Control& control, const std::string& text) {
    control.text = text;
    fire(control, event::kChange);
}

void Window::choose(Control& control, const std::string& text) {
    control.text = text;
    control.listIndex = -1;
    for (std::size_t i = 0; i < control.items.size(); ++i) {
        if (control.items[i] == text) {
            control.listIndex = static_cast<int>(i);
            break;
        }
    }
    fire(control, event::kClick);
}

void Window::check(Control& control, int value) {
    control.value = value;
    fire(control, event::kClick);
}

bool Window::sameLook(const Control& c, const Look& look) {
    return c.value == look.value && c.listIndex == look.listIndex && c.enabled == look.enabled &&
           c.visible == look.visible && c.back == look.back && c.fore == look.fore &&
           c.top == look.top && c.text == look.text && c.picture == look.picture &&
           c.items == look.items;
}

void Window::keepLook(const Control& c, Look& look) {
    look.text = c.text;
    look.value = c.value;
    look.items = c.items;
    look.listIndex = c.listIndex;
    look.enabled = c.enabled;
    look.visible = c.visible;
    look.back = c.back;
    look.fore = c.fore;
    look.picture = c.picture;
    look.top = c.top;
}

std::vector<const Control*> Window::takeChanged() {
    std::vector<const Control*> changed;
    const bool first = shown_.size() != controls_.size();
    shown_.resize(controls_.size());
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const Control& c = *controls_[i];
        if (first || !sameLook(c, shown_[i])) {
            keepLook(c, shown_[i]);
            changed.push_back(&c);
        }
    }
    return changed;
}

}  // namespace tunx
