#pragma once

#include <string>

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

// Checks the entries the mode uses; "Ok" or the message of the first rule that failed.
std::string InputValidation(Window& panel, Link& link, const std::string& mode);

}  // namespace tunx
