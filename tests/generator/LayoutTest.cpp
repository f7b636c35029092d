#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using namespace std::string_literals;

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

// A text in the mode box, the destination of the arbitrary waveform, the state of each group
// ('1' enabled, '0' disabled, '-' left as it was), whether the amplitude is reset to 0, and the
// mode's limitation text: its first line, its number of CR LF breaks and whether it ends in one.
// "Select Mode" asks for a mode and flags the error; any other text is no mode. Neither changes
// the panel (the description keeps its "-").
const std::tuple<const char*, const char*, const char*, bool, const char*, int, bool> kRows[] = {
    {"Single Tone Sine", "Voltage", "0000001101-", true, "Frequency Range(-3dB): 0.01 Hz - 100MHz",
     3, false},
    {"Sine Modulated", "Voltage", "1000001101-", true, "Frequency Range(-3dB): 0.1 Hz -- 100MHz", 7,
     true},
    {"Pulse Generator", "Voltage", "0011110101-", true, "Minimum pulse: 10ns", 4, true},
    {"Ramp", "Voltage", "0001001101-", true, "Frequency Range: 0.1 Hz - 100kHz", 3, true},
    {"Triangle", "Voltage", "0001001101-", true, "Frequency Range: 0.1 Hz-100kHz", 3, true},
    {"Arbitrary", "Voltage", "0000010010-", false, "Maximum points: 1024", 7, true},
    {"Arbitrary", "Freq", "0000011111-", false, "Maximum points: 1024", 7, true},
    {"Arbitrary", "Phase", "0000011111-", false, "Maximum points: 1024", 7, true},
    {"Arbitrary", "Current", "000001001--", false, "Maximum points: 1024", 7, true},
    {"Sweep Sine Generator", "Voltage", "0100000101-", true,
     "Frequency Range: 10 Hz -- 100MHz  (200Mhz)", 6, true},
    {"Square-Wave", "Voltage", "0000001101-", true, "Frequency Range(-3dB): 0.5 Hz - 50MHz", 5,
     false},
    {"Square-Wave2", "Voltage", "0000001100-", true, "Frequency Range(-3dB): 0.1 Hz - 50MHz", 5,
     false},
    {"Single Tone Sine2", "Voltage", "0000001101-", true, "Frequency Range(-3dB): 100MHz - 200MHz",
     5, false},
    {"Select Mode", "Voltage", "-----------", false, "-", 0, false},
    {"Sine", "Voltage", "-----------", false, "-", 0, false},
};

TEST(PanelLayout, EnablesTheGroupsOfEachModeAndWritesItsLimitations) {
    for (const auto& [mode, arbit, states, resetsVpp, first, breaks, endsInBreak] : kRows) {
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
            const std::string& text = rig.w().description->text;
            EXPECT_TRUE(breaks == 0 ? text == first : text.starts_with(first + "\r\n"s)) << text;
            EXPECT_EQ(std::pair(std::ranges::count(text, '\r'), std::ranges::count(text, '\n')),
                      std::pair(long{breaks}, long{breaks}));
            EXPECT_EQ(text.ends_with("\r\n"), endsInBreak);
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
