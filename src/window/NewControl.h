#pragma once

// New controls of each kind, for the function that builds a window's controls:
// `Frek = add(text("Frek", "1", group::kFrequency))`.
#include <string>
#include <utility>
#include <vector>

#include "window/Control.h"

namespace tunx {

inline Control text(const char* name, std::string value, const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::TextBox;
    c.text = std::move(value);
    c.group = group;
    return c;
}

inline Control list(const char* name, std::string value, std::vector<std::string> items,
                    const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::ComboBox;
    c.text = std::move(value);
    c.items = std::move(items);
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == c.text) {
            c.listIndex = static_cast<int>(i);
        }
    }
    c.group = group;
    return c;
}

inline Control checkBox(const char* name, const char* caption, const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::CheckBox;
    c.text = caption;
    c.group = group;
    return c;
}

inline Control label(const char* name, const char* caption, const char* group) {
    Control c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.text = caption;
    c.group = group;
    return c;
}

inline Control frame(const char* name, const char* caption, const char* group) {
    Control c = label(name, caption, group);
    c.kind = ControlKind::Frame;
    return c;
}

inline Control button(const char* name, const char* caption, const char* group) {
    Control c = label(name, caption, group);
    c.kind = ControlKind::Button;
    return c;
}

inline Control menu(const char* name, const char* caption, const char* group) {
    Control c = label(name, caption, group);
    c.kind = ControlKind::Menu;
    return c;
}

inline Control picture(const char* name, const char* group) {
    Control c = label(name, "", group);
    c.kind = ControlKind::Picture;
    return c;
}

// A timer; its value is the interval in milliseconds.
inline Control timer(const char* name, int intervalMs) {
    Control c;
    c.name = name;
    c.kind = ControlKind::Timer;
    c.value = intervalMs;
    return c;
}

// A slider from `minimum` to `maximum` at `value`.
inline Control slider(const char* name, int minimum, int maximum, int value, const char* group) {
    Control c = label(name, "", group);
    c.kind = ControlKind::Slider;
    c.minimum = minimum;
    c.maximum = maximum;
    c.value = value;
    return c;
}

// A tab strip with its tab captions; `selected` counts from 1. Its text is the caption of
// the selected tab.
inline Control tabStrip(const char* name, std::vector<std::string> tabs, int selected,
                        const char* group) {
    Control c = label(name, "", group);
    c.kind = ControlKind::TabStrip;
    c.items = std::move(tabs);
    c.value = selected;
    c.text = c.items.at(static_cast<std::size_t>(selected - 1));
    return c;
}

// A progress bar from `minimum` to `maximum`, at `minimum`.
inline Control progress(const char* name, int minimum, int maximum, const char* group) {
    Control c = label(name, "", group);
    c.kind = ControlKind::Progress;
    c.minimum = minimum;
    c.maximum = maximum;
    c.value = minimum;
    return c;
}

}  // namespace tunx
