#pragma once

#include "ports/UsbApi.h"

namespace tunx {

// The transport when no USB backend is built in: no device is ever attached.
class NoUsbBackend : public UsbApi {
  public:
    int SI_GetNumDevices(std::uint32_t& n) override {
        n = 0;
        return usb::kSuccess;
    }
    int SI_GetProductString(std::uint32_t, std::span<char>, int) override {
        return usb::kDeviceNotFound;
    }
    int SI_Open(std::uint32_t, DeviceHandle&) override { return usb::kDeviceNotFound; }
    int SI_Close(DeviceHandle) override { return usb::kSuccess; }
    int SI_SetTimeouts(std::uint32_t, std::uint32_t) override { return usb::kSuccess; }
    int SI_SetBaudRate(DeviceHandle, std::uint32_t) override { return usb::kInvalidHandle; }
    int SI_FlushBuffers(DeviceHandle, std::uint8_t, std::uint8_t) override {
        return usb::kInvalidHandle;
    }
    int SI_Write(DeviceHandle, std::span<const std::uint8_t>, std::uint32_t& n) override {
        n = 0;
        return usb::kInvalidHandle;
    }
    int SI_Read(DeviceHandle, std::span<std::uint8_t>, std::uint32_t& n) override {
        n = 0;
        return usb::kInvalidHandle;
    }
};

}  // namespace tunx
