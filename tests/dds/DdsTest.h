#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "generator/OutputMode.h"
#include "support/Rig.h"

namespace tunx::test {

using Frames = std::vector<Frame>;
using Texts = std::vector<std::string>;
using Word = std::array<int, 4>;
using Words = std::vector<Word>;
using C = frmMainControls;
using Procedure = void (*)(frmMainControls&, Link&);
using Entries = std::initializer_list<std::pair<Ctl C::*, std::string>>;

// A level or frequency procedure as a refresh of the mode in ModeSelect calls it.
template <void (*Procedure)(frmMainControls&, Link&, const OutputTraits&)>
void ofMode(frmMainControls& panel, Link& link) {
    const OutputMode* mode = outputModeOf(panel.ModeSelect->text);
    Procedure(panel, link, mode != nullptr ? mode->traits : OutputTraits{});
}

// A started rig with a clear error flag and message list and the calibration values the
// expectations are worked out for, for running the generator's panel procedures one at a time.
struct DdsRig : Rig {
    DdsRig() {
        EXPECT_TRUE(start());
        s().cal.ampfullscale = 7090.0F;
        s().cal.flat1M = 1.0F;
        s().cal.clkcorr = 1.0;
        s().gen.sgerror = false;
        ui.messages.clear();
    }

    void set(Entries texts) {
        for (const auto& [control, text] : texts) {
            (w().*control)->text = text;
        }
    }

    // Sets panel texts and runs `procedure` on the panel; returns the mark before it.
    std::size_t call(Procedure procedure, Entries texts) {
        set(texts);
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

// One rig for a whole test, whose procedures run one after another.
class DdsTest : public ::testing::Test {
  protected:
    void set(Entries texts) { rig.set(texts); }

    // Runs `procedure` from a clear error flag and message list; returns the frames it wrote.
    Frames run(Procedure procedure) {
        rig.s().gen.sgerror = false;
        rig.ui.messages.clear();
        mark = rig.call(procedure, {});
        return rig.frames(mark);
    }

    // Whether the transcript of the last run holds `sequence` as consecutive lines.
    bool transcriptHas(const Texts& sequence) const {
        const Texts lines = rig.lines(mark);
        return !std::ranges::search(lines, sequence).empty();
    }

    DdsRig rig;
    std::size_t mark = 0;
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
