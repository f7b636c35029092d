#include "platform/Host.h"

#include <cstdlib>
#include <filesystem>
#include <locale>

namespace tunx {

std::string installationFolder() {
    std::error_code ec;
    // The executable itself, also when it was started through a link to it.
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "share/tunx4k/";
    }
    return installationFolderOf(exe);
}

std::string installationFolderOf(const std::filesystem::path& executable) {
    return (executable.parent_path().parent_path() / "share" / "tunx4k").string() + "/";
}

std::string userDataFolder() {
    return userDataFolderOf(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string userDataFolderOf(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and ignored, as the desktop's rules say.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return (std::filesystem::path(xdgDataHome) / "tunx4k").string() + "/";
    }
    if (home != nullptr && home[0] == '/') {
        return (std::filesystem::path(home) / ".local" / "share" / "tunx4k").string() + "/";
    }
    return {};
}

namespace {
char separatorByLanguage(const std::string& name) {
    const std::string lang = name.substr(0, 2);
    for (const char* dotted : {"de", "it", "es", "nl", "pt", "da", "id", "tr", "el"}) {
        if (lang == dotted) {
            return '.';
        }
    }
    for (const char* spaced : {"fr", "ru", "pl", "cs", "sv", "fi", "nb", "uk", "sk"}) {
        if (lang == spaced) {
            return ' ';
        }
    }
    return ',';
}
}  // namespace

char groupSeparatorOf(const std::string& localeName) {
    for (const std::string& candidate : {localeName, localeName + ".UTF-8", localeName + ".utf8"}) {
        try {
            const std::locale loc(candidate.c_str());
            const auto& punct = std::use_facet<std::numpunct<char>>(loc);
            if (!punct.grouping().empty()) {
                return punct.thousands_sep();
            }
            break;
        } catch (const std::exception&) {
            if (localeName.empty()) {
                break;
            }
        }
    }
    return separatorByLanguage(localeName);
}

}  // namespace tunx
