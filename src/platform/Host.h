#pragma once

#include <filesystem>
#include <string>

namespace tunx {

// The installation folder: share/tunx4k/ beside the executable's bin/, with a trailing '/'.
std::string installationFolder();
// The same for the executable at `executable` (/usr/bin/tunx4k: /usr/share/tunx4k/).
std::string installationFolderOf(const std::filesystem::path& executable);

// The thousands separator of a locale ("" for the system's). A locale without digit
// grouping, or one this machine does not have, falls back to the separator its language uses.
char groupSeparatorOf(const std::string& localeName);

}  // namespace tunx
