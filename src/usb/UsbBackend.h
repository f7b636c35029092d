#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ports/UsbApi.h"
#include "usb/BulkReader.h"
#include "usb/UsbBus.h"
#include "usb/UsbId.h"

namespace tunx::usb {

// Receives one line of explanation for the user (the cause of a device that cannot be
// opened); the programs write it on standard error.
using Diagnostics = std::function<void(const std::string&)>;

// The transport over USB: the TUNX4K's USB-to-serial bridge in its vendor-specific mode,
// driven through the few calls of the USB library in `UsbBus`.
class UsbBackend : public UsbApi {
  public:
    // `permissionFix` says what to do about a device the user may not open (usb/UdevRule.h);
    // without it, the README is named.
    UsbBackend(UsbBus& bus, UsbId id, Diagnostics diagnostics = {}, std::string permissionFix = {});
    // A device still open is closed as SI_Close would, so the kernel gets it back.
    ~UsbBackend() override;
    UsbBackend(const UsbBackend&) = delete;
    UsbBackend& operator=(const UsbBackend&) = delete;

    int SI_GetNumDevices(std::uint32_t& numDevices) override;
    int SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer, int options) override;
    int SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) override;
    int SI_Close(DeviceHandle handle) override;
    int SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    int SI_SetBaudRate(DeviceHandle handle, std::uint32_t baudRate) override;
    int SI_FlushBuffers(DeviceHandle handle, std::uint8_t flushTransmit,
                        std::uint8_t flushReceive) override;
    int SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                 std::uint32_t& bytesWritten) override;
    int SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                std::uint32_t& bytesReturned) override;

    // That the instrument is plugged in (lsusb lists it by its id), and that the virtual
    // instrument runs without one.
    std::string noDeviceAdvice() const override;
    // The device that could not be opened, where it is, why, and what to do.
    std::string deviceProblem(std::uint32_t deviceNum) const override;

  private:
    struct Session {
        std::unique_ptr<UsbDeviceHandle> handle;
        int interfaceNumber = 0;
        std::uint8_t outEndpoint = 0;
        BulkReader reader;
    };

    int openFailed(std::uint32_t deviceNum, UsbResult result, const std::string& cause);
    int openFailed(std::uint32_t deviceNum, UsbResult result);
    UsbResult request(Session& session, std::uint16_t value);
    int close(Session& session);
    Session* find(DeviceHandle handle);

    UsbBus& bus_;
    UsbId id_;
    Diagnostics diagnostics_;
    std::string permissionFix_;
    std::vector<std::shared_ptr<UsbDevice>> found_;  // as the last enumeration listed them
    std::map<std::uint32_t, std::string> problems_;  // of the devices found, by number
    std::map<DeviceHandle, Session> sessions_;
    DeviceHandle nextHandle_;
    std::uint32_t readTimeoutMs_;
    std::uint32_t writeTimeoutMs_;
};

}  // namespace tunx::usb
