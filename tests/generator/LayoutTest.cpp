#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using Names = std::vector<std::string>;

// The panel's groups, in the order of a row's state letters below.
const char* const kGroups[] = {
    "modtype amfactor fmdrange modsource framemodulation amfunit lamfactor lfmdrange fmdrangeunit",
    "startf lstartf startfunit stopf lstopf stopfunit stepcnt steptimeunit singlesw lstepcnt "
    "steptime lsteptime frsweep",
    "Pulse LPulse PulseUnit Pause PauseUnit lPausep", "invert", "outmode", "loutmode",
    "Frek lfrek frequnit", "Vpp lvpp VppUnit",
    "frarb arbmode arbit larbit mintime lprofile1 lprofile2 multi1 multi2 samplet1 samplet2 "
    "startpt1 startpt2 endpt1 endpt2 profilet1 profilet2 lmultiplier lsamplet lsartpoint "
    "lfinalpoint lprofiletime loadfile flocation enpr2 lmintime",
    "VBias",
    // Controls no mode touches.
    "BiasMode BiasUnit termination fraCommands atten compon lowgain undersmon ampgain tbsgaten "
    "Label5 Calibrate SelectFile1 mintimen"};

// Mode, destination of the arbitrary waveform while laying out, the state of each group above
// ('1' enabled, '0' disabled, '-' left as it was) and whether the amplitude is reset to 0.
const std::tuple<const char*, const char*, const char*, bool> kRows[] = {
    {"Single Tone Sine", "Voltage", "0000001101-", true},
    {"Sine Modulated", "Voltage", "1000001101-", true},
    {"Pulse Generator", "Voltage", "0011110101-", true},
    {"Ramp", "Voltage", "0001001101-", true},
    {"Triangle", "Voltage", "0001001101-", true},
    {"Arbitrary", "Voltage", "0000010010-", false},
    {"Arbitrary", "Freq", "0000011111-", false},
    {"Arbitrary", "Phase", "0000011111-", false},
    {"Arbitrary", "Current", "000001001--", false},
    {"Sweep Sine Generator", "Voltage", "0100000101-", true},
    {"Square-Wave", "Voltage", "0000001101-", true},
    {"Square-Wave2", "Voltage", "0000001100-", true},
    {"Single Tone Sine2", "Voltage", "0000001101-", true},
};

TEST(PanelLayout, EnablesTheGroupsOfEachMode) {
    for (const auto& [mode, arbit, states, resetsVpp] : kRows) {
        // Laid out from an all-enabled and from an all-disabled panel, so that a group the
        // layout forgets to set shows up in one of the two.
        for (const bool before : {true, false}) {
            Rig rig;
            ASSERT_TRUE(rig.start());
            for (const auto& c : rig.w().controls()) {
                c->enabled = before;
            }
            setTexts(rig.w(), std::string("Vpp=7|arbit=") + arbit);
            const auto mark = rig.mark();
            rig.w().choose("ModeSelect", mode);
            const std::string where = std::string(mode) + "/" + arbit + (before ? " +" : " -");
            for (std::size_t g = 0; g < std::size(kGroups); ++g) {
                std::istringstream names(kGroups[g]);
                for (std::string name; names >> name;) {
                    EXPECT_EQ(rig.w()[name].enabled, states[g] == '-' ? before : states[g] == '1')
                        << where << ": " << name;
                }
            }
            EXPECT_EQ(rig.w()["Vpp"].text, resetsVpp ? "0" : "7") << where;
            EXPECT_FALSE(rig.s().gen.sgerror) << where;
            EXPECT_TRUE(rig.lines(mark).empty()) << where;  // no command, no message
        }
    }
}

TEST(PanelLayout, WritesTheLimitationsOfEachMode) {
    const char* const modes[] = {
        "Single Tone Sine", "Sine Modulated",   "Pulse Generator",      "Ramp",
        "Triangle",         "Arbitrary",        "Sweep Sine Generator", "Square-Wave",
        "Square-Wave2",     "Single Tone Sine2"};
    const char* const limitations[] = {
        // Single Tone Sine
        "Frequency Range(-3dB): 0.01 Hz - 100MHz\r\nMaximum Frequency: 200MHz \r\n"
        "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV",
        // Sine Modulated
        "Frequency Range(-3dB): 0.1 Hz -- 100MHz\r\nMaximum Frequency: 200MHz \r\n"
        "Amplitude Range:  10mV - 5000mV\r\nOffset Range: -1V  - +4V\r\n"
        "Offset Range(@50 Ohm):  -1V  - +4V\r\nMaximum Modulation Input Voltage: 4Vpp\r\n"
        "Maximum FM Deviation:100kHz\r\n",
        // Pulse Generator
        "Minimum pulse: 10ns\r\nMaximum Pulse 5s\r\nAmplitude Range:  10mV - 5000mV\r\n"
        "Offset Range:       -1V   - +4V\r\n",
        // Ramp
        "Frequency Range: 0.1 Hz - 100kHz\r\nAmplitude Range:  10mV - 5000mV\r\n"
        "Offset Range:       -1V - +4V\r\n",
        // Triangle
        "Frequency Range: 0.1 Hz-100kHz\r\nAmplitude Range:  10mV - 5000mV\r\n"
        "Offset Range:       -1V - +4V\r\n",
        // Arbitrary
        "Maximum points: 1024\r\nMinimum Points: 2\r\nMaximum sampling frequency: 100MHz\r\n"
        "Amplitude Range:  1mV - 5000mV\r\nOffset Range: -1V - +4V\r\n"
        "Phase Range: 0-360 deg.\r\nFrequency Range: 1Hz-200Mhz\r\n",
        // Sweep Sine Generator
        "Frequency Range: 10 Hz -- 100MHz  (200Mhz)\r\nAmplitude Range:  10mV-5000mV\r\n"
        "Offset Range:   -1V-+4V\r\nSteps range: 2-1000\r\n"
        "Step time range: 1-10000 us for Frequency 10Hz-20kHz\r\n"
        "Step time range: 1-650 us for Frequency 20kHz-200Mhz\r\n",
        // Square-Wave
        "Frequency Range(-3dB): 0.5 Hz - 50MHz\r\nMaximum Frequency: 50MHz \r\n"
        "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
        "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V",
        // Square-Wave2
        "Frequency Range(-3dB): 0.1 Hz - 50MHz\r\nMaximum Frequency: 100MHz \r\n"
        "Amplitude Range:  1000mV - 5000mV\r\nAmplitude Range(50 Ohm): 500mV - 2500mV\r\n"
        "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V",
        // Single Tone Sine2
        "Frequency Range(-3dB): 100MHz - 200MHz\r\nMaximum Frequency: 200MHz \r\n"
        "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
        "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V"};
    Rig rig;
    ASSERT_TRUE(rig.start());
    for (std::size_t i = 0; i < std::size(modes); ++i) {
        rig.w()["description"].text = "old";
        rig.w().choose("ModeSelect", modes[i]);
        EXPECT_EQ(rig.w()["description"].text, limitations[i]) << modes[i];
    }
}

// "Select Mode" asks for a mode and flags the error; any other text is not a mode. Neither
// changes the panel.
TEST(PanelLayout, TextsThatAreNoModeChangeNothing) {
    for (const std::string typed : {"Select Mode", "Sine", "single tone sine", "Ramp ", ""}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.w().choose("ModeSelect", "Pulse Generator");
        setTexts(rig.w(), "Vpp=3|ModeSelect=" + typed);
        rig.s().gen.sgerror = false;
        const auto before = snapshot(rig.w());
        const auto mark = rig.mark();
        ASSERT_TRUE(rig.run("ModeSelect_Click"));
        EXPECT_EQ(snapshot(rig.w()), before) << typed;
        EXPECT_EQ(rig.s().gen.sgerror, typed == "Select Mode") << typed;
        EXPECT_EQ(rig.lines(mark),
                  typed == "Select Mode" ? Names{"message Please Select Mode"} : Names{});
    }
}

// The output-stage controls record their settings for the next command sequence; a level
// text that is no 16-bit number leaves the level (555) as it was. None of them sends anything.
TEST(OutputStageControls, RecordTheirSettingsAndSendNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    for (const auto& [box, flag] : {std::pair{"atten", &GeneratorState::sgatten},
                                    {"undersmon", &GeneratorState::undersmonflag},
                                    {"lowgain", &GeneratorState::lowgain},
                                    {"compon", &GeneratorState::compon}}) {
        for (const int value : {1, 0, 1, 2}) {  // 2, greyed, is not ticked
            rig.w().check(box, value);
            EXPECT_EQ(rig.s().gen.*flag, value == 1) << box << " " << value;
        }
    }
    const std::pair<const char*, int> levels[] = {
        {"12.5", 12}, {"13.5", 14}, {" 7 ", 7},  {"-32768", -32768}, {"1e3", 1000},  {"", 555},
        {"abc", 555}, {"-", 555},   {"1e", 555}, {"32768", 555},     {"1e400", 555}, {"nan", 555}};
    for (const auto& [typed, level] : levels) {
        rig.s().gen.sgaten = 555;
        rig.w().typeText("tbsgaten", typed);
        EXPECT_EQ(rig.s().gen.sgaten, level) << '"' << typed << '"';
    }
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx::test
