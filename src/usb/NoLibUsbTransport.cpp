// The transport when the program is built without libusb-1.0: no device is ever attached.
#include "platform/NoUsbBackend.h"
#include "usb/Transport.h"

namespace tunx::usb {

namespace {

constexpr const char* kNoUsbSupport =
    "this program was built without USB support (libusb-1.0 was not found): no instrument can "
    "be attached";

constexpr const char* kVirtualInstrument =
    "tunx4k --simulate (the menu entry \"TUNX4K on the Virtual Instrument\") runs it on its "
    "built-in virtual instrument.";

class NoLibUsbTransport : public NoUsbBackend {
  public:
    explicit NoLibUsbTransport(Diagnostics diagnostics) : diagnostics_(std::move(diagnostics)) {}

    int SI_GetNumDevices(std::uint32_t& numDevices) override {
        if (diagnostics_ && !told_) {
            told_ = true;
            diagnostics_(kNoUsbSupport);
        }
        return NoUsbBackend::SI_GetNumDevices(numDevices);
    }
    std::string noDeviceAdvice() const override {
        return std::string("This program was built without USB support. ") + kVirtualInstrument;
    }

  private:
    Diagnostics diagnostics_;
    bool told_ = false;
};

}  // namespace

std::unique_ptr<UsbApi> makeUsbTransport(UsbId /*id*/, Diagnostics diagnostics,
                                         const std::string& /*installDir*/) {
    return std::make_unique<NoLibUsbTransport>(std::move(diagnostics));
}

}  // namespace tunx::usb
