#include "usbfs/EmulatedDevice.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>
#include <umockdev.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace tunx::test {

namespace {

// Standard requests and descriptor types.
constexpr std::uint8_t kDirectionIn = 0x80;
constexpr std::uint8_t kGetDescriptor = 0x06;
constexpr std::uint8_t kStringDescriptor = 0x03;
constexpr std::uint16_t kEnglishUs = 0x0409;
// The vendor request of the bridge: host to device, vendor, to the device, bRequest 2.
constexpr std::uint8_t kVendorOut = 0x40;
constexpr std::uint8_t kBridgeRequest = 0x02;
constexpr std::size_t kSetupSize = 8;

constexpr std::uint8_t kInEndpoint = 0x81;
constexpr std::uint8_t kOutEndpoint = 0x01;
constexpr unsigned kInterfaceNumber = 0;
// String indexes of the device descriptor.
constexpr std::uint8_t kManufacturerIndex = 1;
constexpr std::uint8_t kProductIndex = 2;
constexpr std::uint8_t kSerialIndex = 3;

// What a kernel of today offers; libusb then sends every bulk transfer as one URB.
constexpr std::uint32_t kCapabilities = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                        USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                        USBDEVFS_CAP_REAP_AFTER_DISCONNECT;

std::string hex(unsigned value, int digits) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%0*x", digits, value);
    return text.data();
}

std::uint16_t word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void append16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The client's memory that `data` points to at `offset`, `size` bytes, as a local copy that
// goes back to the client when the call completes; null when it cannot be read. A new
// reference.
UMockdevIoctlData* resolve(UMockdevIoctlData* data, std::size_t offset, std::size_t size) {
    GError* error = nullptr;
    UMockdevIoctlData* r = umockdev_ioctl_data_resolve(data, offset, size, &error);
    if (error != nullptr) {
        g_error_free(error);
    }
    return r;
}

// A value the ioctl's argument points to.
template <typename T>
std::optional<T> pointee(UMockdevIoctlData* arg) {
    UMockdevIoctlData* d = resolve(arg, 0, sizeof(T));
    if (d == nullptr) {
        return std::nullopt;
    }
    T value;
    std::memcpy(&value, d->data, sizeof(T));
    g_object_unref(d);
    return value;
}

}  // namespace

struct EmulatedDevice::Urb {
    Urb(UMockdevIoctlData* urb, UMockdevIoctlData* buffer) : urb(urb), buffer(buffer) {}
    ~Urb() {
        g_object_unref(buffer);
        g_object_unref(urb);
    }
    Urb(const Urb&) = delete;
    Urb& operator=(const Urb&) = delete;

    usbdevfs_urb& fields() { return *reinterpret_cast<usbdevfs_urb*>(urb->data); }
    bool in() const { return (endpoint & kDirectionIn) != 0; }
    std::size_t room() const { return capacity - data.size(); }

    UMockdevIoctlData* urb;     // the client's usbdevfs_urb
    UMockdevIoctlData* buffer;  // and its buffer
    unsigned long address = 0;  // of the client's usbdevfs_urb
    std::uint8_t type = 0;
    std::uint8_t endpoint = 0;
    std::size_t dataOffset = 0;      // a control transfer's data follows its setup packet
    std::size_t capacity = 0;        // of an IN transfer's data
    std::vector<std::uint8_t> data;  // for the client
    int transferred = 0;
    int status = 0;
    bool done = false;
};

EmulatedDevice::EmulatedDevice(EmulatedDeviceInfo info, Firmware firmware)
    : info_(std::move(info)), firmware_(std::move(firmware)), handler_(umockdev_ioctl_base_new()) {
    g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&EmulatedDevice::onIoctl), this);
    g_signal_connect(handler_, "client-vanished", G_CALLBACK(&EmulatedDevice::onVanished), this);
}

EmulatedDevice::~EmulatedDevice() {
    g_signal_handlers_disconnect_by_data(handler_, this);
    urbs_.clear();
    g_object_unref(handler_);
}

void EmulatedDevice::setReplyPacketSize(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    replyPacketSize_ = std::clamp<std::size_t>(bytes, 1, kPacketSize);
}

void EmulatedDevice::setHeldElsewhere(bool held) {
    const std::lock_guard lock(mutex_);
    heldElsewhere_ = held;
}

void EmulatedDevice::unplugAfter(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    unplugAfter_ = bytes;
}

std::vector<std::string> EmulatedDevice::log() const {
    const std::lock_guard lock(mutex_);
    return log_;
}

bool EmulatedDevice::claimed() const {
    const std::lock_guard lock(mutex_);
    return claimed_;
}

int EmulatedDevice::onIoctl(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* client,
                            void* self) {
    static_cast<EmulatedDevice*>(self)->handle(client);
    return TRUE;
}

void EmulatedDevice::onVanished(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* /*client*/,
                                void* self) {
    static_cast<EmulatedDevice*>(self)->vanished();
}

// The device node was closed: the kernel gives back the interface and drops the URBs.
void EmulatedDevice::vanished() {
    const std::lock_guard lock(mutex_);
    claimed_ = false;
    urbs_.clear();
}

void EmulatedDevice::handle(UMockdevIoctlClient* client) {
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    int error = 0;
    {
        const std::lock_guard lock(mutex_);
        switch (request) {
            case USBDEVFS_GET_CAPABILITIES:
                error = capabilities(arg);
                break;
            case USBDEVFS_SUBMITURB:
                error = submit(arg);
                break;
            case USBDEVFS_REAPURB:
            case USBDEVFS_REAPURBNDELAY:
                error = reap(arg);
                break;
            case USBDEVFS_DISCARDURB:
                error = discard(arg);
                break;
            case USBDEVFS_CLAIMINTERFACE: {
                const auto number = pointee<unsigned>(arg);
                error = number ? claim(*number) : EFAULT;
                break;
            }
            case USBDEVFS_DISCONNECT_CLAIM: {
                // No kernel driver is bound here, so there is nothing to disconnect.
                const auto dc = pointee<usbdevfs_disconnect_claim>(arg);
                error = dc ? claim(dc->interface) : EFAULT;
                break;
            }
            case USBDEVFS_RELEASEINTERFACE: {
                const auto number = pointee<unsigned>(arg);
                error = number ? release(*number) : EFAULT;
                break;
            }
            case USBDEVFS_GETDRIVER:
                log_.push_back("driver?");
                error = plug_ == Plug::Gone ? ENODEV : ENODATA;  // no driver bound
                break;
            case USBDEVFS_IOCTL: {
                // A driver's connect or disconnect: there is none to bind or unbind.
                const auto command = pointee<usbdevfs_ioctl>(arg);
                log_.push_back(command && command->ioctl_code == USBDEVFS_CONNECT ? "connect"
                                                                                  : "disconnect");
                error = plug_ == Plug::Gone ? ENODEV : (command ? ENODATA : EFAULT);
                break;
            }
            default:
                log_.push_back("ioctl 0x" + hex(static_cast<unsigned>(request), 8) + " (unknown)");
                error = ENOTTY;
                break;
        }
    }
    umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error);
}

int EmulatedDevice::capabilities(UMockdevIoctlData* arg) {
    UMockdevIoctlData* d = resolve(arg, 0, sizeof(std::uint32_t));
    if (d == nullptr) {
        return EFAULT;
    }
    std::memcpy(d->data, &kCapabilities, sizeof kCapabilities);
    g_object_unref(d);
    return 0;
}

int EmulatedDevice::claim(unsigned interfaceNumber) {
    log_.push_back("claim " + std::to_string(interfaceNumber));
    if (plug_ == Plug::Gone) {
        return ENODEV;
    }
    if (interfaceNumber != kInterfaceNumber) {
        return ENOENT;
    }
    if (heldElsewhere_) {
        return EBUSY;
    }
    claimed_ = true;
    return 0;
}

int EmulatedDevice::release(unsigned interfaceNumber) {
    log_.push_back("release " + std::to_string(interfaceNumber));
    if (plug_ == Plug::Gone) {
        return ENODEV;
    }
    if (interfaceNumber != kInterfaceNumber || !claimed_) {
        return EINVAL;
    }
    claimed_ = false;
    return 0;
}

int EmulatedDevice::submit(UMockdevIoctlData* arg) {
    if (plug_ == Plug::Gone) {
        return ENODEV;
    }
    UMockdevIoctlData* urbData = resolve(arg, 0, sizeof(usbdevfs_urb));
    if (urbData == nullptr) {
        return EFAULT;
    }
    const usbdevfs_urb fields = *reinterpret_cast<const usbdevfs_urb*>(urbData->data);
    if (fields.buffer_length < 0) {
        g_object_unref(urbData);
        return EINVAL;
    }
    UMockdevIoctlData* buffer = resolve(urbData, offsetof(usbdevfs_urb, buffer),
                                        static_cast<std::size_t>(fields.buffer_length));
    if (buffer == nullptr) {
        g_object_unref(urbData);
        return EFAULT;
    }
    auto urb = std::make_unique<Urb>(urbData, buffer);
    urb->address = urbData->client_addr;
    urb->type = fields.type;
    urb->endpoint = fields.endpoint;
    const std::span<const std::uint8_t> bytes(buffer->data,
                                              static_cast<std::size_t>(buffer->data_len));
    if (fields.type == USBDEVFS_URB_TYPE_CONTROL) {
        if (bytes.size() < kSetupSize) {
            return EINVAL;
        }
        control(*urb, bytes);
    } else if (fields.type == USBDEVFS_URB_TYPE_BULK && fields.endpoint == kOutEndpoint) {
        if (!claimed_) {
            return EINVAL;
        }
        bulkOut(*urb, bytes);
    } else if (fields.type == USBDEVFS_URB_TYPE_BULK && fields.endpoint == kInEndpoint) {
        if (!claimed_) {
            return EINVAL;
        }
        log_.push_back("in " + std::to_string(bytes.size()));
        urb->capacity = bytes.size();
    } else {
        log_.push_back("submit type " + std::to_string(fields.type) + " endpoint " +
                       hex(fields.endpoint, 2));
        return ENOENT;
    }
    urbs_.push_back(std::move(urb));
    deliver();
    return 0;
}

void EmulatedDevice::control(Urb& urb, std::span<const std::uint8_t> setupAndData) {
    const std::uint8_t requestType = setupAndData[0];
    const std::uint8_t request = setupAndData[1];
    const std::uint16_t value = word(setupAndData, 2);
    const std::uint16_t index = word(setupAndData, 4);
    const std::uint16_t length = word(setupAndData, 6);
    urb.dataOffset = kSetupSize;
    urb.done = true;
    if (requestType == kDirectionIn && request == kGetDescriptor &&
        (value >> 8) == kStringDescriptor) {
        const auto stringIndex = static_cast<std::uint8_t>(value & 0xFF);
        log_.push_back("string " + std::to_string(stringIndex));
        std::vector<std::uint8_t> descriptor = stringDescriptor(stringIndex);
        if (descriptor.empty() || (stringIndex != 0 && index != kEnglishUs)) {
            urb.status = -EPIPE;  // a string the device does not have: it stalls
            return;
        }
        descriptor.resize(
            std::min<std::size_t>({descriptor.size(), length, setupAndData.size() - kSetupSize}));
        urb.data = std::move(descriptor);
        urb.transferred = static_cast<int>(urb.data.size());
        return;
    }
    log_.push_back("control " + hex(requestType, 2) + " " + hex(request, 2) + " " + hex(value, 4) +
                   " " + hex(index, 4));
    bool emptyIn = false;
    const bool known = requestType == kVendorOut && request == kBridgeRequest && length == 0 &&
                       firmware_.request && firmware_.request(value, index, emptyIn);
    if (!known) {
        urb.status = -EPIPE;  // the device stalls a request it does not know
        return;
    }
    if (emptyIn) {
        packets_.clear();
    }
}

void EmulatedDevice::bulkOut(Urb& urb, std::span<const std::uint8_t> data) {
    log_.push_back("out " + std::to_string(data.size()));
    urb.done = true;
    if (plug_ != Plug::In) {
        urb.status = -ESHUTDOWN;
        return;
    }
    std::size_t take = data.size();
    bool pulledOut = false;
    if (unplugAfter_ && take >= *unplugAfter_) {
        take = *unplugAfter_;
        unplugAfter_.reset();
        pulledOut = true;
    } else if (unplugAfter_) {
        *unplugAfter_ -= take;
    }
    urb.transferred = static_cast<int>(take);
    if (pulledOut) {
        // Cut inside the transfer, it ends with what was taken; taken whole, the device goes
        // before it answers, while the host waits.
        plug_ = Plug::Pulling;
        if (take < data.size()) {
            urb.status = -ESHUTDOWN;
        }
        return;
    }
    if (firmware_.take) {
        send(firmware_.take(data));
    }
}

// The answer goes out in packets of the reply packet size.
void EmulatedDevice::send(const std::vector<std::uint8_t>& reply) {
    for (std::size_t i = 0; i < reply.size(); i += replyPacketSize_) {
        const std::size_t end = std::min(reply.size(), i + replyPacketSize_);
        packets_.emplace_back(reply.begin() + static_cast<std::ptrdiff_t>(i),
                              reply.begin() + static_cast<std::ptrdiff_t>(end));
    }
}

// Packets waiting on the IN endpoint go into the IN transfers in flight, in order.
void EmulatedDevice::deliver() {
    for (auto& urb : urbs_) {
        if (urb->done || urb->type != USBDEVFS_URB_TYPE_BULK || !urb->in()) {
            continue;
        }
        while (!urb->done && !packets_.empty()) {
            const std::vector<std::uint8_t> packet = std::move(packets_.front());
            packets_.pop_front();
            if (packet.size() > urb->room()) {
                urb->status = -EOVERFLOW;  // the packet's bytes are lost
                urb->done = true;
                break;
            }
            urb->data.insert(urb->data.end(), packet.begin(), packet.end());
            urb->transferred = static_cast<int>(urb->data.size());
            urb->done = packet.size() < kPacketSize || urb->room() == 0;
        }
        if (!urb->done) {
            return;
        }
    }
}

int EmulatedDevice::reap(UMockdevIoctlData* arg) {
    if (plug_ == Plug::Pulling) {
        // The host notices the device has gone: what is in flight ends.
        bool inFlight = false;
        for (auto& urb : urbs_) {
            if (!urb->done) {
                urb->status = -ESHUTDOWN;
                urb->done = true;
                inFlight = true;
            }
        }
        if (inFlight) {
            plug_ = Plug::Gone;
        }
    }
    const auto it = std::find_if(urbs_.begin(), urbs_.end(), [](const auto& u) { return u->done; });
    if (it == urbs_.end()) {
        return plug_ == Plug::Gone ? ENODEV : EAGAIN;
    }
    UMockdevIoctlData* slot = resolve(arg, 0, sizeof(void*));
    if (slot == nullptr) {
        return EFAULT;
    }
    Urb& urb = **it;
    usbdevfs_urb& fields = urb.fields();
    fields.status = urb.status;
    fields.actual_length = urb.transferred;
    const std::size_t n =
        std::min(urb.data.size(), static_cast<std::size_t>(urb.buffer->data_len) - urb.dataOffset);
    std::copy_n(urb.data.begin(), n, urb.buffer->data + urb.dataOffset);
    umockdev_ioctl_data_set_ptr(slot, 0, urb.urb);
    g_object_unref(slot);
    urbs_.erase(it);
    return 0;
}

int EmulatedDevice::discard(UMockdevIoctlData* arg) {
    unsigned long address = 0;
    std::memcpy(&address, arg->data,
                std::min(sizeof address, static_cast<std::size_t>(arg->data_len)));
    const auto it = std::find_if(urbs_.begin(), urbs_.end(),
                                 [&](const auto& u) { return u->address == address; });
    if (it == urbs_.end() || (*it)->done) {
        return EINVAL;  // already finished: the library reaps it
    }
    log_.push_back(std::string("discard ") + ((*it)->in() ? "in" : "out"));
    (*it)->status = -ENOENT;
    (*it)->done = true;
    return 0;
}

std::vector<std::uint8_t> EmulatedDevice::stringDescriptor(std::uint8_t index) const {
    std::vector<std::uint8_t> out = {0, kStringDescriptor};
    if (index == 0) {
        append16(out, kEnglishUs);  // the languages: English (US) only
    } else {
        const std::string* text = index == kManufacturerIndex ? &info_.manufacturer
                                  : index == kProductIndex    ? &info_.productName
                                  : index == kSerialIndex     ? &info_.serial
                                                              : nullptr;
        if (text == nullptr) {
            return {};
        }
        for (const char c : *text) {
            append16(out, static_cast<std::uint8_t>(c));
        }
    }
    out[0] = static_cast<std::uint8_t>(out.size());
    return out;
}

std::vector<std::uint8_t> EmulatedDevice::descriptors() const {
    constexpr std::uint8_t kBulk = 0x02;
    constexpr std::uint8_t kConfigTotal = 9 + 9 + 7 + 7;
    std::vector<std::uint8_t> d = {18, 1, 0x10, 0x01, 0, 0, 0, kPacketSize};  // USB 1.1
    append16(d, info_.vendor);
    append16(d, info_.product);
    append16(d, 0x0100);
    d.insert(d.end(), {kManufacturerIndex, kProductIndex, kSerialIndex, 1});
    d.insert(d.end(), {9, 2, kConfigTotal, 0, 1, 1, 0, 0x80, 50});
    d.insert(d.end(), {9, 4, kInterfaceNumber, 0, 2, info_.interfaceClass, 0, 0, kProductIndex});
    d.insert(d.end(), {7, 5, kInEndpoint, kBulk, kPacketSize, 0, 0});
    d.insert(d.end(), {7, 5, kOutEndpoint, kBulk, kPacketSize, 0, 0});
    return d;
}

std::string EmulatedDevice::record(int address) const {
    std::array<char, 32> node{};
    std::snprintf(node.data(), node.size(), "bus/usb/001/%03d", address);
    std::string hexDescriptors;
    for (const std::uint8_t b : descriptors()) {
        hexDescriptors += hex(b, 2);
    }
    const std::string n = std::to_string(address);
    return "P: /devices/pci0000:00/0000:00:14.0/usb1/1-" + n + "\nN: " + node.data() +
           "\nE: DEVNAME=/dev/" + node.data() +
           "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nA: busnum=1\nA: devnum=" + n +
           "\nA: speed=12\nA: bConfigurationValue=1\nA: idVendor=" + hex(info_.vendor, 4) +
           "\nA: idProduct=" + hex(info_.product, 4) + "\nA: serial=" + info_.serial +
           "\nA: dev=189:" + std::to_string(address - 1) + "\nH: descriptors=" + hexDescriptors +
           "\n";
}

}  // namespace tunx::test
