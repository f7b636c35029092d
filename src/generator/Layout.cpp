#include "generator/Layout.h"

#include <array>
#include <initializer_list>

#include "ports/Ui.h"
#include "state/SharedState.h"

namespace tunx {

namespace {

constexpr const char* kMsgSelectMode = "Please Select Mode";
constexpr const char* kLineBreak = "\r\n";
constexpr const char* kVppReset = "0";

// Destinations of the arbitrary waveform in the arbit list.
constexpr const char* kToVoltage = "Voltage";
constexpr const char* kToFrequency = "Freq";
constexpr const char* kToPhase = "Phase";

using Names = std::initializer_list<const char*>;

const Names kModulationGroup = {"modtype",   "amfactor",        "fmdrange",
                                "modsource", "framemodulation", "amfunit",
                                "lamfactor", "lfmdrange",       "fmdrangeunit"};
const Names kSweepGroup = {"startf",    "lstartf",   "startfunit",   "stopf",    "lstopf",
                           "stopfunit", "stepcnt",   "steptimeunit", "singlesw", "lstepcnt",
                           "steptime",  "lsteptime", "frsweep"};
const Names kPulseGroup = {"Pulse", "LPulse", "PulseUnit", "Pause", "PauseUnit", "lPausep"};
const Names kFrequencyGroup = {"Frek", "lfrek", "frequnit"};
const Names kAmplitudeGroup = {"Vpp", "lvpp", "VppUnit"};
const Names kArbitraryGroup = {
    "frarb",     "arbmode",    "arbit",       "larbit",       "mintime",   "lprofile1",
    "lprofile2", "multi1",     "multi2",      "samplet1",     "samplet2",  "startpt1",
    "startpt2",  "endpt1",     "endpt2",      "profilet1",    "profilet2", "lmultiplier",
    "lsamplet",  "lsartpoint", "lfinalpoint", "lprofiletime", "loadfile",  "flocation",
    "enpr2",     "lmintime"};

struct ModeLayout {
    const char* mode;
    bool modulation, sweep, pulse, invert, outmode, loutmode, frequency, amplitude, arbitrary,
        vbias;
    bool descriptionEndsWithBreak;
    std::initializer_list<const char*> lines;
};

const std::array<ModeLayout, 10> kLayouts = {{
    {mode::kSine,
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
    {mode::kSineModulated,
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
    {mode::kPulse,
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
    {mode::kRamp,
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
    {mode::kTriangle,
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
    {mode::kArbitrary,
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
    {mode::kSweep,
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
    {mode::kSquare,
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
    {mode::kSquare2,
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
    {mode::kSine2,
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

const ModeLayout* layoutOf(const std::string& modeText) {
    for (const ModeLayout& l : kLayouts) {
        if (modeText == l.mode) {
            return &l;
        }
    }
    return nullptr;
}

void enable(Window& panel, const Names& names, bool on) {
    for (const char* n : names) {
        panel[n].enabled = on;
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

std::vector<std::string> modeDescription(const std::string& modeText) {
    const ModeLayout* l = layoutOf(modeText);
    if (l == nullptr) {
        return {};
    }
    return {l->lines.begin(), l->lines.end()};
}

void AdjustInterfaceOptions(Window& panel, SharedState& state, Ui& ui) {
    const std::string modeText = panel["ModeSelect"].text;
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
    panel["invert"].enabled = l->invert;
    panel["outmode"].enabled = l->outmode;
    panel["loutmode"].enabled = l->loutmode;
    enable(panel, kFrequencyGroup, l->frequency);
    enable(panel, kAmplitudeGroup, l->amplitude);
    enable(panel, kArbitraryGroup, l->arbitrary);
    if (modeText == mode::kArbitrary) {
        const std::string& destination = panel["arbit"].text;
        if (destination == kToVoltage) {
            panel["VBias"].enabled = false;
        } else if (destination == kToFrequency || destination == kToPhase) {
            enable(panel, kFrequencyGroup, true);
            enable(panel, kAmplitudeGroup, true);
            panel["VBias"].enabled = true;
        }
    } else {
        panel["VBias"].enabled = l->vbias;
        panel["Vpp"].text = std::string(kVppReset);
    }
    panel["description"].text = joinDescription(*l);
}

}  // namespace tunx
