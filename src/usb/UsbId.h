#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tunx::usb {

// Vendor and product id the backend looks for. The TUNX4K's USB-to-serial bridge enumerates
// with 10c4:ea61 in its vendor-specific mode; other bridges of the family use other product
// ids, so the pair can be given on the command line.
struct UsbId {
    std::uint16_t vendor = 0x10C4;
    std::uint16_t product = 0xEA61;
    bool operator==(const UsbId&) const = default;
};

// "VID:PID", each 1 to 4 hexadecimal digits with an optional "0x" ("10c4:ea61"), neither 0.
std::optional<UsbId> parseUsbId(std::string_view text);

// "10c4:ea61"
std::string toText(UsbId id);

}  // namespace tunx::usb
