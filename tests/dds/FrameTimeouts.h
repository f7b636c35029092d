#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "support/Rig.h"

namespace tunx::test {

// The read time-out in force when each 8-byte frame since `from` was written.
inline std::vector<int> frameTimeouts(const Rig& rig, std::size_t from) {
    std::vector<int> out;
    int current = -1;
    for (const std::string& line : rig.lines(from)) {
        if (line.rfind("timeouts ", 0) == 0) {
            current = std::stoi(line.substr(9));
        } else if (line.rfind("write ", 0) == 0 && line.find(" -> ") == std::string::npos &&
                   std::count(line.begin(), line.end(), ' ') == 8) {
            out.push_back(current);
        }
    }
    return out;
}

}  // namespace tunx::test
