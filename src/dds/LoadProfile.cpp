// The Arbitrary mode's profile: the file dialog and loading the points into the RAM.
#include <string>
#include <vector>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "dds/AmplitudeEntry.h"
#include "dds/Failure.h"
#include "dds/MainClock.h"
#include "dds/Profile.h"
#include "dds/StepClock.h"
#include "dds/Units.h"
#include "dds/WaveRam.h"

namespace tunx {

namespace {

constexpr const char* kDialogTitle = "Load From File";
constexpr const char* kDialogFilter =
    "Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*";
constexpr int kDialogFilterIndex = 1;

constexpr int kSystemClockN = 20;
constexpr int kSystemClockMHzPerN = 20;
constexpr int kStepClockMHzPerN = static_cast<int>(kStepClockUnitHz / 1'000'000);

// Panel preset after a Voltage profile: the profile's levels span 0 V to 5 V (1.35 V into 50 ohm).
constexpr const char* kPresetBias = "2.5";
constexpr const char* kPresetAmplitude = "5";
constexpr const char* kPresetTerminatedLevel = "1.35";

// What the profile puts into the RAM, fully computed before anything is sent.
struct ProfileLoad {
    ArbTarget target = ArbTarget::Voltage;
    std::int16_t address = 0;
    std::vector<std::int32_t> words;  // in sending order: last point first
};

// Step 1 sets the clock of the destination; then the points are read and converted.
ProfileLoad prepareProfile(frmMainControls& panel, SharedState& s) {
    ProfileLoad load;
    const std::int16_t n = CInt(divide(1000.0, 5.0 * CDbl(panel.mintimen->text)));
    load.target = arbTarget(panel.arbit->text);
    if (load.target == ArbTarget::Voltage) {
        s.gen.ramclk = CLng(n * kStepClockUnitHz);
        panel.lmainclk->text = std::to_string(n * kStepClockMHzPerN) + unit::kMHz;
    } else {
        s.gen.ramclk = kSystemClockHz;
        panel.lmainclk->text = std::to_string(kSystemClockN * kSystemClockMHzPerN) + unit::kMHz;
    }
    const std::int16_t first = CInt(CDbl(panel.startpt1->text));
    const std::int16_t last = CInt(CDbl(panel.endpt1->text));
    // The words go to RAM addresses first-1 .. last-1; an empty or reversed range, or one
    // starting before the first address or reaching past the last (which the instrument would
    // wrap to the first), is not a profile.
    if (first < 1 || last < first || last > kRamWords) {
        throw RuntimeError(kOverflow);
    }
    const std::vector<std::int32_t> points = readProfilePoints(panel.flocation->text, last);
    load.address = static_cast<std::int16_t>(first - 1);
    for (int index = last; index >= first; --index) {
        load.words.push_back(profileWord(load.target, points[static_cast<std::size_t>(index - 1)],
                                         s.cal, s.gen.ramclk));
    }
    return load;
}

// Sends the words; Voltage and Phase fill bytes 1-2 and leave bytes 3-4 as the RAM write
// command left them, Freq fills all four.
bool sendProfile(Link& link, const ProfileLoad& load) {
    if (!ramwrinit(link, load.address, static_cast<std::int32_t>(load.words.size()))) {
        return false;
    }
    for (const std::int32_t word : load.words) {
        if (load.target == ArbTarget::Freq) {
            writeram32(link, word);
        } else {
            writeram16(link, word);
        }
    }
    return true;
}

void presetVoltagePanel(frmMainControls& panel) {
    const bool terminated = amplitude::terminated(panel);
    panel.VBias->text = terminated ? kPresetTerminatedLevel : kPresetBias;
    panel.Vpp->text = terminated ? kPresetTerminatedLevel : kPresetAmplitude;
    panel.VppUnit->text = unit::kVpp;
    panel.BiasMode->text = amplitude::kBiasHalfVpp;
}

}  // namespace

void SelectFile1_Click(frmMainControls& panel, Link& link) {
    const std::string path =
        link.ui().FileDialog(FileDialogKind::Open, kDialogTitle, kDialogFilter, kDialogFilterIndex);
    if (!path.empty()) {
        panel.flocation->text = path;
    }
}

void loadfile_Click(frmMainControls& panel, Link& link) {
    // The whole file is read and converted before the RAM write command goes out, so a bad
    // profile never leaves the instrument waiting for words that do not come.
    ProfileLoad load;
    try {
        load = prepareProfile(panel, link.state());
    } catch (const UnreadableProfile& e) {
        link.ui().MsgBox(e.description());
        failWith(link, kMsgProfileError);
        return;
    } catch (const RuntimeError&) {
        failWith(link, kMsgProfileError);
        return;
    }
    try {
        if (!sendProfile(link, load)) {
            return;  // the RAM primitives have shown the message and set sgerror
        }
    } catch (const RuntimeError&) {
        failWith(link, kMsgProfileError);
        return;
    }
    if (!link.rxver(kLabelRamAck)) {
        failWith(link, kMsgProfileError);
        return;
    }
    if (load.target == ArbTarget::Voltage) {
        presetVoltagePanel(panel);
    }
}

}  // namespace tunx
