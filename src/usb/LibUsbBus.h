#pragma once

#include <memory>

#include "usb/UsbBackend.h"
#include "usb/UsbBus.h"

struct libusb_context;

namespace tunx::usb {

// The USB library calls of the backend, carried out by libusb-1.0.
class LibUsbBus : public UsbBus {
  public:
    explicit LibUsbBus(Diagnostics diagnostics = {});

    // The library starts at the first enumeration. A machine where it cannot start has no
    // device to offer: the list is empty and the cause goes to the diagnostics, once.
    UsbResult deviceList(std::vector<std::shared_ptr<UsbDevice>>& devices) override;
    std::int64_t monotonicMs() const override;

  private:
    Diagnostics diagnostics_;
    std::shared_ptr<libusb_context> context_;
    bool unavailable_ = false;
};

}  // namespace tunx::usb
