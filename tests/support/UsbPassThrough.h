#pragma once

#include "ports/UsbApi.h"

namespace tunx::test {

// Passes every call on to another transport; tests override the calls they want to bend.
class UsbPassThrough : public UsbApi {
  public:
    explicit UsbPassThrough(UsbApi& inner) : inner_(inner) {}

    int SI_GetNumDevices(std::uint32_t& n) override { return inner_.SI_GetNumDevices(n); }
    int SI_GetProductString(std::uint32_t d, std::span<char> b, int o) override {
        return inner_.SI_GetProductString(d, b, o);
    }
    int SI_Open(std::uint32_t d, DeviceHandle& h) override { return inner_.SI_Open(d, h); }
    int SI_Close(DeviceHandle h) override { return inner_.SI_Close(h); }
    int SI_SetTimeouts(std::uint32_t r, std::uint32_t w) override {
        return inner_.SI_SetTimeouts(r, w);
    }
    int SI_SetBaudRate(DeviceHandle h, std::uint32_t b) override {
        return inner_.SI_SetBaudRate(h, b);
    }
    int SI_FlushBuffers(DeviceHandle h, std::uint8_t t, std::uint8_t r) override {
        return inner_.SI_FlushBuffers(h, t, r);
    }
    int SI_Write(DeviceHandle h, std::span<const std::uint8_t> d, std::uint32_t& n) override {
        return inner_.SI_Write(h, d, n);
    }
    int SI_Read(DeviceHandle h, std::span<std::uint8_t> b, std::uint32_t& n) override {
        return inner_.SI_Read(h, b, n);
    }
    std::string noDeviceAdvice() const override { return inner_.noDeviceAdvice(); }
    std::string deviceProblem(std::uint32_t d) const override { return inner_.deviceProblem(d); }

  private:
    UsbApi& inner_;
};

}  // namespace tunx::test
