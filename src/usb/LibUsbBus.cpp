#include "usb/LibUsbBus.h"

#include <libusb.h>

#include <algorithm>
#include <array>
#include <chrono>

namespace tunx::usb {

namespace {

static_assert(static_cast<int>(UsbResult::Io) == LIBUSB_ERROR_IO);
static_assert(static_cast<int>(UsbResult::InvalidParam) == LIBUSB_ERROR_INVALID_PARAM);
static_assert(static_cast<int>(UsbResult::Access) == LIBUSB_ERROR_ACCESS);
static_assert(static_cast<int>(UsbResult::NoDevice) == LIBUSB_ERROR_NO_DEVICE);
static_assert(static_cast<int>(UsbResult::NotFound) == LIBUSB_ERROR_NOT_FOUND);
static_assert(static_cast<int>(UsbResult::Busy) == LIBUSB_ERROR_BUSY);
static_assert(static_cast<int>(UsbResult::Timeout) == LIBUSB_ERROR_TIMEOUT);
static_assert(static_cast<int>(UsbResult::Overflow) == LIBUSB_ERROR_OVERFLOW);
static_assert(static_cast<int>(UsbResult::Pipe) == LIBUSB_ERROR_PIPE);
static_assert(static_cast<int>(UsbResult::Interrupted) == LIBUSB_ERROR_INTERRUPTED);
static_assert(static_cast<int>(UsbResult::NoMem) == LIBUSB_ERROR_NO_MEM);
static_assert(static_cast<int>(UsbResult::NotSupported) == LIBUSB_ERROR_NOT_SUPPORTED);
static_assert(static_cast<int>(UsbResult::Other) == LIBUSB_ERROR_OTHER);

// A library return value as a result; a count or other non-negative value is success.
UsbResult resultOf(int r) {
    if (r >= 0) {
        return UsbResult::Success;
    }
    if ((r <= LIBUSB_ERROR_IO && r >= LIBUSB_ERROR_NOT_SUPPORTED) || r == LIBUSB_ERROR_OTHER) {
        return static_cast<UsbResult>(r);
    }
    return UsbResult::Other;
}

// A string descriptor holds at most 126 characters (255 bytes of UTF-16 after its header).
constexpr std::size_t kStringBufferSize = 256;

class LibUsbHandle : public UsbDeviceHandle {
  public:
    LibUsbHandle(std::shared_ptr<libusb_context> context, libusb_device_handle* handle)
        : context_(std::move(context)), handle_(handle) {}
    ~LibUsbHandle() override { libusb_close(handle_); }
    LibUsbHandle(const LibUsbHandle&) = delete;
    LibUsbHandle& operator=(const LibUsbHandle&) = delete;

    UsbResult stringDescriptorAscii(std::uint8_t index, std::string& text) override {
        std::array<unsigned char, kStringBufferSize> buffer{};
        const int n =
            libusb_get_string_descriptor_ascii(handle_, index, buffer.data(), buffer.size());
        if (n < 0) {
            return resultOf(n);
        }
        text.assign(buffer.begin(), buffer.begin() + std::min<int>(n, buffer.size()));
        return UsbResult::Success;
    }
    UsbResult setAutoDetachKernelDriver(bool enable) override {
        return resultOf(libusb_set_auto_detach_kernel_driver(handle_, enable ? 1 : 0));
    }
    UsbResult claimInterface(int number) override {
        return resultOf(libusb_claim_interface(handle_, number));
    }
    UsbResult releaseInterface(int number) override {
        return resultOf(libusb_release_interface(handle_, number));
    }
    UsbResult controlTransfer(std::uint8_t requestType, std::uint8_t request, std::uint16_t value,
                              std::uint16_t index, unsigned timeoutMs) override {
        return resultOf(libusb_control_transfer(handle_, requestType, request, value, index,
                                                nullptr, 0, timeoutMs));
    }
    UsbResult bulkIn(std::uint8_t endpoint, std::span<std::uint8_t> data, int& transferred,
                     unsigned timeoutMs) override {
        transferred = 0;
        return resultOf(libusb_bulk_transfer(handle_, endpoint, data.data(),
                                             static_cast<int>(data.size()), &transferred,
                                             timeoutMs));
    }
    UsbResult bulkOut(std::uint8_t endpoint, std::span<const std::uint8_t> data, int& transferred,
                      unsigned timeoutMs) override {
        transferred = 0;
        // libusb takes one buffer type for both directions; it only reads an OUT buffer.
        return resultOf(
            libusb_bulk_transfer(handle_, endpoint, const_cast<unsigned char*>(data.data()),
                                 static_cast<int>(data.size()), &transferred, timeoutMs));
    }

  private:
    std::shared_ptr<libusb_context> context_;  // outlives the handle
    libusb_device_handle* handle_;
};

class LibUsbDevice : public UsbDevice {
  public:
    LibUsbDevice(std::shared_ptr<libusb_context> context, libusb_device* device)
        : context_(std::move(context)), device_(libusb_ref_device(device)) {}
    ~LibUsbDevice() override { libusb_unref_device(device_); }
    LibUsbDevice(const LibUsbDevice&) = delete;
    LibUsbDevice& operator=(const LibUsbDevice&) = delete;

    UsbResult deviceDescriptor(DeviceDescriptor& descriptor) override {
        libusb_device_descriptor d{};
        const UsbResult r = resultOf(libusb_get_device_descriptor(device_, &d));
        if (r == UsbResult::Success) {
            descriptor = {d.idVendor, d.idProduct, d.iProduct, d.iSerialNumber};
        }
        return r;
    }

    UsbResult activeConfigInterfaces(std::vector<InterfaceDescriptor>& interfaces) override {
        libusb_config_descriptor* config = nullptr;
        const UsbResult r = resultOf(libusb_get_active_config_descriptor(device_, &config));
        if (r != UsbResult::Success) {
            return r;
        }
        const std::unique_ptr<libusb_config_descriptor, decltype(&libusb_free_config_descriptor)>
            owned(config, &libusb_free_config_descriptor);
        interfaces.clear();
        for (const libusb_interface& i : std::span(config->interface, config->bNumInterfaces)) {
            if (i.num_altsetting < 1) {
                continue;
            }
            const libusb_interface_descriptor& alt = i.altsetting[0];
            InterfaceDescriptor out{alt.bInterfaceNumber, alt.bInterfaceClass, {}};
            for (const libusb_endpoint_descriptor& e : std::span(alt.endpoint, alt.bNumEndpoints)) {
                out.endpoints.push_back({e.bEndpointAddress, e.bmAttributes, e.wMaxPacketSize});
            }
            interfaces.push_back(std::move(out));
        }
        return UsbResult::Success;
    }

    UsbResult open(std::unique_ptr<UsbDeviceHandle>& handle) override {
        libusb_device_handle* h = nullptr;
        const UsbResult r = resultOf(libusb_open(device_, &h));
        if (r == UsbResult::Success) {
            handle = std::make_unique<LibUsbHandle>(context_, h);
        }
        return r;
    }

    std::string location() const override {
        return "bus " + std::to_string(libusb_get_bus_number(device_)) + " device " +
               std::to_string(libusb_get_device_address(device_));
    }

  private:
    std::shared_ptr<libusb_context> context_;  // outlives the device
    libusb_device* device_;
};

}  // namespace

LibUsbBus::LibUsbBus(Diagnostics diagnostics) : diagnostics_(std::move(diagnostics)) {}

UsbResult LibUsbBus::deviceList(std::vector<std::shared_ptr<UsbDevice>>& devices) {
    devices.clear();
    if (!context_ && !unavailable_) {
        libusb_context* context = nullptr;
        const int r = libusb_init(&context);
        if (r < 0) {
            unavailable_ = true;
            if (diagnostics_) {
                diagnostics_(std::string("USB is not available on this machine: ") +
                             libusb_strerror(r));
            }
        } else {
            context_.reset(context, &libusb_exit);
        }
    }
    if (!context_) {
        return UsbResult::Success;
    }
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(context_.get(), &list);
    if (n < 0) {
        return resultOf(static_cast<int>(n));
    }
    for (libusb_device* d : std::span(list, static_cast<std::size_t>(n))) {
        devices.push_back(std::make_shared<LibUsbDevice>(context_, d));
    }
    libusb_free_device_list(list, 1);
    return UsbResult::Success;
}

std::int64_t LibUsbBus::monotonicMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace tunx::usb
