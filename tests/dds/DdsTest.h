#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "support/Rig.h"

namespace tunx::test {

using Frames = std::vector<Frame>;
using Texts = std::vector<std::string>;
using Word = std::array<int, 4>;
using C = frmMainControls;
using Procedure = void (*)(frmMainControls&, Link&);

// A started rig for running the generator's panel procedures one at a time.
class DdsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(rig.start()); }

    void set(std::initializer_list<std::pair<Ctl C::*, std::string>> texts) {
        for (const auto& [control, text] : texts) {
            (rig.w().*control)->text = text;
        }
    }

    // Runs `procedure` from a clear error flag and message list; returns the frames it wrote.
    Frames run(Procedure procedure) {
        rig.s().gen.sgerror = false;
        rig.ui.messages.clear();
        mark = rig.mark();
        procedure(rig.w(), rig.link());
        return rig.frames(mark);
    }

    // Whether the transcript of the last run holds `sequence` as consecutive lines.
    bool transcriptHas(const Texts& sequence) const {
        const Texts lines = rig.lines(mark);
        return !std::ranges::search(lines, sequence).empty();
    }

    Rig rig;
    std::size_t mark = 0;
};

}  // namespace tunx::test
