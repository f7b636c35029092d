#include "generator/Layout.h"

#include <initializer_list>
#include <string>

#include "generator/OutputMode.h"
#include "ports/Ui.h"
#include "state/SharedState.h"

namespace tunx {

namespace {

constexpr const char* kMsgSelectMode = "Please Select Mode";
// The mode box's text that asks for a mode.
constexpr const char* kSelectMode = "Select Mode";
constexpr const char* kLineBreak = "\r\n";
constexpr const char* kVppReset = "0";

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

const Group& members(PanelGroup group) {
    switch (group) {
        case PanelGroup::Modulation:
            return kModulationGroup;
        case PanelGroup::Sweep:
            return kSweepGroup;
        case PanelGroup::Pulse:
            return kPulseGroup;
        case PanelGroup::Frequency:
            return kFrequencyGroup;
        case PanelGroup::Amplitude:
            return kAmplitudeGroup;
        case PanelGroup::Arbitrary:
            break;
    }
    return kArbitraryGroup;
}

std::string joinLimitations(const OutputMode& m) {
    std::string out;
    bool first = true;
    for (const char* line : m.limitations) {
        if (!first && !m.limitationsEndInBreak) {
            out += kLineBreak;
        }
        out += line;
        if (m.limitationsEndInBreak) {
            out += kLineBreak;
        }
        first = false;
    }
    return out;
}

}  // namespace

void enable(frmMainControls& panel, PanelGroup group, bool on) {
    for (Ctl C::*member : members(group)) {
        (panel.*member)->enabled = on;
    }
}

void resetLevels(frmMainControls& panel, const PanelLayout& layout) {
    panel.VBias->enabled = layout.offset;
    panel.Vpp->text = std::string(kVppReset);  // assigning the bare text trips a false -Wrestrict
}

void AdjustInterfaceOptions(frmMainControls& panel, SharedState& state, Ui& ui) {
    const std::string modeText = panel.ModeSelect->text;
    if (modeText == kSelectMode) {
        ui.MsgBox(kMsgSelectMode);
        state.gen.sgerror = true;
        return;
    }
    const OutputMode* m = outputModeOf(modeText);
    if (m == nullptr) {
        return;
    }
    const PanelLayout& l = m->layout;
    enable(panel, PanelGroup::Modulation, l.modulation);
    enable(panel, PanelGroup::Sweep, l.sweep);
    enable(panel, PanelGroup::Pulse, l.pulse);
    panel.invert->enabled = l.invert;
    panel.outmode->enabled = l.outmode;
    panel.loutmode->enabled = l.loutmode;
    enable(panel, PanelGroup::Frequency, l.frequency);
    enable(panel, PanelGroup::Amplitude, l.amplitude);
    enable(panel, PanelGroup::Arbitrary, l.arbitrary);
    m->arrange(panel, l);
    panel.description->text = joinLimitations(*m);
}

}  // namespace tunx
