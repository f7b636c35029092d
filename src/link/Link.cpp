#include "link/Link.h"

#include "common/Numbers.h"
#include "common/RuntimeError.h"

namespace tunx {

namespace {
constexpr const char* kMsgDeviceLost = "Error finding TUNX3K device. Aborting application.";
constexpr const char* kMsgTimedOut = "Comm timed out";
constexpr const char* kMsgCommError = "CommError";
constexpr const char* kMsgSendFailed = "Error Sending Data.";
constexpr const char* kMsgRamFailed = "Error Writing Data Ram.";
constexpr const char* kMsgFrameErrorStart = "CommSendString Error  '";
constexpr const char* kMsgFrameErrorEnd = "'.\r\n";
constexpr const char* kTitleError = "Error";
}  // namespace

std::uint8_t frameChecksum(const std::array<std::int16_t, 6>& cmd) {
    std::int16_t sum = 0;
    for (std::int16_t b : cmd) {
        sum = CInt(static_cast<double>(sum) + b);
    }
    // The low byte of the 16-bit sum, two's complement for a negative sum.
    return static_cast<std::uint8_t>(static_cast<std::uint16_t>(sum) & 0xFFU);
}

std::array<std::uint8_t, kFrameSize> buildFrame(const std::array<std::int16_t, 6>& cmd) {
    const std::uint8_t checksum = frameChecksum(cmd);
    std::array<std::uint8_t, kFrameSize> frame{};
    frame[0] = kLeadByte;
    for (std::size_t i = 0; i < cmd.size(); ++i) {
        frame[i + 1] = CByte(cmd[i]);
    }
    frame[7] = checksum;
    return frame;
}

void Link::showStatus(int status) {
    if (showStatus_) {
        showStatus_(status);
    }
}

void Link::endApplication() {
    ui_.EndApplication();
    throw ApplicationEnded{};
}

void Link::CommSendString2() {
    std::array<std::uint8_t, kFrameSize> frame{};
    try {
        frame = buildFrame(s_.link.cmd);
    } catch (const RuntimeError& e) {
        ui_.MsgBox(kMsgFrameErrorStart + e.description() + kMsgFrameErrorEnd, MsgIcon::None,
                   kTitleError);
        return;
    }
    std::uint32_t written = 0;
    s_.link.usbstatus = static_cast<std::int16_t>(usb_.SI_Write(s_.link.devhandle, frame, written));
    if (s_.link.usbstatus != usb::kSuccess) {
        ui_.MsgBox(kMsgDeviceLost);
        endApplication();
    }
}

void Link::writeRaw(std::span<const std::uint8_t> data) {
    std::uint32_t written = 0;
    const int status = usb_.SI_Write(s_.link.devhandle, data, written);
    showStatus(status);
    if (status != usb::kSuccess) {
        ui_.MsgBox(kMsgDeviceLost);
        endApplication();
    }
}

bool Link::sendk2(std::int16_t& attempts, std::int32_t timeout, const std::string& label) {
    try {
        s_.link.usbstatus = static_cast<std::int16_t>(usb_.SI_SetTimeouts(
            static_cast<std::uint32_t>(timeout), static_cast<std::uint32_t>(timeout)));
        do {
            attempts = CInt(static_cast<double>(attempts) - 1);
            std::array<std::uint8_t, 1> reply{0};
            s_.link.usbstatus =
                static_cast<std::int16_t>(usb_.SI_FlushBuffers(s_.link.devhandle, 1, 1));
            CommSendString2();
            clock_.Sleep(kAckPauseMs);
            std::uint32_t got = 0;
            s_.link.usbstatus =
                static_cast<std::int16_t>(usb_.SI_Read(s_.link.devhandle, reply, got));
            if (s_.link.usbstatus == usb::kSuccess && reply[0] == kAck) {
                return true;
            }
        } while (attempts > 0);
        ++failures_;
        ui_.MsgBox(label +
                   (s_.link.usbstatus == usb::kReadTimedOut ? kMsgTimedOut : kMsgCommError));
        ui_.MsgBox(kMsgSendFailed);
        return false;
    } catch (const RuntimeError&) {
        ++failures_;
        ui_.MsgBox(kMsgSendFailed);
        return false;
    }
}

bool Link::rxver(const std::string& label) {
    std::array<std::uint8_t, 1> reply{0};
    std::uint32_t got = 0;
    const int status = usb_.SI_Read(s_.link.devhandle, reply, got);
    showStatus(status);
    if (status == usb::kSuccess && reply[0] == kAck) {
        return true;
    }
    ++failures_;
    ui_.MsgBox(label + (status == usb::kReadTimedOut ? kMsgTimedOut : kMsgCommError));
    ui_.MsgBox(kMsgRamFailed);
    return false;
}

void Link::setCommand(const Command& c) {
    auto toShort = [](int v) { return CInt(v); };
    s_.link.cmd = {toShort(c.code), toShort(c.b1), toShort(c.b2),
                   toShort(c.b3),   toShort(c.b4), toShort(c.b5)};
}

bool Link::send(const Command& command, const std::string& label, std::int32_t timeout,
                std::int16_t attempts) {
    setCommand(command);
    return sendk2(attempts, timeout, label);
}

}  // namespace tunx
