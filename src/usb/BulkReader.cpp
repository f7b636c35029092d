#include "usb/BulkReader.h"

#include <algorithm>

#include "usb/Results.h"

namespace tunx::usb {

namespace {
// libusb reads a time-out of 0 as "wait for ever", which would hang the window thread; a
// time-out of 0 asks for one short look instead.
constexpr std::int64_t kShortestWaitMs = 1;
}  // namespace

BulkReader::BulkReader(std::uint8_t endpoint, std::size_t packetSize)
    : endpoint_(endpoint), packetSize_(packetSize) {}

std::size_t BulkReader::takeSurplus(std::span<std::uint8_t> out) {
    const std::size_t n = std::min(out.size(), surplus_.size());
    std::copy_n(surplus_.begin(), n, out.begin());
    surplus_.erase(surplus_.begin(), surplus_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

int BulkReader::read(UsbDeviceHandle& handle, const UsbBus& bus, std::span<std::uint8_t> buffer,
                     std::uint32_t& bytesReturned, std::uint32_t timeoutMs) {
    std::size_t got = takeSurplus(buffer);
    bytesReturned = static_cast<std::uint32_t>(got);
    const std::int64_t deadline =
        bus.monotonicMs() + std::max<std::int64_t>(timeoutMs, kShortestWaitMs);
    while (got < buffer.size()) {
        const std::int64_t remaining = deadline - bus.monotonicMs();
        if (remaining <= 0) {
            break;
        }
        // A bulk IN transfer must have room for every packet the device may send: a full
        // packet into a smaller space is an overflow and its bytes are lost. So the transfer
        // asks for whole packets, and the bytes beyond the request stay for the next read.
        const std::size_t wanted = buffer.size() - got;
        transfer_.resize((wanted + packetSize_ - 1) / packetSize_ * packetSize_);
        int transferred = 0;
        const UsbResult result =
            handle.bulkIn(endpoint_, transfer_, transferred, static_cast<unsigned>(remaining));
        const auto arrived = std::span(transfer_).first(std::clamp<std::size_t>(
            static_cast<std::size_t>(std::max(transferred, 0)), 0, transfer_.size()));
        const std::size_t used = std::min(wanted, arrived.size());
        std::copy_n(arrived.begin(), used, buffer.begin() + static_cast<std::ptrdiff_t>(got));
        surplus_.insert(surplus_.end(), arrived.begin() + static_cast<std::ptrdiff_t>(used),
                        arrived.end());
        got += used;
        bytesReturned = static_cast<std::uint32_t>(got);
        if (result == UsbResult::Timeout) {
            break;
        }
        if (result != UsbResult::Success) {
            return statusOf(result, Operation::Read);
        }
    }
    return got > 0 || buffer.empty() ? kSuccess : kReadTimedOut;
}

}  // namespace tunx::usb
