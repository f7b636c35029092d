// The transport when the program is built with libusb-1.0.
#include "usb/LibUsbBus.h"
#include "usb/Transport.h"
#include "usb/UdevRule.h"

namespace tunx::usb {

namespace {

// Holds the bus so that it is built before the backend that uses it and outlives it.
struct BusHolder {
    LibUsbBus bus;
};

class LibUsbTransport : private BusHolder, public UsbBackend {
  public:
    LibUsbTransport(UsbId id, const Diagnostics& diagnostics, const std::string& installDir)
        : BusHolder{LibUsbBus(diagnostics)},
          UsbBackend(bus, id, diagnostics, permissionAdvice(installDir)) {}
};

}  // namespace

std::unique_ptr<UsbApi> makeUsbTransport(UsbId id, Diagnostics diagnostics,
                                         const std::string& installDir) {
    return std::make_unique<LibUsbTransport>(id, diagnostics, installDir);
}

}  // namespace tunx::usb
