#include "usb/UsbBackend.h"

#include <algorithm>
#include <optional>

#include "usb/Results.h"

namespace tunx::usb {

namespace {

// The bridge's vendor request: bmRequestType 0x40 (host to device, vendor, to the device),
// bRequest 0x02, wIndex 0, no data stage; wValue says what to do.
constexpr std::uint8_t kVendorRequestType = 0x40;
constexpr std::uint8_t kBridgeRequest = 0x02;
constexpr std::uint16_t kBridgeRequestIndex = 0;
constexpr std::uint16_t kFlushBuffers = 0x0001;  // empties the bridge's buffers
constexpr std::uint16_t kEnable = 0x0002;        // on open: the bridge starts passing data
constexpr std::uint16_t kDisable = 0x0004;       // on close
// The bridge answers its requests at once; this only bounds a device that stopped answering.
constexpr unsigned kControlTimeoutMs = 1000;

// The bridge's data interface: one vendor-class interface with a bulk IN and a bulk OUT
// endpoint, whose addresses come from its descriptor.
constexpr std::uint8_t kVendorClass = 0xFF;
constexpr std::uint8_t kEndpointDirectionIn = 0x80;
constexpr std::uint8_t kTransferTypeMask = 0x03;
constexpr std::uint8_t kTransferTypeBulk = 0x02;
constexpr std::uint16_t kPacketSizeMask = 0x07FF;
// The bridge's bulk packet size, for a descriptor that gives none.
constexpr std::size_t kBridgePacketSize = 64;

// Handles never take the value 1, which the program holds while no device is open.
constexpr DeviceHandle kFirstHandle = 0x100;
// The program sets its time-outs before its first transfer; these are only a start.
constexpr std::uint32_t kDefaultTimeoutMs = 1000;
// libusb reads a time-out of 0 as "wait for ever".
constexpr std::uint32_t kShortestWaitMs = 1;

constexpr int kSerialOption = 0;
constexpr int kDescriptionOption = 1;

constexpr const char* kNoBridgeInterface =
    "it has no vendor interface with a bulk IN and a bulk OUT endpoint.";
constexpr const char* kDefaultPermissionFix =
    "Install the udev rule that comes with the program (README, \"Real instrument\"), then "
    "unplug the instrument and plug it in again.";
constexpr const char* kCheckPluggedIn =
    "Check that the instrument is plugged in: lsusb lists it as ";
constexpr const char* kVirtualInstrument =
    ". Without one, tunx4k --simulate (the menu entry \"TUNX4K on the Virtual Instrument\") "
    "runs the program on its built-in virtual instrument.";

struct BridgeInterface {
    int number = 0;
    std::uint8_t inEndpoint = 0;
    std::uint8_t outEndpoint = 0;
    std::size_t packetSize = kBridgePacketSize;
};

std::optional<BridgeInterface> findBridgeInterface(
    const std::vector<InterfaceDescriptor>& interfaces) {
    for (const InterfaceDescriptor& i : interfaces) {
        if (i.interfaceClass != kVendorClass) {
            continue;
        }
        std::optional<EndpointDescriptor> in, out;
        for (const EndpointDescriptor& e : i.endpoints) {
            if ((e.attributes & kTransferTypeMask) != kTransferTypeBulk) {
                continue;
            }
            auto& slot = (e.address & kEndpointDirectionIn) != 0 ? in : out;
            if (!slot) {
                slot = e;
            }
        }
        if (in && out) {
            const std::size_t packet = in->maxPacketSize & kPacketSizeMask;
            return BridgeInterface{i.number, in->address, out->address,
                                   packet > 0 ? packet : kBridgePacketSize};
        }
    }
    return std::nullopt;
}

}  // namespace

UsbBackend::UsbBackend(UsbBus& bus, UsbId id, Diagnostics diagnostics, std::string permissionFix)
    : bus_(bus),
      id_(id),
      diagnostics_(std::move(diagnostics)),
      permissionFix_(permissionFix.empty() ? kDefaultPermissionFix : std::move(permissionFix)),
      nextHandle_(kFirstHandle),
      readTimeoutMs_(kDefaultTimeoutMs),
      writeTimeoutMs_(kDefaultTimeoutMs) {}

UsbBackend::~UsbBackend() {
    for (auto& [handle, session] : sessions_) {
        close(session);
    }
}

UsbBackend::Session* UsbBackend::find(DeviceHandle handle) {
    const auto it = sessions_.find(handle);
    return it == sessions_.end() ? nullptr : &it->second;
}

int UsbBackend::SI_GetNumDevices(std::uint32_t& numDevices) {
    numDevices = 0;
    found_.clear();
    problems_.clear();
    std::vector<std::shared_ptr<UsbDevice>> attached;
    const UsbResult result = bus_.deviceList(attached);
    if (result != UsbResult::Success) {
        return statusOf(result, Operation::Enumerate);
    }
    for (auto& device : attached) {
        DeviceDescriptor d;
        if (device->deviceDescriptor(d) == UsbResult::Success && d.vendorId == id_.vendor &&
            d.productId == id_.product) {
            found_.push_back(std::move(device));
        }
    }
    numDevices = static_cast<std::uint32_t>(found_.size());
    return kSuccess;
}

int UsbBackend::SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer, int options) {
    if (buffer.empty()) {
        return kInvalidParameter;
    }
    buffer[0] = '\0';
    if (deviceNum >= found_.size()) {
        return kDeviceNotFound;
    }
    UsbDevice& device = *found_[deviceNum];
    DeviceDescriptor d;
    if (const UsbResult r = device.deviceDescriptor(d); r != UsbResult::Success) {
        return statusOf(r, Operation::Enumerate);
    }
    // Option 0 is the serial-number string (the program looks for serials that begin with
    // "tunx4k"), option 1 the product description.
    std::uint8_t index = 0;
    if (options == kSerialOption) {
        index = d.serialIndex;
    } else if (options == kDescriptionOption) {
        index = d.productIndex;
    } else {
        return kInvalidParameter;
    }
    if (index == 0) {
        return kSuccess;  // the device has no such string: an empty text
    }
    std::unique_ptr<UsbDeviceHandle> handle;
    if (const UsbResult r = device.open(handle); r != UsbResult::Success) {
        return openFailed(deviceNum, r);
    }
    std::string text;
    if (const UsbResult r = handle->stringDescriptorAscii(index, text); r != UsbResult::Success) {
        return statusOf(r, Operation::Control);
    }
    const std::size_t n = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), n, buffer.begin());
    buffer[n] = '\0';
    return kSuccess;
}

int UsbBackend::openFailed(std::uint32_t deviceNum, UsbResult result, const std::string& cause) {
    const std::string where = toText(id_) + " at " + found_[deviceNum]->location();
    problems_[deviceNum] = "The USB device " + where + " cannot be opened: " + cause;
    if (diagnostics_) {
        diagnostics_("cannot open the USB device " + where + ": " + cause);
    }
    return statusOf(result, Operation::Open);
}

int UsbBackend::openFailed(std::uint32_t deviceNum, UsbResult result) {
    return openFailed(deviceNum, result, openFailureCause(result, permissionFix_));
}

std::string UsbBackend::noDeviceAdvice() const {
    return kCheckPluggedIn + toText(id_) + kVirtualInstrument;
}

std::string UsbBackend::deviceProblem(std::uint32_t deviceNum) const {
    const auto it = problems_.find(deviceNum);
    return it == problems_.end() ? std::string() : it->second;
}

int UsbBackend::SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) {
    if (deviceNum >= found_.size()) {
        return kDeviceNotFound;
    }
    UsbDevice& device = *found_[deviceNum];
    std::vector<InterfaceDescriptor> interfaces;
    if (const UsbResult r = device.activeConfigInterfaces(interfaces); r != UsbResult::Success) {
        return openFailed(deviceNum, r);
    }
    const std::optional<BridgeInterface> bridge = findBridgeInterface(interfaces);
    if (!bridge) {
        return openFailed(deviceNum, UsbResult::NotFound, kNoBridgeInterface);
    }
    std::unique_ptr<UsbDeviceHandle> opened;
    if (const UsbResult r = device.open(opened); r != UsbResult::Success) {
        return openFailed(deviceNum, r);
    }
    // A kernel serial driver may be bound to the bridge's interface: the library detaches it
    // when the interface is claimed and gives it back to the kernel when it is released.
    // Systems without kernel drivers to detach say "not supported", which is no obstacle.
    if (const UsbResult r = opened->setAutoDetachKernelDriver(true);
        r != UsbResult::Success && r != UsbResult::NotSupported) {
        return openFailed(deviceNum, r);
    }
    if (const UsbResult r = opened->claimInterface(bridge->number); r != UsbResult::Success) {
        return openFailed(deviceNum, r);
    }
    // The bridge passes no data until it is enabled.
    if (const UsbResult r = opened->controlTransfer(kVendorRequestType, kBridgeRequest, kEnable,
                                                    kBridgeRequestIndex, kControlTimeoutMs);
        r != UsbResult::Success) {
        opened->releaseInterface(bridge->number);
        return openFailed(deviceNum, r);
    }
    handle = nextHandle_++;
    sessions_.emplace(handle, Session{std::move(opened), bridge->number, bridge->outEndpoint,
                                      BulkReader(bridge->inEndpoint, bridge->packetSize)});
    return kSuccess;
}

UsbResult UsbBackend::request(Session& session, std::uint16_t value) {
    return session.handle->controlTransfer(kVendorRequestType, kBridgeRequest, value,
                                           kBridgeRequestIndex, kControlTimeoutMs);
}

int UsbBackend::close(Session& session) {
    const UsbResult disabled = request(session, kDisable);
    const UsbResult released = session.handle->releaseInterface(session.interfaceNumber);
    session.handle.reset();
    return statusOf(disabled != UsbResult::Success ? disabled : released, Operation::Control);
}

int UsbBackend::SI_Close(DeviceHandle handle) {
    const auto it = sessions_.find(handle);
    if (it == sessions_.end()) {
        return kInvalidHandle;
    }
    const int status = close(it->second);
    sessions_.erase(it);
    return status;
}

int UsbBackend::SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t writeTimeout) {
    readTimeoutMs_ = readTimeout;
    writeTimeoutMs_ = writeTimeout;
    return kSuccess;
}

int UsbBackend::SI_SetBaudRate(DeviceHandle handle, std::uint32_t /*baudRate*/) {
    // In its vendor-specific mode the bridge runs its link to the instrument at a fixed
    // rate: there is nothing to set.
    return find(handle) == nullptr ? kInvalidHandle : kSuccess;
}

int UsbBackend::SI_FlushBuffers(DeviceHandle handle, std::uint8_t flushTransmit,
                                std::uint8_t flushReceive) {
    Session* session = find(handle);
    if (session == nullptr) {
        return kInvalidHandle;
    }
    if (flushTransmit == 0 && flushReceive == 0) {
        return kSuccess;
    }
    if (flushReceive != 0) {
        session->reader.discard();
    }
    return statusOf(request(*session, kFlushBuffers), Operation::Control);
}

int UsbBackend::SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                         std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    Session* session = find(handle);
    if (session == nullptr) {
        return kInvalidHandle;
    }
    if (data.empty()) {
        return kSuccess;
    }
    int transferred = 0;
    const UsbResult result = session->handle->bulkOut(session->outEndpoint, data, transferred,
                                                      std::max(writeTimeoutMs_, kShortestWaitMs));
    bytesWritten = static_cast<std::uint32_t>(std::clamp<std::size_t>(
        static_cast<std::size_t>(std::max(transferred, 0)), 0, data.size()));
    if (result != UsbResult::Success) {
        return statusOf(result, Operation::Write);
    }
    return bytesWritten == data.size() ? kSuccess : kWriteError;
}

int UsbBackend::SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                        std::uint32_t& bytesReturned) {
    bytesReturned = 0;
    Session* session = find(handle);
    if (session == nullptr) {
        return kInvalidHandle;
    }
    return session->reader.read(*session->handle, bus_, buffer, bytesReturned, readTimeoutMs_);
}

}  // namespace tunx::usb
