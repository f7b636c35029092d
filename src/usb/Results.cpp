#include "usb/Results.h"

#include <array>
#include <utility>

namespace tunx::usb {

int statusOf(UsbResult result, Operation operation) {
    if (result == UsbResult::Success) {
        return kSuccess;
    }
    if (result == UsbResult::NoDevice) {
        return kDeviceNotFound;
    }
    switch (operation) {
        case Operation::Read:
            return result == UsbResult::Timeout ? kReadTimedOut : kReadError;
        case Operation::Write:
            return kWriteError;  // also a write the device did not take within the time-out
        case Operation::Open:
            // A device that is there but cannot be had (no permission, claimed by another
            // program, no such interface) is as good as not found.
            if (result == UsbResult::Access || result == UsbResult::Busy ||
                result == UsbResult::NotFound) {
                return kDeviceNotFound;
            }
            return kIoError;
        case Operation::Enumerate:
        case Operation::Control:
            break;
    }
    return kIoError;
}

std::string wordsFor(UsbResult result) {
    static constexpr std::array<std::pair<UsbResult, const char*>, 14> kWords{{
        {UsbResult::Success, "success"},
        {UsbResult::Io, "input/output error"},
        {UsbResult::InvalidParam, "invalid parameter"},
        {UsbResult::Access, "no permission"},
        {UsbResult::NoDevice, "no such device"},
        {UsbResult::NotFound, "not found"},
        {UsbResult::Busy, "busy"},
        {UsbResult::Timeout, "timed out"},
        {UsbResult::Overflow, "overflow"},
        {UsbResult::Pipe, "endpoint halted"},
        {UsbResult::Interrupted, "interrupted"},
        {UsbResult::NoMem, "out of memory"},
        {UsbResult::NotSupported, "not supported on this system"},
        {UsbResult::Other, "other error"},
    }};
    for (const auto& [r, words] : kWords) {
        if (r == result) {
            return words;
        }
    }
    return "error " + std::to_string(static_cast<int>(result));
}

std::string openFailureCause(UsbResult result, const std::string& permissionFix) {
    switch (result) {
        case UsbResult::Access:
            return "no permission to open it. " + permissionFix;
        case UsbResult::Busy:
            return "it is busy: another program is using it. Close that program and start "
                   "again.";
        case UsbResult::NoDevice:
            return "it was unplugged.";
        default:
            return "USB error: " + wordsFor(result) + ".";
    }
}

}  // namespace tunx::usb
