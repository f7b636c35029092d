#include "usb/UsbId.h"

#include <charconv>

namespace tunx::usb {

namespace {

constexpr std::size_t kMaxDigits = 4;

std::optional<std::uint16_t> hexNumber(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > kMaxDigits) {
        return std::nullopt;
    }
    std::uint16_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<UsbId> parseUsbId(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const auto vendor = hexNumber(text.substr(0, colon));
    const auto product = hexNumber(text.substr(colon + 1));
    // No device has id 0: it would match nothing, or anything unset.
    if (!vendor || !product || *vendor == 0 || *product == 0) {
        return std::nullopt;
    }
    return UsbId{*vendor, *product};
}

std::string toText(UsbId id) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint16_t value : {id.vendor, id.product}) {
        if (!text.empty()) {
            text += ':';
        }
        for (int shift = 12; shift >= 0; shift -= 4) {
            text += kDigits[(value >> shift) & 0xF];
        }
    }
    return text;
}

}  // namespace tunx::usb
