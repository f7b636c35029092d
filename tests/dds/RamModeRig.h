#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/Rig.h"

namespace tunx::test {

using Words = std::vector<std::array<int, 4>>;
using Texts = std::vector<std::string>;
using C = frmMainControls;

// A started rig with the calibration values the RAM-mode expectations are computed with.
struct RamModeRig : Rig {
    RamModeRig() {
        EXPECT_TRUE(start());
        s().cal.ampfullscale = 7090.0F;
        s().cal.flat1M = 1.0F;
        s().cal.clkcorr = 1.0;
        s().gen.sgerror = false;
        ui.messages.clear();
    }

    // Sets panel texts and runs `procedure` on the panel; returns the mark before it.
    std::size_t call(void (*procedure)(frmMainControls&, Link&),
                     std::initializer_list<std::pair<Ctl frmMainControls::*, std::string>> texts) {
        for (const auto& [control, text] : texts) {
            (w().*control)->text = text;
        }
        const std::size_t m = mark();
        procedure(w(), link());
        return m;
    }

    // The frames since `from` as text: "code b1 b2 b3 b4 b5", joined by "; ".
    std::string sent(std::size_t from) const {
        std::string out;
        for (const Frame& f : frames(from)) {
            out += out.empty() ? "" : "; ";
            for (std::size_t i = 0; i < f.size(); ++i) {
                out += (i == 0 ? "" : " ") + std::to_string(f[i]);
            }
        }
        return out;
    }
};

// Level words {level, 0, 0, 0} in runs of (count, level).
inline Words levels(std::initializer_list<std::pair<int, int>> runs) {
    Words out;
    for (const auto& [count, level] : runs) {
        out.insert(out.end(), static_cast<std::size_t>(count), {level, 0, 0, 0});
    }
    return out;
}

}  // namespace tunx::test
