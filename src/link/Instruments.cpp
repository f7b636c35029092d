#include "link/Instruments.h"

#include <algorithm>
#include <array>

namespace tunx {

bool isInstrumentSerial(std::string_view serial) {
    return serial.starts_with(kModelCode);
}

std::optional<std::vector<std::string>> attachedInstruments(UsbApi& usb, int& status) {
    std::uint32_t count = 0;
    status = usb.SI_GetNumDevices(count);
    if (status != usb::kSuccess) {
        return std::nullopt;
    }
    std::vector<std::string> serials;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::array<char, usb::kProductStringSize> buffer{};
        if (usb.SI_GetProductString(i, buffer, usb::kProductStringSerial) != usb::kSuccess) {
            continue;
        }
        const auto end = std::find(buffer.begin(), buffer.end() - 1, '\0');
        std::string serial(buffer.begin(), end);
        if (isInstrumentSerial(serial)) {
            serials.push_back(std::move(serial));
        }
    }
    return serials;
}

}  // namespace tunx
