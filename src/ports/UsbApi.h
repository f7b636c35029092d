#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tunx {

// Status codes of the transport library that the program relies on.
namespace usb {
inline constexpr int kSuccess = 0x00;
inline constexpr int kInvalidHandle = 0x01;
inline constexpr int kReadError = 0x02;
inline constexpr int kWriteError = 0x04;
inline constexpr int kReadTimedOut = 0x0D;  // 13
inline constexpr int kDeviceNotFound = 0xFF;

inline constexpr int kProductStringSerial = 0x00;       // option 0 of SI_GetProductString
inline constexpr std::size_t kProductStringSize = 257;  // buffer the program passes
}  // namespace usb

using DeviceHandle = std::uint32_t;

// The nine operations of the USB transport library, as the program calls them.
// Every operation returns a status: 0 success, 13 read timed out, anything else failure.
class UsbApi {
  public:
    virtual ~UsbApi() = default;

    virtual int SI_GetNumDevices(std::uint32_t& numDevices) = 0;
    // Fills `buffer` (the program passes 257 bytes) with a zero-terminated string.
    virtual int SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer,
                                    int options) = 0;
    virtual int SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) = 0;
    virtual int SI_Close(DeviceHandle handle) = 0;
    // Read and write time-outs in ms; global to the library, not per handle.
    virtual int SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t writeTimeout) = 0;
    virtual int SI_SetBaudRate(DeviceHandle handle, std::uint32_t baudRate) = 0;
    virtual int SI_FlushBuffers(DeviceHandle handle, std::uint8_t flushTransmit,
                                std::uint8_t flushReceive) = 0;
    virtual int SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                         std::uint32_t& bytesWritten) = 0;
    // Reads up to buffer.size() bytes; status 13 when nothing arrived within the read time-out.
    virtual int SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                        std::uint32_t& bytesReturned) = 0;

    // Beside the library's operations, what the program's start-up asks the transport when it
    // finds no instrument it can use, for its message boxes ("" when there is nothing to add):
    // what to check when no device is attached at all,
    virtual std::string noDeviceAdvice() const { return {}; }
    // and why device `deviceNum` of the last enumeration could not be used (its serial number
    // read, or the device opened), with what to do about it.
    virtual std::string deviceProblem(std::uint32_t /*deviceNum*/) const { return {}; }
};

}  // namespace tunx
