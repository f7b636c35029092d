#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

// The panel's groups, in the order of a row's state letters below: the entries of each group
// and one of its captions.
using C = frmMainControls;
const std::vector<std::vector<Ctl C::*>> kGroups = {
    {&C::modtype, &C::amfactor, &C::fmdrange, &C::lamfactor},
    {&C::startf, &C::startfunit, &C::stopf, &C::stopfunit, &C::stepcnt, &C::steptime, &C::singlesw,
     &C::lsteptime},
    {&C::Pulse, &C::PulseUnit, &C::Pause, &C::PauseUnit, &C::LPulse},
    {&C::invert},
    {&C::outmode},
    {&C::loutmode},
    {&C::Frek, &C::frequnit, &C::lfrek},
    {&C::Vpp, &C::VppUnit, &C::lvpp},
    {&C::arbmode, &C::arbit, &C::mintime, &C::multi1, &C::multi2, &C::startpt1, &C::startpt2,
     &C::endpt1, &C::endpt2, &C::flocation, &C::enpr2, &C::larbit},
    {&C::VBias},
    // Controls no mode touches.
    {&C::BiasMode, &C::BiasUnit, &C::termination, &C::fraCommands, &C::atten, &C::compon,
     &C::lowgain, &C::undersmon, &C::ampgain, &C::tbsgaten, &C::Label5, &C::Calibrate,
     &C::SelectFile1, &C::mintimen}};

// The limitation lines each mode writes, joined by line breaks, some with one at the end.
const char* const kLimits[] = {
    // 0: Single Tone Sine
    "Frequency Range(-3dB): 0.01 Hz - 100MHz\r\nMaximum Frequency: 200MHz \r\n"
    "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV",
    // 1: Sine Modulated
    "Frequency Range(-3dB): 0.1 Hz -- 100MHz\r\nMaximum Frequency: 200MHz \r\n"
    "Amplitude Range:  10mV - 5000mV\r\nOffset Range: -1V  - +4V\r\n"
    "Offset Range(@50 Ohm):  -1V  - +4V\r\nMaximum Modulation Input Voltage: 4Vpp\r\n"
    "Maximum FM Deviation:100kHz\r\n",
    // 2: Pulse Generator
    "Minimum pulse: 10ns\r\nMaximum Pulse 5s\r\nAmplitude Range:  10mV - 5000mV\r\n"
    "Offset Range:       -1V   - +4V\r\n",
    // 3: Ramp
    "Frequency Range: 0.1 Hz - 100kHz\r\nAmplitude Range:  10mV - 5000mV\r\n"
    "Offset Range:       -1V - +4V\r\n",
    // 4: Triangle
    "Frequency Range: 0.1 Hz-100kHz\r\nAmplitude Range:  10mV - 5000mV\r\n"
    "Offset Range:       -1V - +4V\r\n",
    // 5: Arbitrary
    "Maximum points: 1024\r\nMinimum Points: 2\r\nMaximum sampling frequency: 100MHz\r\n"
    "Amplitude Range:  1mV - 5000mV\r\nOffset Range: -1V - +4V\r\n"
    "Phase Range: 0-360 deg.\r\nFrequency Range: 1Hz-200Mhz\r\n",
    // 6: Sweep Sine Generator
    "Frequency Range: 10 Hz -- 100MHz  (200Mhz)\r\nAmplitude Range:  10mV-5000mV\r\n"
    "Offset Range:   -1V-+4V\r\nSteps range: 2-1000\r\n"
    "Step time range: 1-10000 us for Frequency 10Hz-20kHz\r\n"
    "Step time range: 1-650 us for Frequency 20kHz-200Mhz\r\n",
    // 7: Square-Wave
    "Frequency Range(-3dB): 0.5 Hz - 50MHz\r\nMaximum Frequency: 50MHz \r\n"
    "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
    "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V",
    // 8: Square-Wave2
    "Frequency Range(-3dB): 0.1 Hz - 50MHz\r\nMaximum Frequency: 100MHz \r\n"
    "Amplitude Range:  1000mV - 5000mV\r\nAmplitude Range(50 Ohm): 500mV - 2500mV\r\n"
    "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V",
    // 9: Single Tone Sine2
    "Frequency Range(-3dB): 100MHz - 200MHz\r\nMaximum Frequency: 200MHz \r\n"
    "Amplitude Range:  10mV - 5000mV\r\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
    "Offset Range: -1V - +4V\r\nOffset Range(@50 Ohm): -0.5V - +2V"};

// A text in the mode box, the destination of the arbitrary waveform, the state of each group
// ('1' enabled, '0' disabled, '-' left as it was), whether the amplitude is reset to 0 and the
// description ("-" is the text it had). "Select Mode" asks for a mode and flags the error; any
// other text is no mode. Neither changes the panel.
const std::tuple<const char*, const char*, const char*, bool, const char*> kRows[] = {
    {"Single Tone Sine", "Voltage", "0000001101-", true, kLimits[0]},
    {"Sine Modulated", "Voltage", "1000001101-", true, kLimits[1]},
    {"Pulse Generator", "Voltage", "0011110101-", true, kLimits[2]},
    {"Ramp", "Voltage", "0001001101-", true, kLimits[3]},
    {"Triangle", "Voltage", "0001001101-", true, kLimits[4]},
    {"Arbitrary", "Voltage", "0000010010-", false, kLimits[5]},
    {"Arbitrary", "Freq", "0000011111-", false, kLimits[5]},
    {"Arbitrary", "Phase", "0000011111-", false, kLimits[5]},
    {"Arbitrary", "Current", "000001001--", false, kLimits[5]},
    {"Sweep Sine Generator", "Voltage", "0100000101-", true, kLimits[6]},
    {"Square-Wave", "Voltage", "0000001101-", true, kLimits[7]},
    {"Square-Wave2", "Voltage", "0000001100-", true, kLimits[8]},
    {"Single Tone Sine2", "Voltage", "0000001101-", true, kLimits[9]},
    {"Select Mode", "Voltage", "-----------", false, "-"},
    {"Sine", "Voltage", "-----------", false, "-"},
};

TEST(PanelLayout, EnablesTheGroupsOfEachModeAndWritesItsLimitations) {
    for (const auto& [mode, arbit, states, resetsVpp, description] : kRows) {
        // Laid out from an all-enabled and from an all-disabled panel, so that a group the
        // layout forgets to set shows up in one of the two.
        for (const bool before : {true, false}) {
            Rig rig;
            ASSERT_TRUE(rig.start());
            std::ranges::for_each(rig.w().controls(), [&](const auto& c) { c->enabled = before; });
            setTexts(rig.w(),
                     std::string("Vpp=7|description=-|arbit=") + arbit + "|ModeSelect=" + mode);
            const auto mark = rig.mark();
            ASSERT_TRUE(rig.run("ModeSelect_Click"));
            SCOPED_TRACE(std::string(mode) + "/" + arbit + (before ? " from on" : " from off"));
            for (std::size_t g = 0; g < kGroups.size(); ++g) {
                for (Ctl C::*member : kGroups[g]) {
                    const Control& c = *(rig.w().*member);
                    const char state = states[g];
                    EXPECT_EQ(c.enabled, state == '-' ? before : state == '1') << c.name;
                }
            }
            EXPECT_EQ(rig.w().Vpp->text, resetsVpp ? "0" : "7");
            EXPECT_EQ(rig.w().description->text, description);
            const bool select = std::string(mode) == "Select Mode";
            EXPECT_EQ(rig.s().gen.sgerror, select);
            EXPECT_EQ(rig.lines(mark), select ? Texts{"message Please Select Mode"} : Texts{});
        }
    }
}

// The output-stage controls record their settings for the next command sequence; a level
// text that is no 16-bit number leaves the level (555) as it was. None of them sends anything.
TEST(OutputStageControls, RecordTheirSettingsAndSendNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    const std::pair<Ctl C::*, bool GeneratorState::*> boxes[] = {
        {&C::atten, &GeneratorState::sgatten},
        {&C::undersmon, &GeneratorState::undersmonflag},
        {&C::lowgain, &GeneratorState::lowgain},
        {&C::compon, &GeneratorState::compon}};
    for (const auto& [box, flag] : boxes) {
        Control& c = *(rig.w().*box);
        for (const int value : {1, 0, 1, 2}) {  // 2, greyed, is not ticked
            rig.w().check(c, value);
            EXPECT_EQ(rig.s().gen.*flag, value == 1) << c.name << " " << value;
        }
    }
    const std::pair<const char*, int> levels[] = {
        {"12.5", 12}, {"13.5", 14}, {" 7 ", 7},  {"-32768", -32768}, {"1e3", 1000},  {"", 555},
        {"abc", 555}, {"-", 555},   {"1e", 555}, {"32768", 555},     {"1e400", 555}, {"nan", 555}};
    for (const auto& [typed, level] : levels) {
        rig.s().gen.sgaten = 555;
        rig.w().typeText(*rig.w().tbsgaten, typed);
        EXPECT_EQ(rig.s().gen.sgaten, level) << '"' << typed << '"';
    }
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx::test
