#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "usb/UsbBus.h"

namespace tunx::usb {

// Reads the bridge's bulk IN endpoint as the transport's read does: up to the requested
// count, waiting at most the read time-out in all. Transfers ask for whole packets; what
// arrives beyond the request is kept for the next read.
class BulkReader {
  public:
    BulkReader(std::uint8_t endpoint, std::size_t packetSize);

    // Status 0 when bytes arrived (possibly fewer than asked for, once the time-out has
    // passed), 13 when none did; another failure status when a transfer failed, with the
    // bytes that came before it.
    int read(UsbDeviceHandle& handle, const UsbBus& bus, std::span<std::uint8_t> buffer,
             std::uint32_t& bytesReturned, std::uint32_t timeoutMs);

    // Drops the bytes left over from earlier transfers.
    void discard() { surplus_.clear(); }

  private:
    std::size_t takeSurplus(std::span<std::uint8_t> out);

    std::uint8_t endpoint_;
    std::size_t packetSize_;
    std::vector<std::uint8_t> transfer_;
    std::deque<std::uint8_t> surplus_;
};

}  // namespace tunx::usb
