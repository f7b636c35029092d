#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "window/Window.h"

namespace tunx::test {

// What the user sees of each control (text, check value, list entry, enabled), one line each.
inline std::vector<std::string> snapshot(const Window& w) {
    std::vector<std::string> out;
    for (const auto& c : w.controls()) {
        out.push_back(c->name + " \"" + c->text + "\" " + std::to_string(c->value) + " " +
                      std::to_string(c->listIndex) + (c->enabled ? " enabled" : " disabled"));
    }
    return out;
}

// The controls that changed since `before` was taken, for readable failures.
inline std::vector<std::string> changedSince(const std::vector<std::string>& before,
                                             const Window& w) {
    const auto now = snapshot(w);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < before.size() && i < now.size(); ++i) {
        if (before[i] != now[i]) {
            out.push_back(before[i] + "  ->  " + now[i]);
        }
    }
    return out;
}

// Sets control texts, written "name=text|name=text", without running their actions.
inline void setTexts(Window& w, const std::string& fields) {
    std::istringstream in(fields);
    for (std::string field; std::getline(in, field, '|');) {
        const auto eq = field.find('=');
        w[field.substr(0, eq)].text = field.substr(eq + 1);
    }
}

}  // namespace tunx::test
