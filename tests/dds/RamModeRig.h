#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/Rig.h"

namespace tunx::test {

// A started rig with the calibration values the RAM-mode expectations are computed with.
struct RamModeRig : Rig {
    RamModeRig() {
        EXPECT_TRUE(start());
        s().cal.ampfullscale = 7090.0F;
        s().cal.flat1M = 1.0F;
        s().cal.clkcorr = 1.0;
        s().host.groupSeparator = ',';
        s().gen.sgerror = false;
        ui.messages.clear();
    }

    // The pauses since `from` other than the 20 ms acknowledgement waits.
    std::vector<int> pauses(std::size_t from) const {
        std::vector<int> out;
        for (const std::string& l : lines(from)) {
            if (l.rfind("sleep ", 0) == 0 && l != "sleep 20") {
                out.push_back(std::stoi(l.substr(6)));
            }
        }
        return out;
    }

    // The time-out set before each frame since `from`, in frame order.
    std::vector<int> timeouts(std::size_t from) const {
        std::vector<int> out;
        int current = 0;
        for (const std::string& l : lines(from)) {
            if (l.rfind("timeouts ", 0) == 0) {
                current = std::stoi(l.substr(9));
            } else if (l.rfind("write ", 0) == 0 && std::count(l.begin(), l.end(), ' ') == 8) {
                out.push_back(current);
            }
        }
        return out;
    }
};

inline std::vector<std::array<int, 4>> repeatWord(std::array<int, 4> word, int n) {
    return std::vector<std::array<int, 4>>(static_cast<std::size_t>(n), word);
}

}  // namespace tunx::test
