#pragma once

#include <filesystem>
#include <string>

namespace tunx {

// The installation folder: share/tunx4k/ beside the executable's bin/, with a trailing '/'.
std::string installationFolder();
// The same for the executable at `executable` (/usr/bin/tunx4k: /usr/share/tunx4k/).
std::string installationFolderOf(const std::filesystem::path& executable);

// The user's data folder of the program, with a trailing '/': $XDG_DATA_HOME/tunx4k/, by
// default ~/.local/share/tunx4k/; "" when neither is known. It may not exist yet.
std::string userDataFolder();
// The same from those two variables' values (null when unset).
std::string userDataFolderOf(const char* xdgDataHome, const char* home);

// The thousands separator of a locale ("" for the system's). A locale without digit
// grouping, or one this machine does not have, falls back to the separator its language uses.
char groupSeparatorOf(const std::string& localeName);

}  // namespace tunx
