// Every window's handles: each bound, to its own control, in the window's control order.
#include <gtest/gtest.h>

#include <set>

#include "support/Rig.h"

namespace tunx::test {
namespace {

// The controls the handles are bound to, in declaration order (null for an unbound one).
template <typename Controls>
std::vector<const Control*> boundTo(const Controls& controls) {
    std::vector<const Control*> out;
    for (const Ctl& handle : handlesOf(controls)) {
        out.push_back(handle.get());
    }
    return out;
}

std::vector<const Control*> controlsOf(const Window& w) {
    std::vector<const Control*> out;
    for (const auto& c : w.controls()) {
        out.push_back(c.get());
    }
    return out;
}

// The declaration order of the handles is the window's control order, so each handle must be
// bound to the control at its own place: a handle bound twice, left unbound or bound to
// another control's place shows as a difference here.
TEST(Handles, EachWindowHasOneHandlePerControlBoundInControlOrder) {
    Rig rig;
    const std::pair<std::vector<const Control*>, std::vector<const Control*>> windows[] = {
        {boundTo<frmMainControls>(rig.w()), controlsOf(rig.w())},
        {boundTo<Form1Controls>(rig.program.monitor()), controlsOf(rig.program.monitor())},
    };
    for (const auto& [handles, controls] : windows) {
        EXPECT_EQ(handles, controls);
        EXPECT_EQ(std::set<const Control*>(handles.begin(), handles.end()).size(), handles.size());
    }
}

}  // namespace
}  // namespace tunx::test
