#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "controls/frmMainControls.h"
#include "dds/OutputTraits.h"
#include "generator/Limits.h"

namespace tunx {

class frmMain;
class Link;
struct OutputMode;

// The groups of the panel a mode enables; every other group is disabled.
struct PanelLayout {
    bool modulation = false;
    bool sweep = false;
    bool pulse = false;
    bool invert = false;
    bool outmode = false;
    bool loutmode = false;
    bool frequency = false;
    bool amplitude = false;
    bool arbitrary = false;
    bool offset = false;  // VBias
};

// Lays out what follows the groups: the offset field and the amplitude entry.
using ArrangeLevels = void (*)(frmMainControls& panel, const PanelLayout& layout);
// Enables VBias as the layout says and resets the amplitude entry to 0.
void resetLevels(frmMainControls& panel, const PanelLayout& layout);

// The mode's entry rules: "Ok" or the message of the first rule that fails.
using Validate = std::string (*)(frmMainControls& panel, Link& link, const OutputMode& mode);
std::string noRules(frmMainControls& panel, Link& link, const OutputMode& mode);

// One set-up procedure of a refresh. With `stopOnError`, a failure of any command so far ends
// the sequence after it.
struct SetUpStep {
    void (*call)(frmMain& w, const OutputMode& mode);
    bool stopOnError = false;
};
inline constexpr bool kStopOnError = true;

// An entry typed into the panel.
struct PanelEntry {
    Ctl frmMainControls::*control;
    const char* text;
};

// The lowest and highest frequency of a mode, in hertz.
struct FrequencyRange {
    double lowest = 0;
    double highest = 0;
};

// The mode's text: every mode names one.
struct ModeText {
    constexpr ModeText(const char* text) : text(text) {}  // NOLINT: written as a plain text
    const char* text;
};

// One output mode of the generator: everything the panel, the validation and the refresh know
// of it. A mode is one file of generator/modes that defines its record, and one line of the
// catalogue that lists it.
struct OutputMode {
    ModeText name;       // as the mode box lists it and every decision compares it
    bool listed = true;  // offered in the mode box's list (else chosen by typing its name)
    PanelLayout layout;  // the groups enabled
    ArrangeLevels arrange = resetLevels;
    std::initializer_list<const char*> limitations;  // the lines of the Limitations box
    bool limitationsEndInBreak = false;              // each line ends in CR LF, the last too
    OutputTraits traits = {};                        // what the level procedures adjust for
    Validate validate = noRules;
    std::initializer_list<SetUpStep> setUp;  // what a refresh calls, in order
    bool switchOnAtEnd = true;               // a refresh that succeeded switches the output on
    // Entries with which the mode runs on the instrument, typed over the panel's start values
    // (a demonstration; the benchmarks, the soak run and the fault matrix use them).
    std::initializer_list<PanelEntry> example;
    // What the remote control's SOURce:FUNCtion calls it: the short form in capitals, the rest
    // of the long form in lower case ("SINusoid" is SIN or SINUSOID).
    const char* remoteName = "";
    // The frequencies its rules take (the remote control refuses others before typing them); a
    // mode without a frequency rule takes what the generator can put out.
    FrequencyRange frequencyHz = {0, limits::kMaxFrequencyHz};

    const char* text() const { return name.text; }
};

// Every output mode, in the mode box's order.
std::span<const OutputMode* const> outputModes();
// The mode a text names, compared exactly; null for any other text.
const OutputMode* outputModeOf(std::string_view text);

namespace modes {
// The mode the sweep analyser's fast sweep drives.
extern const OutputMode kSweepSineGenerator;
}  // namespace modes

}  // namespace tunx
