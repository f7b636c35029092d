#include "usb/FakeUsb.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tunx::test {

using usb::UsbResult;

namespace {

constexpr std::uint8_t kDirectionIn = 0x80;

std::string hex(unsigned value, int digits) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%0*x", digits, value);
    return text.data();
}

class FakeHandle : public usb::UsbDeviceHandle {
  public:
    explicit FakeHandle(FakeUsbDevice& device) : d_(device) { ++d_.world().openHandles; }
    ~FakeHandle() override {
        --d_.world().openHandles;
        d_.world().log.push_back("close " + d_.location());
    }
    FakeHandle(const FakeHandle&) = delete;
    FakeHandle& operator=(const FakeHandle&) = delete;

    UsbResult stringDescriptorAscii(std::uint8_t index, std::string& text) override {
        if (const UsbResult r = d_.call("string " + std::to_string(index));
            r != UsbResult::Success) {
            return r;
        }
        const FakeDeviceInfo& s = d_.info();
        if (index == s.descriptor.serialIndex) {
            text = s.serial;
        } else if (index == s.descriptor.productIndex) {
            text = s.description;
        } else {
            return UsbResult::Pipe;  // the device stalls a request for a string it lacks
        }
        return UsbResult::Success;
    }
    UsbResult setAutoDetachKernelDriver(bool enable) override {
        return d_.call(std::string("auto-detach ") + (enable ? "1" : "0"));
    }
    UsbResult claimInterface(int number) override {
        const UsbResult r = d_.call("claim " + std::to_string(number));
        const auto& ifs = d_.info().interfaces;
        if (r == UsbResult::Success && std::none_of(ifs.begin(), ifs.end(), [&](const auto& i) {
                return i.number == number;
            })) {
            return UsbResult::NotFound;
        }
        return r;
    }
    UsbResult releaseInterface(int number) override {
        return d_.call("release " + std::to_string(number));
    }
    UsbResult controlTransfer(std::uint8_t requestType, std::uint8_t request, std::uint16_t value,
                              std::uint16_t index, unsigned /*timeoutMs*/) override {
        return d_.call("control " + hex(requestType, 2) + " " + hex(request, 2) + " " +
                       hex(value, 4) + " " + hex(index, 4));
    }
    UsbResult bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data, int& transferred,
                     unsigned timeoutMs) override {
        return d_.bulkIn(endpoint, data, transferred, timeoutMs);
    }
    UsbResult bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data, int& transferred,
                      unsigned timeoutMs) override {
        return d_.bulkOut(endpoint, data, transferred, timeoutMs);
    }

  private:
    FakeUsbDevice& d_;
};

// The endpoint of that address and direction among the device's interfaces.
const usb::EndpointDescriptor* endpointOf(const FakeDeviceInfo& info, std::uint8_t address) {
    for (const auto& i : info.interfaces) {
        for (const auto& e : i.endpoints) {
            if (e.address == address) {
                return &e;
            }
        }
    }
    return nullptr;
}

}  // namespace

usb::InterfaceDescriptor bridgeInterface(std::uint8_t number, std::uint8_t in, std::uint8_t out,
                                         std::uint16_t packetSize) {
    constexpr std::uint8_t kBulk = 0x02;
    return {number, 0xFF, {{in, kBulk, packetSize}, {out, kBulk, packetSize}}};
}

void FakeUsbDevice::send(const std::vector<std::uint8_t>& bytes, std::size_t packetSize,
                         std::int64_t at) {
    if (bytes.empty()) {
        in.push_back({{}, at, false});  // a zero-length packet
    }
    for (std::size_t i = 0; i < bytes.size(); i += packetSize) {
        const auto end =
            bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), i + packetSize));
        in.push_back({{bytes.begin() + static_cast<std::ptrdiff_t>(i), end}, at, false});
    }
}

UsbResult FakeUsbDevice::call(const std::string& line) {
    world_.log.push_back(line);
    if (unplugged) {
        return UsbResult::NoDevice;
    }
    for (const auto& [prefix, result] : failures_) {
        if (line.starts_with(prefix)) {
            return result;
        }
    }
    return UsbResult::Success;
}

UsbResult FakeUsbDevice::deviceDescriptor(usb::DeviceDescriptor& descriptor) {
    // The library keeps descriptors of a device it has listed: no request, no log line.
    if (const auto f = failures_.find("descriptor"); f != failures_.end()) {
        return f->second;
    }
    descriptor = info_.descriptor;
    return UsbResult::Success;
}

UsbResult FakeUsbDevice::activeConfigInterfaces(std::vector<usb::InterfaceDescriptor>& ifs) {
    if (const auto f = failures_.find("config"); f != failures_.end()) {
        return f->second;
    }
    ifs = info_.interfaces;
    return UsbResult::Success;
}

UsbResult FakeUsbDevice::open(std::unique_ptr<usb::UsbDeviceHandle>& handle) {
    const UsbResult r = call("open " + info_.location);
    if (r == UsbResult::Success) {
        handle = std::make_unique<FakeHandle>(*this);
    }
    return r;
}

UsbResult FakeUsbDevice::bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data,
                                int& transferred, unsigned timeoutMs) {
    transferred = 0;
    const UsbResult r = call("in " + hex(endpoint, 2) + " " + std::to_string(data.size()) + " " +
                             std::to_string(timeoutMs));
    if (r != UsbResult::Success) {
        return r;
    }
    const usb::EndpointDescriptor* e = endpointOf(info_, endpoint);
    if (e == nullptr || (endpoint & kDirectionIn) == 0) {
        return UsbResult::NotFound;
    }
    const std::int64_t deadline = world_.now + timeoutMs;
    while (true) {
        if (in.empty() || in.front().at > deadline) {
            world_.now = deadline;
            return UsbResult::Timeout;
        }
        const InPacket p = in.front();
        in.pop_front();
        world_.now = std::max(world_.now, p.at);
        if (p.unplug) {
            unplugged = true;
            return UsbResult::NoDevice;
        }
        if (static_cast<std::size_t>(transferred) + p.bytes.size() > data.size()) {
            return UsbResult::Overflow;  // the packet does not fit: its bytes are lost
        }
        std::copy(p.bytes.begin(), p.bytes.end(), data.begin() + transferred);
        transferred += static_cast<int>(p.bytes.size());
        if (p.bytes.size() < e->maxPacketSize ||
            static_cast<std::size_t>(transferred) == data.size()) {
            return UsbResult::Success;
        }
    }
}

UsbResult FakeUsbDevice::bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data,
                                 int& transferred, unsigned timeoutMs) {
    transferred = 0;
    const UsbResult r = call("out " + hex(endpoint, 2) + " " + std::to_string(data.size()) + " " +
                             std::to_string(timeoutMs));
    if (r != UsbResult::Success) {
        return r;
    }
    if (endpointOf(info_, endpoint) == nullptr || (endpoint & kDirectionIn) != 0) {
        return UsbResult::NotFound;
    }
    std::size_t take = data.size();
    if (outRoom) {
        take = std::min(take, *outRoom);
        *outRoom -= take;
    }
    bool pulledOut = false;
    if (unplugAfter && take >= *unplugAfter) {
        take = *unplugAfter;
        unplugAfter.reset();
        pulledOut = true;
    } else if (unplugAfter) {
        *unplugAfter -= take;
    }
    out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(take));
    transferred = static_cast<int>(take);
    if (pulledOut) {
        unplugged = true;
        return take < data.size() ? UsbResult::NoDevice : UsbResult::Success;
    }
    if (take < data.size()) {
        world_.now += timeoutMs;
        return UsbResult::Timeout;
    }
    return UsbResult::Success;
}

FakeUsbDevice& FakeUsbBus::add(FakeDeviceInfo info) {
    devices.push_back(std::make_shared<FakeUsbDevice>(world, std::move(info)));
    return *devices.back();
}

UsbResult FakeUsbBus::deviceList(std::vector<std::shared_ptr<usb::UsbDevice>>& out) {
    out.clear();
    if (listResult != UsbResult::Success) {
        return listResult;
    }
    for (const auto& d : devices) {
        if (!d->unplugged) {
            out.push_back(d);
        }
    }
    return UsbResult::Success;
}

}  // namespace tunx::test
