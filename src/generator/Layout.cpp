#include "generator/Layout.h"

#include <array>
#include <initializer_list>

#include "dds/Profile.h"
#include "ports/Ui.h"
#include "state/SharedState.h"

namespace tunx {

namespace {

constexpr const char* kMsgSelectMode = "Please Select Mode";
constexpr const char* kLineBreak = "\r\n";
constexpr const char* kVppReset = "0";

// A group of controls the layout enables or disables together.
using C = frmMainControls;
using Group = std::initializer_list<Ctl C::*>;

const Group kModulationGroup = {&C::modtype,   &C::amfactor,        &C::fmdrange,
                                &C::modsource, &C::framemodulation, &C::amfunit,
                                &C::lamfactor, &C::lfmdrange,       &C::fmdrangeunit};
const Group kSweepGroup = {&C::startf,   &C::lstartf,   &C::startfunit, &C::stopf,
                           &C::lstopf,   &C::stopfunit, &C::stepcnt,    &C::steptimeunit,
                           &C::singlesw, &C::lstepcnt,  &C::steptime,   &C::lsteptime,
                           &C::frsweep};
const Group kPulseGroup = {&C::Pulse, &C::LPulse,    &C::PulseUnit,
                           &C::Pause, &C::PauseUnit, &C::lPausep};
const Group kFrequencyGroup = {&C::Frek, &C::lfrek, &C::frequnit};
const Group kAmplitudeGroup = {&C::Vpp, &C::lvpp, &C::VppUnit};
const Group kArbitraryGroup = {&C::frarb,       &C::arbmode,      &C::arbit,     &C::larbit,
                               &C::mintime,     &C::lprofile1,    &C::lprofile2, &C::multi1,
                               &C::multi2,      &C::samplet1,     &C::samplet2,  &C::startpt1,
                               &C::startpt2,    &C::endpt1,       &C::endpt2,    &C::profilet1,
                               &C::profilet2,   &C::lmultiplier,  &C::lsamplet,  &C::lsartpoint,
                               &C::lfinalpoint, &C::lprofiletime, &C::loadfile,  &C::flocation,
                               &C::enpr2,       &C::lmintime};

struct ModeLayout {
    Mode mode;
    bool modulation, sweep, pulse, invert, outmode, loutmode, frequency, amplitude, arbitrary,
        vbias;
    bool descriptionEndsWithBreak;
    std::initializer_list<const char*> lines;
};

const std::array<ModeLayout, 10> kLayouts = {{
    {Mode::Sine,
     false,
     false,
     false,
     false,
     false,
     false,
     true,
     true,
     false,
     true,
     false,
     {"Frequency Range(-3dB): 0.01 Hz - 100MHz", "Maximum Frequency: 200MHz ",
      "Amplitude Range:  10mV - 5000mV", "Amplitude Range(50 Ohm): 10mV - 2500mV"}},
    {Mode::SineModulated,
     true,
     false,
     false,
     false,
     false,
     false,
     true,
     true,
     false,
     true,
     true,
     {"Frequency Range(-3dB): 0.1 Hz -- 100MHz", "Maximum Frequency: 200MHz ",
      "Amplitude Range:  10mV - 5000mV", "Offset Range: -1V  - +4V",
      "Offset Range(@50 Ohm):  -1V  - +4V", "Maximum Modulation Input Voltage: 4Vpp",
      "Maximum FM Deviation:100kHz"}},
    {Mode::Pulse,
     false,
     false,
     true,
     true,
     true,
     true,
     false,
     true,
     false,
     true,
     true,
     {"Minimum pulse: 10ns", "Maximum Pulse 5s", "Amplitude Range:  10mV - 5000mV",
      "Offset Range:       -1V   - +4V"}},
    {Mode::Ramp,
     false,
     false,
     false,
     true,
     false,
     false,
     true,
     true,
     false,
     true,
     true,
     {"Frequency Range: 0.1 Hz - 100kHz", "Amplitude Range:  10mV - 5000mV",
      "Offset Range:       -1V - +4V"}},
    {Mode::Triangle,
     false,
     false,
     false,
     true,
     false,
     false,
     true,
     true,
     false,
     true,
     true,
     {"Frequency Range: 0.1 Hz-100kHz", "Amplitude Range:  10mV - 5000mV",
      "Offset Range:       -1V - +4V"}},
    // Arbitrary: frequency, amplitude and VBias follow the arbit destination below.
    {Mode::Arbitrary,
     false,
     false,
     false,
     false,
     false,
     true,
     false,
     false,
     true,
     true,
     true,
     {"Maximum points: 1024", "Minimum Points: 2", "Maximum sampling frequency: 100MHz",
      "Amplitude Range:  1mV - 5000mV", "Offset Range: -1V - +4V", "Phase Range: 0-360 deg.",
      "Frequency Range: 1Hz-200Mhz"}},
    {Mode::Sweep,
     false,
     true,
     false,
     false,
     false,
     false,
     false,
     true,
     false,
     true,
     true,
     {"Frequency Range: 10 Hz -- 100MHz  (200Mhz)", "Amplitude Range:  10mV-5000mV",
      "Offset Range:   -1V-+4V", "Steps range: 2-1000",
      "Step time range: 1-10000 us for Frequency 10Hz-20kHz",
      "Step time range: 1-650 us for Frequency 20kHz-200Mhz"}},
    {Mode::Square,
     false,
     false,
     false,
     false,
     false,
     false,
     true,
     true,
     false,
     true,
     false,
     {"Frequency Range(-3dB): 0.5 Hz - 50MHz", "Maximum Frequency: 50MHz ",
      "Amplitude Range:  10mV - 5000mV", "Amplitude Range(50 Ohm): 10mV - 2500mV",
      "Offset Range: -1V - +4V", "Offset Range(@50 Ohm): -0.5V - +2V"}},
    {Mode::Square2,
     false,
     false,
     false,
     false,
     false,
     false,
     true,
     true,
     false,
     false,
     false,
     {"Frequency Range(-3dB): 0.1 Hz - 50MHz", "Maximum Frequency: 100MHz ",
      "Amplitude Range:  1000mV - 5000mV", "Amplitude Range(50 Ohm): 500mV - 2500mV",
      "Offset Range: -1V - +4V", "Offset Range(@50 Ohm): -0.5V - +2V"}},
    {Mode::Sine2,
     false,
     false,
     false,
     false,
     false,
     false,
     true,
     true,
     false,
     true,
     false,
     {"Frequency Range(-3dB): 100MHz - 200MHz", "Maximum Frequency: 200MHz ",
      "Amplitude Range:  10mV - 5000mV", "Amplitude Range(50 Ohm): 10mV - 2500mV",
      "Offset Range: -1V - +4V", "Offset Range(@50 Ohm): -0.5V - +2V"}},
}};

const ModeLayout* layoutOf(std::string_view modeText) {
    const std::optional<Mode> m = modeOf(modeText);
    for (const ModeLayout& l : kLayouts) {
        if (m == l.mode) {
            return &l;
        }
    }
    return nullptr;
}

void enable(frmMainControls& panel, const Group& group, bool on) {
    for (Ctl C::*member : group) {
        (panel.*member)->enabled = on;
    }
}

std::string joinDescription(const ModeLayout& l) {
    std::string out;
    bool first = true;
    for (const char* line : l.lines) {
        if (!first && !l.descriptionEndsWithBreak) {
            out += kLineBreak;
        }
        out += line;
        if (l.descriptionEndsWithBreak) {
            out += kLineBreak;
        }
        first = false;
    }
    return out;
}

}  // namespace

void AdjustInterfaceOptions(frmMainControls& panel, SharedState& state, Ui& ui) {
    const std::string modeText = panel.ModeSelect->text;
    if (modeText == mode::kSelectMode) {
        ui.MsgBox(kMsgSelectMode);
        state.gen.sgerror = true;
        return;
    }
    const ModeLayout* l = layoutOf(modeText);
    if (l == nullptr) {
        return;
    }
    enable(panel, kModulationGroup, l->modulation);
    enable(panel, kSweepGroup, l->sweep);
    enable(panel, kPulseGroup, l->pulse);
    panel.invert->enabled = l->invert;
    panel.outmode->enabled = l->outmode;
    panel.loutmode->enabled = l->loutmode;
    enable(panel, kFrequencyGroup, l->frequency);
    enable(panel, kAmplitudeGroup, l->amplitude);
    enable(panel, kArbitraryGroup, l->arbitrary);
    if (l->mode == Mode::Arbitrary) {
        const std::string& destination = panel.arbit->text;
        if (destination == kTargetVoltage) {
            panel.VBias->enabled = false;
        } else if (destination == kTargetFreq || destination == kTargetPhase) {
            enable(panel, kFrequencyGroup, true);
            enable(panel, kAmplitudeGroup, true);
            panel.VBias->enabled = true;
        }
    } else {
        panel.VBias->enabled = l->vbias;
        panel.Vpp->text = std::string(kVppReset);
    }
    panel.description->text = joinDescription(*l);
}

}  // namespace tunx
