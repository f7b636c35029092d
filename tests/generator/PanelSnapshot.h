#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "window/Window.h"

namespace tunx::test {

// What the user sees of one control: its text, check value, list selection and enabled state.
struct ControlView {
    std::string name;
    std::string text;
    int value = 0;
    int listIndex = -1;
    bool enabled = true;
    bool operator==(const ControlView&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ControlView& c) {
    return os << c.name << " text=\"" << c.text << "\" value=" << c.value
              << " index=" << c.listIndex << (c.enabled ? " enabled" : " disabled");
}

inline std::vector<ControlView> snapshot(const Window& w) {
    std::vector<ControlView> out;
    for (const auto& c : w.controls()) {
        out.push_back({c->name, c->text, c->value, c->listIndex, c->enabled});
    }
    return out;
}

// Every control that differs between two snapshots of the same window, for readable failures.
inline std::vector<std::string> differences(const std::vector<ControlView>& before,
                                            const std::vector<ControlView>& after) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (!(before[i] == after[i])) {
            std::ostringstream line;
            line << before[i] << "  ->  " << after[i];
            out.push_back(line.str());
        }
    }
    return out;
}

}  // namespace tunx::test
