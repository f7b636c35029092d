#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using Names = std::vector<std::string>;

const Names kModulation = {"modtype", "amfactor",  "fmdrange",  "modsource",   "framemodulation",
                           "amfunit", "lamfactor", "lfmdrange", "fmdrangeunit"};
const Names kSweep = {"startf",    "lstartf",   "startfunit",   "stopf",    "lstopf",
                      "stopfunit", "stepcnt",   "steptimeunit", "singlesw", "lstepcnt",
                      "steptime",  "lsteptime", "frsweep"};
const Names kPulse = {"Pulse", "LPulse", "PulseUnit", "Pause", "PauseUnit", "lPausep"};
const Names kInvert = {"invert"};
const Names kOutmode = {"outmode"};
const Names kLoutmode = {"loutmode"};
const Names kFrequency = {"Frek", "lfrek", "frequnit"};
const Names kAmplitude = {"Vpp", "lvpp", "VppUnit"};
const Names kArbitrary = {"frarb",       "arbmode",      "arbit",       "larbit",    "mintime",
                          "lprofile1",   "lprofile2",    "multi1",      "multi2",    "samplet1",
                          "samplet2",    "startpt1",     "startpt2",    "endpt1",    "endpt2",
                          "profilet1",   "profilet2",    "lmultiplier", "lsamplet",  "lsartpoint",
                          "lfinalpoint", "lprofiletime", "loadfile",    "flocation", "enpr2",
                          "lmintime"};
const Names kVBias = {"VBias"};
// Controls no mode touches: they keep whatever state they had.
const Names kUntouched = {"BiasMode", "BiasUnit",  "termination", "fraCommands", "atten",
                          "compon",   "lowgain",   "undersmon",   "ampgain",     "tbsgaten",
                          "Label5",   "Calibrate", "SelectFile1", "mintimen"};

constexpr int kKeep = -1;  // the control keeps its previous state

struct Row {
    const char* mode;
    const char* arbit;  // destination of the arbitrary waveform while laying out
    int modulation, sweep, pulse, invert, outmode, loutmode, frequency, amplitude, arbitrary, vbias;
    bool resetsVpp;
};

const Row kRows[] = {
    {"Single Tone Sine", "Voltage", 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, true},
    {"Sine Modulated", "Voltage", 1, 0, 0, 0, 0, 0, 1, 1, 0, 1, true},
    {"Pulse Generator", "Voltage", 0, 0, 1, 1, 1, 1, 0, 1, 0, 1, true},
    {"Ramp", "Voltage", 0, 0, 0, 1, 0, 0, 1, 1, 0, 1, true},
    {"Triangle", "Voltage", 0, 0, 0, 1, 0, 0, 1, 1, 0, 1, true},
    {"Arbitrary", "Voltage", 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, false},
    {"Arbitrary", "Freq", 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, false},
    {"Arbitrary", "Phase", 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, false},
    {"Arbitrary", "Current", 0, 0, 0, 0, 0, 1, 0, 0, 1, kKeep, false},
    {"Sweep Sine Generator", "Voltage", 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, true},
    {"Square-Wave", "Voltage", 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, true},
    {"Square-Wave2", "Voltage", 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, true},
    {"Single Tone Sine2", "Voltage", 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, true},
};

void setAllEnabled(Window& w, bool on) {
    for (const auto& c : w.controls()) {
        c->enabled = on;
    }
}

void expectGroup(const Window& w, const Names& group, int expected, bool before,
                 const std::string& where) {
    for (const std::string& name : group) {
        const bool want = expected == kKeep ? before : expected == 1;
        EXPECT_EQ(w[name].enabled, want) << where << ": " << name;
    }
}

TEST(PanelLayout, EnablesTheGroupsOfEachMode) {
    for (const Row& r : kRows) {
        // Laid out once from an all-enabled and once from an all-disabled panel, so that a
        // group the layout forgets to set shows up in one of the two.
        for (const bool before : {true, false}) {
            Rig rig;
            ASSERT_TRUE(rig.start());
            frmMain& w = rig.w();
            setAllEnabled(w, before);
            w["arbit"].text = r.arbit;
            w["Vpp"].text = "7";
            w.choose("ModeSelect", r.mode);
            const std::string where =
                std::string(r.mode) + "/" + r.arbit + (before ? " from enabled" : " from disabled");
            expectGroup(w, kModulation, r.modulation, before, where);
            expectGroup(w, kSweep, r.sweep, before, where);
            expectGroup(w, kPulse, r.pulse, before, where);
            expectGroup(w, kInvert, r.invert, before, where);
            expectGroup(w, kOutmode, r.outmode, before, where);
            expectGroup(w, kLoutmode, r.loutmode, before, where);
            expectGroup(w, kFrequency, r.frequency, before, where);
            expectGroup(w, kAmplitude, r.amplitude, before, where);
            expectGroup(w, kArbitrary, r.arbitrary, before, where);
            expectGroup(w, kVBias, r.vbias, before, where);
            expectGroup(w, kUntouched, kKeep, before, where);
            EXPECT_EQ(w["Vpp"].text, r.resetsVpp ? "0" : "7") << where;
            EXPECT_FALSE(rig.s().gen.sgerror) << where;
            EXPECT_TRUE(rig.messages().empty()) << where;
        }
    }
}

TEST(PanelLayout, WritesTheLimitationsOfEachMode) {
    const std::map<std::string, std::string> expected = {
        {"Single Tone Sine",
         "Frequency Range(-3dB): 0.01 Hz - 100MHz\r\nMaximum Frequency: 200MHz \r\n"
         "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV"},
        {"Sine Modulated",
         "Frequency Range(-3dB): 0.1 Hz -- 100MHz\r\nMaximum Frequency: 200MHz \r\n"
         "Amplitude Range:  10mV - 5000mV\r\nOffset Range: -1V  - +4V\r\n"
         "Offset Range(@50 Ohm):  -1V  - +4V\r\nMaximum Modulation Input Voltage: 4Vpp\r\n"
         "Maximum FM Deviation:100kHz\r\n"},
        {"Pulse Generator",
         "Minimum pulse: 10ns\r\nMaximum Pulse 5s\r\nAmplitude Range:  10mV - 5000mV\r\n"
         "Offset Range:       -1V   - +4V\r\n"},
        {"Ramp",
         "Frequency Range: 0.1 Hz - 100kHz\r\nAmplitude Range:  10mV - 5000mV\r\n"
         "Offset Range:       -1V - +4V\r\n"},
        {"Triangle",
         "Frequency Range: 0.1 Hz-100kHz\r\nAmplitude Range:  10mV - 5000mV\r\n"
         "Offset Range:       -1V - +4V\r\n"},
        {"Arbitrary",
         "Maximum points: 1024\r\nMinimum Points: 2\r\nMaximum sampling frequency: 100MHz\r\n"
         "Amplitude Range:  1mV - 5000mV\r\nOffset Range: -1V - +4V\r\n"
         "Phase Range: 0-360 deg.\r\nFrequency Range: 1Hz-200Mhz\r\n"},
        {"Sweep Sine Generator",
         "Frequency Range: 10 Hz -- 100MHz  (200Mhz)\r\nAmplitude Range:  10mV-5000mV\r\n"
         "Offset Range:   -1V-+4V\r\nSteps range: 2-1000\r\n"
         "Step time range: 1-10000 us for Frequency 10Hz-20kHz\r\n"
         "Step time range: 1-650 us for Frequency 20kHz-200Mhz\r\n"},
        {"Square-Wave",
         "Frequency Range(-3dB): 0.5 Hz - 50MHz\r\nMaximum Frequency: 50MHz \r\n"
         "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
         "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V"},
        {"Square-Wave2",
         "Frequency Range(-3dB): 0.1 Hz - 50MHz\r\nMaximum Frequency: 100MHz \r\n"
         "Amplitude Range:  1000mV - 5000mV\r\nAmplitude Range(50 Ohm): 500mV - 2500mV\r\n"
         "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V"},
        {"Single Tone Sine2",
         "Frequency Range(-3dB): 100MHz - 200MHz\r\nMaximum Frequency: 200MHz \r\n"
         "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
         "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V"},
    };
    Rig rig;
    ASSERT_TRUE(rig.start());
    for (const auto& [mode, text] : expected) {
        rig.w()["description"].text = "old";
        rig.w().choose("ModeSelect", mode);
        EXPECT_EQ(rig.w()["description"].text, text) << mode;
    }
}

TEST(PanelLayout, SelectModeAsksForAModeAndChangesNothingElse) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.s().gen.sgerror = false;
    rig.w()["ModeSelect"].text = "Select Mode";
    const auto before = snapshot(rig.w());
    ASSERT_TRUE(rig.run("ModeSelect_Click"));
    EXPECT_TRUE(rig.s().gen.sgerror);
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, "Please Select Mode");
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::None);
    EXPECT_FALSE(rig.ui.messages[0].title.has_value());
    EXPECT_EQ(differences(before, snapshot(rig.w())), std::vector<std::string>{});
}

TEST(PanelLayout, AnUnknownModeTextChangesNothing) {
    for (const char* typed : {"Sine", "single tone sine", "Single Tone Sine ", ""}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.w().choose("ModeSelect", "Pulse Generator");
        rig.w()["Vpp"].text = "3";
        rig.w()["ModeSelect"].text = typed;
        const auto before = snapshot(rig.w());
        const bool errorBefore = rig.s().gen.sgerror;
        ASSERT_TRUE(rig.run("ModeSelect_Click"));
        EXPECT_EQ(differences(before, snapshot(rig.w())), std::vector<std::string>{}) << typed;
        EXPECT_EQ(rig.s().gen.sgerror, errorBefore);
        EXPECT_TRUE(rig.messages().empty());
    }
}

TEST(PanelLayout, ChoosingTheArbitraryDestinationLaysThePanelOutAgain) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w()["arbit"].text = "Voltage";
    rig.w().choose("ModeSelect", "Arbitrary");
    EXPECT_FALSE(rig.w()["Frek"].enabled);
    EXPECT_FALSE(rig.w()["VBias"].enabled);
    rig.w().choose("arbit", "Phase");
    EXPECT_TRUE(rig.w()["Frek"].enabled);
    EXPECT_TRUE(rig.w()["Vpp"].enabled);
    EXPECT_TRUE(rig.w()["VBias"].enabled);
    rig.w().choose("arbit", "Voltage");
    EXPECT_FALSE(rig.w()["Frek"].enabled);
    EXPECT_FALSE(rig.w()["VBias"].enabled);
}

TEST(PanelLayout, TheSecondSineIsLaidOutOnlyWhenItsTextStandsInTheBox) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w().choose("ModeSelect", "Pulse Generator");
    rig.w()["ModeSelect"].text = "Single Tone Sine2";  // typed: nothing happens yet
    EXPECT_FALSE(rig.w()["Frek"].enabled);
    rig.w().choose("arbit", "Voltage");  // any re-layout picks up the typed mode
    EXPECT_TRUE(rig.w()["Frek"].enabled);
    EXPECT_FALSE(rig.w()["Pulse"].enabled);
    EXPECT_EQ(rig.w()["description"].text.substr(0, 38), "Frequency Range(-3dB): 100MHz - 200MHz");
}

TEST(PanelLayout, NothingIsSentToTheInstrument) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    for (const Row& r : kRows) {
        rig.w()["arbit"].text = r.arbit;
        rig.w().choose("ModeSelect", r.mode);
    }
    EXPECT_TRUE(rig.frames(mark).empty());
}

}  // namespace
}  // namespace tunx::test
