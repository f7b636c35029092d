#include "usbfs/Testbed.h"

#include <dlfcn.h>
#include <umockdev.h>

#include <array>
#include <cstdio>
#include <stdexcept>

namespace tunx::test {

namespace {
constexpr const char* kPreloadLibrary = "libumockdev-preload.so.0";
constexpr int kFirstAddress = 2;  // address 1 is the root hub's
}  // namespace

Testbed::Testbed() : testbed_(umockdev_testbed_new()) {}

Testbed::~Testbed() {
    for (const std::string& node : nodes_) {
        umockdev_testbed_detach_ioctl(testbed_, node.c_str(), nullptr);
    }
    g_object_unref(testbed_);
}

bool Testbed::preloaded() {
    void* library = dlopen(kPreloadLibrary, RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) {
        return false;
    }
    dlclose(library);
    return true;
}

EmulatedDevice& Testbed::add(EmulatedDeviceInfo info, Firmware firmware) {
    const int address = kFirstAddress + static_cast<int>(devices_.size());
    auto device = std::make_unique<EmulatedDevice>(std::move(info), std::move(firmware));
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(testbed_, device->record(address).c_str(), &error)) {
        const std::string why = error != nullptr ? error->message : "?";
        g_clear_error(&error);
        throw std::runtime_error("umockdev cannot add the device: " + why);
    }
    std::array<char, 32> node{};
    std::snprintf(node.data(), node.size(), "/dev/bus/usb/001/%03d", address);
    if (!umockdev_testbed_attach_ioctl(testbed_, node.data(), device->handler(), &error)) {
        const std::string why = error != nullptr ? error->message : "?";
        g_clear_error(&error);
        throw std::runtime_error("umockdev cannot emulate " + std::string(node.data()) + ": " +
                                 why);
    }
    nodes_.emplace_back(node.data());
    devices_.push_back(std::move(device));
    return *devices_.back();
}

}  // namespace tunx::test
