#pragma once

#include <string>

#include "ports/UsbApi.h"
#include "usb/UsbBus.h"

namespace tunx::usb {

// Status codes of the transport library that only the USB backend gives.
inline constexpr int kInvalidParameter = 0x06;
inline constexpr int kIoError = 0x08;  // the device did not carry out a request

// What the backend was doing when the USB library answered.
enum class Operation { Enumerate, Open, Control, Read, Write };

// The transport status nearest to a result of the USB library; only Success gives 0.
int statusOf(UsbResult result, Operation operation);

// The result in a few words ("no permission", "timed out").
std::string wordsFor(UsbResult result);

// Why a device could not be opened, in words a user can act on; `permissionFix` says what to do
// about a device the user may not open.
std::string openFailureCause(UsbResult result, const std::string& permissionFix);

}  // namespace tunx::usb
