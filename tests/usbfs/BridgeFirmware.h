#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/VirtualInstrument.h"

namespace tunx::test {

// The firmware of a USB-to-serial bridge whose far side is the virtual instrument: what the
// host sends on the bulk OUT endpoint goes to the instrument, and the instrument's answer is
// what the bridge has to send back on bulk IN. The bridge's vendor requests enable, flush and
// disable its link.
class BridgeFirmware {
  public:
    static constexpr std::uint16_t kFlush = 0x0001;
    static constexpr std::uint16_t kEnable = 0x0002;
    static constexpr std::uint16_t kDisable = 0x0004;

    explicit BridgeFirmware(sim::VirtualInstrument& sim) : sim_(sim) {}
    BridgeFirmware(const BridgeFirmware&) = delete;
    BridgeFirmware& operator=(const BridgeFirmware&) = delete;

    // Carries out the vendor request `value`; false for one the bridge does not know.
    bool request(std::uint16_t value) {
        switch (value) {
            case kEnable:
                return sim_.SI_Open(0, handle_) == usb::kSuccess;
            case kDisable:
                sim_.SI_Close(handle_);
                return true;
            case kFlush:
                sim_.SI_FlushBuffers(handle_, 1, 1);
                return true;
            default:
                return false;
        }
    }

    // Bytes from the host for the instrument; the instrument's answer to them.
    std::vector<std::uint8_t> take(std::span<const std::uint8_t> data) {
        std::uint32_t n = 0;
        sim_.SI_Write(handle_, data, n);
        std::vector<std::uint8_t> reply;
        std::array<std::uint8_t, 4096> chunk{};
        while (sim_.SI_Read(handle_, chunk, n) == usb::kSuccess && n > 0) {
            reply.insert(reply.end(), chunk.begin(), chunk.begin() + n);
        }
        return reply;
    }

  private:
    sim::VirtualInstrument& sim_;
    DeviceHandle handle_ = 0;
};

}  // namespace tunx::test
