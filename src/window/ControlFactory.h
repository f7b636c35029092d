#pragma once

#include <string>
#include <vector>

#include "window/Control.h"

namespace tunx::make {

// Controls as a window builds them, with their text or caption and the panel group the view
// places them in.

inline Control control(ControlKind kind, const char* name, std::string text, const char* group) {
    Control c;
    c.name = name;
    c.kind = kind;
    c.text = std::move(text);
    c.group = group;
    return c;
}

inline Control textBox(const char* name, std::string text, const char* group) {
    return control(ControlKind::TextBox, name, std::move(text), group);
}

// An editable list showing `text`; the list index follows when the text is an entry.
inline Control comboBox(const char* name, std::string text, std::vector<std::string> items,
                        const char* group) {
    Control c = control(ControlKind::ComboBox, name, std::move(text), group);
    c.items = std::move(items);
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == c.text) {
            c.listIndex = static_cast<int>(i);
        }
    }
    return c;
}

inline Control checkBox(const char* name, const char* caption, const char* group) {
    return control(ControlKind::CheckBox, name, caption, group);
}

inline Control label(const char* name, const char* caption, const char* group) {
    return control(ControlKind::Label, name, caption, group);
}

inline Control frame(const char* name, const char* caption, const char* group) {
    return control(ControlKind::Frame, name, caption, group);
}

inline Control button(const char* name, const char* caption, const char* group) {
    return control(ControlKind::Button, name, caption, group);
}

inline Control menu(const char* name, const char* caption, const char* group) {
    return control(ControlKind::Menu, name, caption, group);
}

// A slider from `minimum` to `maximum` at `value`.
inline Control slider(const char* name, int minimum, int maximum, int value, const char* group) {
    Control c = control(ControlKind::Slider, name, "", group);
    c.minimum = minimum;
    c.maximum = maximum;
    c.value = value;
    return c;
}

// A tab strip with its tab captions; `selected` counts from 1. Its text is the caption of
// the selected tab.
inline Control tabStrip(const char* name, std::vector<std::string> tabs, int selected,
                        const char* group) {
    Control c = control(ControlKind::TabStrip, name, "", group);
    c.items = std::move(tabs);
    c.value = selected;
    c.text = c.items.at(static_cast<std::size_t>(selected - 1));
    return c;
}

inline Control picture(const char* name, const char* group) {
    return control(ControlKind::Picture, name, "", group);
}

// A timer running every `intervalMs` while enabled.
inline Control timer(const char* name, int intervalMs) {
    Control c = control(ControlKind::Timer, name, "", "");
    c.value = intervalMs;
    return c;
}

}  // namespace tunx::make
