#pragma once

#include <string>

namespace tunx::usb {

// The program's udev rule, which gives the user at the desktop access to the instrument.
inline constexpr const char* kUdevRuleName = "70-tunx4k.rules";

// What to do when the instrument may not be opened, in a few sentences that name the rule:
// installed where udev reads it (the package's /usr/lib/udev/rules.d/, or /etc/udev/rules.d/),
// the instrument only needs to be plugged in again; else the rule beside the installation
// folder `installDir` (PREFIX/share/tunx4k/: PREFIX/lib/udev/rules.d/) is to be copied to
// /etc/udev/rules.d/ first. `etcRules` is udev's folder for local rules.
std::string permissionAdvice(const std::string& installDir,
                             const std::string& etcRules = "/etc/udev/rules.d/");

}  // namespace tunx::usb
