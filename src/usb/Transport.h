#pragma once

#include <memory>
#include <string>

#include "ports/UsbApi.h"
#include "usb/UsbBackend.h"
#include "usb/UsbId.h"

namespace tunx::usb {

// The transport to a real instrument: the USB backend over libusb-1.0 when the program was
// built with it, otherwise one that never finds a device (and says why when it looks).
// `installDir` (the installation folder) tells where the program's udev rule is.
std::unique_ptr<UsbApi> makeUsbTransport(UsbId id, Diagnostics diagnostics,
                                         const std::string& installDir);

}  // namespace tunx::usb
