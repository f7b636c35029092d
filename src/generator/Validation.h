#pragma once

#include <string>

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

// The answer of InputValidation when every rule of the mode holds.
inline constexpr const char* kValidationOk = "Ok";

// Checks the entries the mode uses; "Ok" or the message of the first rule that failed.
std::string InputValidation(Window& panel, Link& link, const std::string& mode);

}  // namespace tunx
