#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "usb/UsbBus.h"

namespace tunx::test {

// What the fake bus shares with its devices: the time, and one log line per library call.
struct FakeWorld {
    std::int64_t now = 0;
    std::vector<std::string> log;
    int openHandles = 0;
};

// One packet the device sends on its bulk IN endpoint, ready from time `at` on; an
// `unplug` entry is the moment the device is pulled out instead.
struct InPacket {
    std::vector<std::uint8_t> bytes;
    std::int64_t at = 0;
    bool unplug = false;
};

// A vendor interface like the bridge's: one bulk IN and one bulk OUT endpoint.
usb::InterfaceDescriptor bridgeInterface(std::uint8_t number = 0, std::uint8_t in = 0x81,
                                         std::uint8_t out = 0x01, std::uint16_t packetSize = 64);

struct FakeDeviceInfo {
    usb::DeviceDescriptor descriptor{0x10C4, 0xEA61, 2, 3};
    std::string serial = "tunx4k-ABC1234";
    std::string description = "TUNX4K";
    std::vector<usb::InterfaceDescriptor> interfaces = {bridgeInterface()};
    std::string location = "bus 1 device 5";
};

// A USB device as the library shows it, with the bridge's endpoints behaving as on the
// wire: a bulk IN transfer ends at a short packet, when it is full, or at its time-out, and a
// packet larger than the room left is an overflow.
class FakeUsbDevice : public usb::UsbDevice {
  public:
    FakeUsbDevice(FakeWorld& world, FakeDeviceInfo info) : world_(world), info_(std::move(info)) {}

    // Every later call whose log line starts with `callPrefix` returns `result`.
    void fail(const std::string& callPrefix, usb::UsbResult result) {
        failures_[callPrefix] = result;
    }
    // Queues `bytes` on the IN endpoint in packets of `packetSize`, ready from `at` on.
    void send(const std::vector<std::uint8_t>& bytes, std::size_t packetSize = 64,
              std::int64_t at = 0);
    void unplug() { unplugged = true; }

    usb::UsbResult deviceDescriptor(usb::DeviceDescriptor& descriptor) override;
    usb::UsbResult activeConfigInterfaces(
        std::vector<usb::InterfaceDescriptor>& interfaces) override;
    usb::UsbResult open(std::unique_ptr<usb::UsbDeviceHandle>& handle) override;
    std::string location() const override { return info_.location; }

    // --- the device side, used by the fake handle and by the tests ---
    // The result of a call, after logging it: a failure set up for it, a lost device, or
    // success.
    usb::UsbResult call(const std::string& line);
    usb::UsbResult bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data, int& transferred,
                          unsigned timeoutMs);
    usb::UsbResult bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data,
                           int& transferred, unsigned timeoutMs);
    const FakeDeviceInfo& info() const { return info_; }
    FakeWorld& world() { return world_; }

    std::deque<InPacket> in;
    std::vector<std::uint8_t> out;           // every byte the device took
    std::optional<std::size_t> outRoom;      // takes no more than this, then refuses (NAK)
    std::optional<std::size_t> unplugAfter;  // pulled out after taking this many more bytes
    bool unplugged = false;

  private:
    FakeWorld& world_;
    FakeDeviceInfo info_;
    std::map<std::string, usb::UsbResult> failures_;
};

class FakeUsbBus : public usb::UsbBus {
  public:
    FakeUsbDevice& add(FakeDeviceInfo info = {});

    usb::UsbResult deviceList(std::vector<std::shared_ptr<usb::UsbDevice>>& devices) override;
    std::int64_t monotonicMs() const override { return world.now; }

    FakeWorld world;
    std::vector<std::shared_ptr<FakeUsbDevice>> devices;
    usb::UsbResult listResult = usb::UsbResult::Success;
};

}  // namespace tunx::test
