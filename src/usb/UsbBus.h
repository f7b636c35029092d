#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tunx::usb {

// What a call of the USB library returned; the values are libusb-1.0's own.
enum class UsbResult : int {
    Success = 0,
    Io = -1,
    InvalidParam = -2,
    Access = -3,
    NoDevice = -4,
    NotFound = -5,
    Busy = -6,
    Timeout = -7,
    Overflow = -8,
    Pipe = -9,
    Interrupted = -10,
    NoMem = -11,
    NotSupported = -12,
    Other = -99,
};

struct DeviceDescriptor {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint8_t productIndex = 0;  // string descriptor index; 0 = the device has none
    std::uint8_t serialIndex = 0;
};

struct EndpointDescriptor {
    std::uint8_t address = 0;     // bit 7 set: IN (device to host)
    std::uint8_t attributes = 0;  // bits 1-0: transfer type
    std::uint16_t maxPacketSize = 0;
};

// Alternate setting 0 of one interface of the active configuration.
struct InterfaceDescriptor {
    std::uint8_t number = 0;
    std::uint8_t interfaceClass = 0;
    std::vector<EndpointDescriptor> endpoints;
};

// An open device; destroying it closes the device.
class UsbDeviceHandle {
  public:
    virtual ~UsbDeviceHandle() = default;

    // String descriptor `index` with every character outside ASCII replaced.
    virtual UsbResult stringDescriptorAscii(std::uint8_t index, std::string& text) = 0;
    // While enabled, a kernel driver bound to an interface is detached when the interface is
    // claimed and attached again when it is released.
    virtual UsbResult setAutoDetachKernelDriver(bool enable) = 0;
    virtual UsbResult claimInterface(int number) = 0;
    virtual UsbResult releaseInterface(int number) = 0;
    // A control request without a data stage.
    virtual UsbResult controlTransfer(std::uint8_t requestType, std::uint8_t request,
                                      std::uint16_t value, std::uint16_t index,
                                      unsigned timeoutMs) = 0;
    // Bulk transfers: `transferred` is set also when the result is an error (a time-out or a
    // lost device can come after part of the data).
    virtual UsbResult bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data, int& transferred,
                             unsigned timeoutMs) = 0;
    virtual UsbResult bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data,
                              int& transferred, unsigned timeoutMs) = 0;
};

// A device on the bus, whether open or not.
class UsbDevice {
  public:
    virtual ~UsbDevice() = default;

    virtual UsbResult deviceDescriptor(DeviceDescriptor& descriptor) = 0;
    virtual UsbResult activeConfigInterfaces(std::vector<InterfaceDescriptor>& interfaces) = 0;
    virtual UsbResult open(std::unique_ptr<UsbDeviceHandle>& handle) = 0;
    // Where the device sits, in words ("bus 1 device 5"), for messages.
    virtual std::string location() const = 0;
};

// The few calls of the USB library that the backend uses, so that the backend can be run
// against a fake device.
class UsbBus {
  public:
    virtual ~UsbBus() = default;

    // Every device attached now, in the library's order.
    virtual UsbResult deviceList(std::vector<std::shared_ptr<UsbDevice>>& devices) = 0;
    // A monotonic time in ms; a read that takes several transfers measures its time-out on it.
    virtual std::int64_t monotonicMs() const = 0;
};

}  // namespace tunx::usb
