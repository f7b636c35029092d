#pragma once

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

}  // namespace tunx::test
