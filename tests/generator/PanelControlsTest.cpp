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

TEST(PanelControls, InitialContents) {
    using Items = std::vector<std::string>;
    const Items freq{"Hz", "kHz", "MHz"};
    const Items time{"ns", "us", "ms"};
    const Items singleContinuous{"Single", "Continuous"};
    struct Row {
        const char* name;
        ControlKind kind;
        const char* text;
        Items items;
    };
    const Row rows[] = {
        {"ModeSelect",
         ControlKind::ComboBox,
         "Single Tone Sine",
         {"Single Tone Sine", "Sine Modulated", "Pulse Generator", "Ramp", "Triangle", "Arbitrary",
          "Sweep Sine Generator", "Square-Wave", "Square-Wave2"}},
        {"Frek", ControlKind::TextBox, "1", {}},
        {"frequnit", ControlKind::ComboBox, "kHz", freq},
        {"Vpp", ControlKind::TextBox, "1", {}},
        {"VppUnit", ControlKind::ComboBox, "Vpp", {"mVpp", "Vpp", "mVrms", "dBmV"}},
        {"VBias", ControlKind::TextBox, "0", {}},
        {"BiasUnit", ControlKind::ComboBox, " V", {"mV", " V"}},
        {"BiasMode", ControlKind::ComboBox, "Manual", {"Vpp/2", "Manual", "0.00V"}},
        {"modtype", ControlKind::ComboBox, "External AM", {"External FM", "External AM"}},
        {"amfactor", ControlKind::ComboBox, "4", {"4", "2", "1", "0.5"}},
        {"fmdrange", ControlKind::ComboBox, "1", {"1", "5", "10", "20", "50", "100"}},
        {"startf", ControlKind::TextBox, "10", {}},
        {"startfunit", ControlKind::ComboBox, "kHz", freq},
        {"stopf", ControlKind::TextBox, "20", {}},
        {"stopfunit", ControlKind::ComboBox, "kHz", freq},
        {"stepcnt", ControlKind::TextBox, "1000", {}},
        {"steptime", ControlKind::TextBox, "600", {}},
        {"singlesw", ControlKind::CheckBox, "Single Sweep", {}},
        {"Pulse", ControlKind::TextBox, "10", {}},
        {"PulseUnit", ControlKind::ComboBox, "us", time},
        {"Pause", ControlKind::TextBox, "15", {}},
        {"PauseUnit", ControlKind::ComboBox, "us", time},
        {"invert", ControlKind::CheckBox, "Invert", {}},
        {"outmode", ControlKind::ComboBox, "Continuous", singleContinuous},
        {"arbit", ControlKind::ComboBox, "Voltage", {"Phase", "Voltage", "Freq"}},
        {"arbmode", ControlKind::ComboBox, "Continuous", singleContinuous},
        {"enpr2", ControlKind::CheckBox, "Enable Profile 2", {}},
        {"multi1", ControlKind::TextBox, "100", {}},
        {"multi2", ControlKind::TextBox, "10", {}},
        {"startpt1", ControlKind::TextBox, "1", {}},
        {"startpt2", ControlKind::TextBox, "1", {}},
        {"endpt1", ControlKind::TextBox, "7", {}},
        {"endpt2", ControlKind::TextBox, "7", {}},
        {"mintime", ControlKind::TextBox, "10", {}},
        {"termination", ControlKind::CheckBox, "50 ohm term.", {}},
        {"atten", ControlKind::CheckBox, "20 dB Atten", {}},
        {"compon", ControlKind::CheckBox, "Comparator on", {}},
        {"lowgain", ControlKind::CheckBox, "Low Gain", {}},
        {"undersmon", ControlKind::CheckBox, "unders monitor", {}},
        {"ampgain", ControlKind::TextBox, "0", {}},
        {"tbsgaten", ControlKind::TextBox, "0", {}},
        {"Label5", ControlKind::Label, "sgaten(0-2046)", {}},
        {"Frame3", ControlKind::Frame, "Mode Selection", {}},
        {"Label1", ControlKind::Label, "Limitations", {}},
        {"lfrek", ControlKind::Label, "Frequency", {}},
        {"lvpp", ControlKind::Label, "Amplitude", {}},
        {"Label22", ControlKind::Label, "Offset", {}},
        {"framemodulation", ControlKind::Frame, "Modulation", {}},
        {"modsource", ControlKind::Label, "Source/Type", {}},
        {"lamfactor", ControlKind::Label, "Input V. for 100% AM", {}},
        {"amfunit", ControlKind::Label, "V", {}},
        {"lfmdrange", ControlKind::Label, "FM Range @4VPP", {}},
        {"fmdrangeunit", ControlKind::Label, "kHz", {}},
        {"frsweep", ControlKind::Frame, "Sweep Generator", {}},
        {"lstartf", ControlKind::Label, "Start Fr.", {}},
        {"lstopf", ControlKind::Label, "Stop Fr.", {}},
        {"lstepcnt", ControlKind::Label, "Steps", {}},
        {"lsteptime", ControlKind::Label, "Step time", {}},
        {"steptimeunit", ControlKind::Label, "us", {}},
        {"LPulse", ControlKind::Label, "Pulse", {}},
        {"lPausep", ControlKind::Label, "Pause", {}},
        {"loutmode", ControlKind::Label, "Mode", {}},
        {"frarb", ControlKind::Frame, "Arbitrary Waveform", {}},
        {"larbit", ControlKind::Label, "Arbitrary", {}},
        {"loadfile", ControlKind::Button, "Load Profile from file", {}},
        {"lprofile1", ControlKind::Label, "Profile 1", {}},
        {"lprofile2", ControlKind::Label, "Profile2", {}},
        {"lmultiplier", ControlKind::Label, "Multiplier", {}},
        {"lsartpoint", ControlKind::Label, "Start point", {}},
        {"lfinalpoint", ControlKind::Label, "Final point", {}},
        {"lsamplet", ControlKind::Label, "Sampl t(ns)", {}},
        {"samplet1", ControlKind::Label, "0", {}},
        {"samplet2", ControlKind::Label, "0", {}},
        {"lprofiletime", ControlKind::Label, "Profile t(ns)", {}},
        {"profilet1", ControlKind::Label, "0", {}},
        {"profilet2", ControlKind::Label, "0", {}},
        {"lmintime", ControlKind::Label, "Min. t(ns)", {}},
        {"fraCommands", ControlKind::Frame, "Output", {}},
        {"Calibrate", ControlKind::Button, "Update CalData", {}},
        {"Status", ControlKind::Label, "Status", {}},
        {"StatusBar", ControlKind::Label, "...", {}},
        {"lmainclk", ControlKind::Label, "400MHz", {}},
        {"Label4", ControlKind::Label, "CLK", {}},
        {"Label2", ControlKind::Label, "SN:", {}},
    };
    Rig rig;  // not started: the initial contents
    for (const Row& r : rows) {
        const Control& c = rig.w()[r.name];
        EXPECT_EQ(c.kind, r.kind) << r.name;
        EXPECT_EQ(c.text, r.text) << r.name;
        EXPECT_EQ(c.items, r.items) << r.name;
        EXPECT_TRUE(c.enabled) << r.name;
        EXPECT_EQ(c.value, 0) << r.name;
        if (!r.items.empty()) {
            ASSERT_GE(c.listIndex, 0) << r.name;
            EXPECT_EQ(c.items[static_cast<std::size_t>(c.listIndex)], c.text) << r.name;
        }
    }
    EXPECT_TRUE(rig.w()["description"].multiLine);
    EXPECT_EQ(rig.w()["flocation"].text, std::string(TUNX_SHARE_DIR) + "Voltage1.txt");
}

}  // namespace
}  // namespace tunx::test
