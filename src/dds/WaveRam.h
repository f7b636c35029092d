#pragma once

#include <cstdint>

#include "link/Link.h"
#include "window/Window.h"

namespace tunx {

inline constexpr const char* kMsgProfileError = "Loading Profile Error! Please, Verify your entry.";

// RAM write command (code 18): word count and start address. On failure shows the profile
// message and sets sgerror; returns whether it was acknowledged.
bool ramwrinit(Link& link, std::int16_t startadres, std::int32_t bytenumber);
// RAM read command (code 19), the same way.
bool ramrdinit(Link& link, std::int16_t startadres, std::int32_t bytenumber);
// Writes command bytes 1-4 raw as one 4-byte RAM word (no frame). The status goes to the
// Status label; a failed write shows the profile message and sets sgerror.
bool writeram(Link& link);

// Loads the profile file named in flocation into the RAM (button "Load Profile from file").
void loadfile_Click(Window& panel, Link& link);
// Open-file dialog for the profile: the chosen path goes into flocation.
void SelectFile1_Click(Window& panel, Link& link);
// Programs the clock, the two profiles and the control register of the Arbitrary mode.
void setarb(Window& panel, Link& link);

}  // namespace tunx
