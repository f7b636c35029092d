// The transport when the program is built with libusb-1.0.
#include "usb/LibUsbBus.h"
#include "usb/Transport.h"

namespace tunx::usb {

namespace {

// Holds the bus so that it is built before the backend that uses it and outlives it.
struct BusHolder {
    LibUsbBus bus;
};

class LibUsbTransport : private BusHolder, public UsbBackend {
  public:
    LibUsbTransport(UsbId id, const Diagnostics& diagnostics)
        : BusHolder{LibUsbBus(diagnostics)}, UsbBackend(bus, id, diagnostics) {}
};

}  // namespace

std::unique_ptr<UsbApi> makeUsbTransport(UsbId id, Diagnostics diagnostics) {
    return std::make_unique<LibUsbTransport>(id, diagnostics);
}

}  // namespace tunx::usb
