#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>

#include "controls/Form1Controls.h"

namespace tunx {

class Form1;

// A monitor setting kept between runs, by its control.
using KeptControl = Ctl Form1Controls::*;

// Kept settings by control name, with the text each is kept as: a list's or a box's text, "0"
// or "1" for a check box.
using KeptSettings = std::map<std::string, std::string, std::less<>>;

// The monitor's settings that a run keeps for the next one, in the order they come back. The
// mode is kept too and comes back after them (see kKeptMode): a new setting goes at the end.
std::span<const KeptControl> keptControls();
inline constexpr KeptControl kKeptMode = &Form1Controls::selmonmode;

// The text `look` (a copy of one of `w`'s controls) is kept as; nothing when it is not kept.
std::optional<std::string> keptValue(const Form1Controls& w, const Control& control,
                                     const Control& look);
// Every kept setting as the controls hold it now.
KeptSettings keptSettings(const Form1Controls& w);

// Puts kept settings back as the user would choose them, through the controls' handlers: the
// settings in keptControls' order, then the mode. A value that does not fit its control (no
// entry of its list, not a number for a number field, not 0 or 1 for a check box) is passed
// over, and so is a value the handler refuses: the control keeps what it had.
void restoreKept(Form1& w, const KeptSettings& kept);

// The monitor as it starts: a measurement under way stops, the settings take `defaults` (the
// controls as built), and the positions, cursors and colours are those of the first start.
void restoreDefaults(Form1& w, const KeptSettings& defaults);

}  // namespace tunx
