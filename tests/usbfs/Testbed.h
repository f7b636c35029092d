#pragma once

#include <memory>
#include <string>
#include <vector>

#include "usbfs/EmulatedDevice.h"

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace tunx::test {

// umockdev's emulated /sys and /dev with USB devices on bus 1, each behind a usbfs node that
// an EmulatedDevice answers. libusb sees them as attached devices once the testbed exists
// (the process must run with umockdev's preload library, see `preloaded`).
class Testbed {
  public:
    Testbed();
    // Detaches the devices' nodes before the devices go, then removes the emulated folders.
    ~Testbed();
    Testbed(const Testbed&) = delete;
    Testbed& operator=(const Testbed&) = delete;

    // umockdev's preload library is loaded in this process; without it nothing is emulated.
    static bool preloaded();

    // A device at the next address of bus 1 (the first is 2).
    EmulatedDevice& add(EmulatedDeviceInfo info, Firmware firmware = {});

  private:
    UMockdevTestbed* testbed_;
    std::vector<std::string> nodes_;
    std::vector<std::unique_ptr<EmulatedDevice>> devices_;
};

}  // namespace tunx::test
