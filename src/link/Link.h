#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "ports/Clock.h"
#include "ports/Ui.h"
#include "ports/UsbApi.h"
#include "state/SharedState.h"

namespace tunx {

// Command codes of the instrument.
namespace code {
inline constexpr int kCfr1 = 1;
inline constexpr int kCfr2 = 2;
inline constexpr int kAmplitude = 3;
inline constexpr int kFtw = 5;
inline constexpr int kFtwUpdate = 6;
inline constexpr int kOffset = 13;
inline constexpr int kRamWrite = 18;
inline constexpr int kRamRead = 19;
inline constexpr int kStart = 20;
inline constexpr int kProfile1 = 21;
inline constexpr int kProfile2 = 22;
inline constexpr int kMultipliers = 23;
inline constexpr int kClock20MHz = 24;
inline constexpr int kTrigger = 25;
inline constexpr int kClockSetting = 26;
inline constexpr int kBiasRead = 27;
inline constexpr int kOutputClose = 30;
inline constexpr int kDac = 31;
inline constexpr int kSwitch = 32;
inline constexpr int kScopeTrigger = 35;  // trigger level, edge and source
inline constexpr int kRecord = 36;        // a record on the fast time bases
inline constexpr int kReadRecord = 37;    // the bytes of a record or of a count
inline constexpr int kRecordReset = 38;
inline constexpr int kCountStart = 39;
inline constexpr int kPrescaler = 40;
inline constexpr int kAdcSync = 41;
inline constexpr int kSlowRecord = 42;  // a record on the slow time bases
}  // namespace code

inline constexpr std::uint8_t kLeadByte = 4;
inline constexpr std::uint8_t kAck = 6;
inline constexpr int kFrameSize = 8;
inline constexpr int kAckPauseMs = 20;

// The six command bytes of one command: code, then parameter bytes 1-5.
struct Command {
    int code = 0;
    int b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0;
};

// Frame checksum: the low 8 bits of the sum of the six command bytes (16-bit sum,
// overflow-checked).
std::uint8_t frameChecksum(const std::array<std::int16_t, 6>& cmd);
// The 8-byte frame; raises RuntimeError("Overflow") for a byte outside 0-255.
std::array<std::uint8_t, kFrameSize> buildFrame(const std::array<std::int16_t, 6>& cmd);

// The USB link: frame write, acknowledged command transaction, acknowledgement-only read.
// One link per run serves both windows.
class Link {
  public:
    Link(SharedState& state, UsbApi& usb, Clock& clock, Ui& ui)
        : s_(state), usb_(usb), clock_(clock), ui_(ui) {}

    // Writes the frame of the shared command bytes. A write failure ends the application.
    void CommSendString2();

    // Command transaction: flush, write, 20 ms pause, read the acknowledgement byte, repeated
    // while attempts remain. `attempts` is consumed. Shows the failure messages itself.
    bool sendk2(std::int16_t& attempts, std::int32_t timeout, const std::string& label);

    // Reads the acknowledgement after raw data, once, with the time-outs currently set.
    bool rxver(const std::string& label);

    // Writes raw data outside a frame (the waveform RAM words) and shows the status. A failed
    // write is a broken link, as for a frame: the same message, and the application ends.
    void writeRaw(std::span<const std::uint8_t> data);

    // How many transactions and acknowledgement reads have failed so far: a sequence that
    // must know whether any of its commands failed compares the count before and after.
    int failures() const { return failures_; }

    // Fills the shared command bytes and runs a transaction with its own attempt count.
    bool send(const Command& command, const std::string& label, std::int32_t timeout = 1000,
              std::int16_t attempts = 3);
    // Fills the shared command bytes (callers that then write or read themselves).
    void setCommand(const Command& command);

    // Reports a library status to whoever shows it (the generator window's Status label).
    void showStatus(int status);
    void onStatus(std::function<void(int status)> show) { showStatus_ = std::move(show); }

    // Ends the application at once: the Ui is told, then the handler stack unwinds.
    [[noreturn]] void endApplication();

    SharedState& state() { return s_; }
    UsbApi& usb() { return usb_; }
    Clock& clock() { return clock_; }
    Ui& ui() { return ui_; }

  private:
    SharedState& s_;
    UsbApi& usb_;
    Clock& clock_;
    Ui& ui_;
    std::function<void(int)> showStatus_;
    int failures_ = 0;
};

}  // namespace tunx
