#pragma once

#include <string>

namespace tunx {

// The installation folder: share/tunx4k/ beside the executable's bin/, with a trailing '/'.
std::string installationFolder();

// The thousands separator of a locale ("" for the system's). A locale without digit
// grouping, or one this machine does not have, falls back to the separator its language uses.
char groupSeparatorOf(const std::string& localeName);

}  // namespace tunx
