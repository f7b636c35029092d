// What changed since the view last looked.
#include <gtest/gtest.h>

#include <functional>

#include "window/Window.h"

namespace tunx {
namespace {

class TwoBoxes : public Window {
  public:
    TwoBoxes() : Window("w", "Two boxes") {
        Control c;
        c.name = "a";
        a = add(c);
        c.name = "b";
        b = add(c);
    }
    Ctl a, b;
};

std::vector<std::string> names(const std::vector<const Control*>& controls) {
    std::vector<std::string> out;
    for (const Control* c : controls) {
        out.push_back(c->name);
    }
    return out;
}

using Names = std::vector<std::string>;

TEST(TakeChanged, EveryControlFirstThenOnlyThoseWhoseLookChanged) {
    TwoBoxes w;
    EXPECT_EQ(names(w.takeChanged()), (Names{"a", "b"}));
    EXPECT_TRUE(w.takeChanged().empty());
    // Each part of the look, written directly as procedures do.
    const std::function<void(Control&)> edits[] = {
        [](Control& c) { c.text = "x"; },
        [](Control& c) { c.value = 1; },
        [](Control& c) { c.items.push_back("i"); },
        [](Control& c) { c.listIndex = 0; },
        [](Control& c) { c.enabled = false; },
        [](Control& c) { c.visible = false; },
        [](Control& c) { c.back = colour::kRed; },
        [](Control& c) { c.fore = colour::kGreen; },
        [](Control& c) { c.picture = "run_btn.bmp"; },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        edits[i](*w.b);
        EXPECT_EQ(names(w.takeChanged()), Names{"b"}) << i;
        EXPECT_TRUE(w.takeChanged().empty()) << i;
    }
    // A change undone before the view looks is no change; both changed come in control order.
    w.a->text = "y";
    w.a->text = "";
    EXPECT_TRUE(w.takeChanged().empty());
    w.b->text = "z";
    w.a->enabled = false;
    EXPECT_EQ(names(w.takeChanged()), (Names{"a", "b"}));
}

}  // namespace
}  // namespace tunx
