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

bool Window::fire(std::string_view controlName, std::string_view event) {
    return run(std::string(controlName) + "_" + std::string(event));
}

void Window::typeText(std::string_view controlName, const std::string& text) {
    (*this)[controlName].text = text;
    fire(controlName, "Change");
}

void Window::choose(std::string_view controlName, const std::string& text) {
    Control& c = (*this)[controlName];
    c.text = text;
    c.listIndex = -1;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == text) {
            c.listIndex = static_cast<int>(i);
            break;
        }
    }
    fire(controlName, "Click");
}

void Window::check(std::string_view controlName, int value) {
    (*this)[controlName].value = value;
    fire(controlName, "Click");
}

}  // namespace tunx
