#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Rig.h"

namespace tunx::test {
namespace {

// The window's entry controls in its control order: a saved configuration lists them so.
TEST(PanelControls, EntryControlsFollowTheWindowOrder) {
    const std::vector<std::string> expected = {
        "mintimen",  "enpr2",       "arbmode",     "multi2",     "startpt2",   "endpt2",
        "endpt1",    "startpt1",    "multi1",      "mintime",    "flocation",  "arbit",
        "undersmon", "cmbDevice",   "description", "ModeSelect", "fmdrange",   "amfactor",
        "modtype",   "singlesw",    "steptime",    "stopfunit",  "startfunit", "stepcnt",
        "stopf",     "startf",      "ampgain",     "compon",     "tbsgaten",   "lowgain",
        "atten",     "termination", "invert",      "tcali",      "outmode",    "BiasMode",
        "Vpp",       "Frek",        "Pulse",       "BiasUnit",   "VppUnit",    "frequnit",
        "PauseUnit", "PulseUnit",   "Pause",       "VBias"};
    Rig rig;
    std::vector<std::string> order;
    for (const auto& c : rig.w().controls()) {
        if (c->kind == ControlKind::CheckBox || c->kind == ControlKind::TextBox ||
            c->kind == ControlKind::ComboBox) {
            order.push_back(c->name);
        }
    }
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace tunx::test
