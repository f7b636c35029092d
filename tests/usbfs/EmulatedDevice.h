#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace tunx::test {

// A full-speed USB device as its descriptors show it: one configuration with one interface
// that has a bulk IN endpoint 0x81 and a bulk OUT endpoint 0x01 of 64 bytes.
struct EmulatedDeviceInfo {
    std::uint16_t vendor = 0x10C4;
    std::uint16_t product = 0xEA61;
    std::uint8_t interfaceClass = 0xFF;  // vendor-specific
    std::string manufacturer = "TUNX";
    std::string productName = "TUNX4K";
    std::string serial = "tunx4k-SIM0001";
};

// What the device does with the host's data: its vendor requests (wValue, wIndex; false
// stalls the request; `emptyIn` set drops what waits on the IN endpoint), and the bytes taken
// on bulk OUT, which return the device's answer.
struct Firmware {
    std::function<bool(std::uint16_t value, std::uint16_t index, bool& emptyIn)> request;
    std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t>)> take;
};

// The device behind an emulated usbfs node: answers the usbfs calls that libusb makes on it
// as the kernel and a device would. Transfers are submitted and reaped as URBs: control
// requests (string descriptors, vendor requests to the firmware) and bulk OUT end at once;
// a bulk IN transfer ends when it is full, at a short packet, or when it is discarded (the
// library's time-out). Unplugging finishes the transfers in flight with -ESHUTDOWN, and once
// the library has reaped them every call says ENODEV.
//
// The calls arrive on umockdev's worker thread; everything here is guarded by one mutex.
class EmulatedDevice {
  public:
    static constexpr std::size_t kPacketSize = 64;

    EmulatedDevice(EmulatedDeviceInfo info, Firmware firmware);
    ~EmulatedDevice();
    EmulatedDevice(const EmulatedDevice&) = delete;
    EmulatedDevice& operator=(const EmulatedDevice&) = delete;

    // The device's answers go out in packets of this many bytes (at most 64); a packet
    // shorter than 64 bytes ends the IN transfer it arrives in.
    void setReplyPacketSize(std::size_t bytes);
    // Another program holds the interface: claiming it is refused (EBUSY).
    void setHeldElsewhere(bool held);
    // The device is pulled out once it has taken `bytes` more bytes on bulk OUT: an OUT
    // transfer cut there ends with the bytes taken; one that ends just there was taken whole,
    // and the device goes while the host waits for its answer.
    void unplugAfter(std::size_t bytes);

    // sysfs description (umockdev's record format) of the device at bus 1, `address`.
    std::string record(int address) const;

    // The emulated node's ioctl handler; the testbed holds a reference while it is attached.
    UMockdevIoctlBase* handler() const { return handler_; }

    // What the device saw, one line per call: "claim 0", "release 0",
    // "control 40 02 0002 0000", "string 3", "out 8", "in 64", "discard in",
    // "ioctl 0xNNNN (unknown)".
    std::vector<std::string> log() const;
    // The interface is claimed now.
    bool claimed() const;

  private:
    struct Urb;
    enum class Plug { In, Pulling, Gone };

    static int onIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static void onVanished(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    void handle(UMockdevIoctlClient* client);
    void vanished();

    // Each returns the errno to answer with (0: success).
    int submit(UMockdevIoctlData* arg);
    int reap(UMockdevIoctlData* arg);
    int discard(UMockdevIoctlData* arg);
    int claim(unsigned interfaceNumber);
    int release(unsigned interfaceNumber);
    int capabilities(UMockdevIoctlData* arg);

    void control(Urb& urb, std::span<const std::uint8_t> setupAndData);
    void bulkOut(Urb& urb, std::span<const std::uint8_t> data);
    void send(const std::vector<std::uint8_t>& reply);
    void deliver();
    std::vector<std::uint8_t> stringDescriptor(std::uint8_t index) const;
    std::vector<std::uint8_t> descriptors() const;

    EmulatedDeviceInfo info_;
    Firmware firmware_;
    UMockdevIoctlBase* handler_;
    mutable std::mutex mutex_;
    std::vector<std::string> log_;
    std::deque<std::unique_ptr<Urb>> urbs_;  // submitted, not yet reaped, in submission order
    std::deque<std::vector<std::uint8_t>> packets_;  // waiting on the IN endpoint
    std::size_t replyPacketSize_ = kPacketSize;
    bool claimed_ = false;
    bool heldElsewhere_ = false;
    std::optional<std::size_t> unplugAfter_;
    Plug plug_ = Plug::In;
};

}  // namespace tunx::test
