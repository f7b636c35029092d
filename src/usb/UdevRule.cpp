#include "usb/UdevRule.h"

#include <array>
#include <filesystem>

namespace tunx::usb {

namespace {

namespace fs = std::filesystem;

// The folders of the system's own rules, which udev reads.
constexpr std::array<const char*, 2> kSystemRules = {"/usr/lib/udev/rules.d", "/lib/udev/rules.d"};

constexpr const char* kPlugInAgain =
    "unplug the instrument and plug it in again (a device plugged in before the rule was "
    "installed keeps the access it had). Over ssh, without a session at the desktop, the rule's "
    "plugdev line is the one to use.";

bool isFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

}  // namespace

std::string permissionAdvice(const std::string& installDir, const std::string& etcRules) {
    const fs::path local = fs::path(etcRules) / kUdevRuleName;
    if (isFile(local)) {
        return "The udev rule " + local.string() +
               " gives access to the user at the desktop: " + kPlugInAgain;
    }
    // installDir is PREFIX/share/tunx4k/.
    fs::path share = fs::path(installDir);
    if (!share.has_filename()) {
        share = share.parent_path();
    }
    const fs::path prefix = share.parent_path().parent_path();
    const fs::path folder = prefix / "lib" / "udev" / "rules.d";
    const fs::path beside = folder / kUdevRuleName;
    if (isFile(beside)) {
        for (const char* system : kSystemRules) {
            if (sameFolder(folder, system)) {
                return "The udev rule " + beside.string() +
                       " gives access to the user at the desktop: " + kPlugInAgain;
            }
        }
        return "Install the udev rule that gives access to the user at the desktop: sudo cp " +
               beside.string() + " " + etcRules + " && sudo udevadm control --reload-rules; then " +
               kPlugInAgain;
    }
    // Appended piece by piece: GCC 12's release build warns of a false out-of-bounds copy in the
    // chain of operator+ here.
    std::string advice = "Install the program's udev rule ";
    advice += kUdevRuleName;
    advice += " in ";
    advice += etcRules;
    advice += " (README, \"Real instrument\"); then ";
    advice += kPlugInAgain;
    return advice;
}

}  // namespace tunx::usb
