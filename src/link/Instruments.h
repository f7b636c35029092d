#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/UsbApi.h"

namespace tunx {

// Every TUNX4K's serial number begins with its model code (case matters): "tunx4k-ABC1234".
inline constexpr std::string_view kModelCode = "tunx4k";

bool isInstrumentSerial(std::string_view serial);

// The serial numbers of the attached instruments, in the order the library lists them (devices
// whose serial number is not an instrument's, or cannot be read, are left out); nullopt when
// the library cannot list the devices, with its status in `status`.
std::optional<std::vector<std::string>> attachedInstruments(UsbApi& usb, int& status);

}  // namespace tunx
