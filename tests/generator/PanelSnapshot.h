#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "window/Window.h"

namespace tunx::test {

using Texts = std::vector<std::string>;

// What the user sees of each control (text, check value, list entry, enabled), one line each.
inline Texts snapshot(const Window& w) {
    Texts out;
    for (const auto& c : w.controls()) {
        out.push_back(c->name + " \"" + c->text + "\" " + std::to_string(c->value) + " " +
                      std::to_string(c->listIndex) + (c->enabled ? " enabled" : " disabled"));
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
