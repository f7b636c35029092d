#pragma once

#include <array>

#include "sim/VirtualInstrument.h"
#include "usb/FakeUsb.h"

namespace tunx::test {

// A fake bridge whose firmware is the virtual instrument: bulk OUT data goes to it, and its
// replies come back on bulk IN in packets of `packetSize` bytes (a real bridge may cut them
// anywhere). The vendor requests enable, flush and disable the instrument's link.
class SimulatedBridge {
  public:
    SimulatedBridge(FakeUsbDevice& device, sim::VirtualInstrument& sim, std::size_t packetSize = 64)
        : device_(device), sim_(sim), packetSize_(packetSize) {
        device_.onRequest = [this](std::uint16_t value) { request(value); };
        device_.onOut = [this](std::span<const std::uint8_t> data) { take(data); };
    }
    SimulatedBridge(const SimulatedBridge&) = delete;
    SimulatedBridge& operator=(const SimulatedBridge&) = delete;

  private:
    static constexpr std::uint16_t kFlush = 0x0001;
    static constexpr std::uint16_t kEnable = 0x0002;
    static constexpr std::uint16_t kDisable = 0x0004;

    void request(std::uint16_t value) {
        if (value == kEnable) {
            sim_.SI_Open(0, handle_);
        } else if (value == kDisable) {
            sim_.SI_Close(handle_);
        } else if (value == kFlush) {
            sim_.SI_FlushBuffers(handle_, 1, 1);
            device_.in.clear();
        }
    }

    void take(std::span<const std::uint8_t> data) {
        std::uint32_t n = 0;
        sim_.SI_Write(handle_, data, n);
        std::vector<std::uint8_t> reply;
        std::array<std::uint8_t, 4096> chunk{};
        while (sim_.SI_Read(handle_, chunk, n) == usb::kSuccess && n > 0) {
            reply.insert(reply.end(), chunk.begin(), chunk.begin() + n);
        }
        if (!reply.empty()) {
            device_.send(reply, packetSize_, device_.world().now);
        }
    }

    FakeUsbDevice& device_;
    sim::VirtualInstrument& sim_;
    std::size_t packetSize_;
    DeviceHandle handle_ = 0;
};

}  // namespace tunx::test
