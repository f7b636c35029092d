#pragma once

#include <optional>
#include <string>

#include "controls/frmMainControls.h"
#include "dds/Modes.h"
#include "link/Link.h"

namespace tunx {

// The answer of InputValidation when every rule of the mode holds.
inline constexpr const char* kValidationOk = "Ok";

// Checks the entries the mode uses; "Ok" or the message of the first rule that failed. No mode
// (the mode box names none) asks for a mode selection.
std::string InputValidation(frmMainControls& panel, Link& link, std::optional<Mode> mode);

}  // namespace tunx
