#pragma once

#include <array>
#include <cstdint>

namespace tunx::sim {

// Trigger level, code and source as command 35 sets them.
struct TriggerSetting {
    int level = 0;   // 8-bit or 12-bit converter codes
    int code = 0;    // 0 free-running; 1/2 CH1 (12-bit: the source) rising/falling; 21/22 CH2
    int source = 2;  // 2 CH1, 3 CH2

    bool rising() const { return code == 1 || code == 21; }
    int channel() const { return code >= 21 || source == 3 ? 1 : 0; }
};

// A scope record armed with command 36 or 42.
struct ScopeRecord {
    bool armed = false;       // armed since the last reset
    bool statusOwed = false;  // the end-of-record status is still to be sent
    bool twelveBit = false;
    bool slow = false;       // command 42
    bool streaming = false;  // mode byte + 128: samples flow without a status
    bool waitsForTrigger = false;
    bool started = false;  // the record's first sample is known
    int mode = 0;
    std::uint32_t divider = 0;
    double rate = 0;  // samples per second
    int samples = 0;  // record length
    std::int64_t armPs = 0;
    std::int64_t startPs = 0;   // first sample
    std::int64_t streamed = 0;  // samples sent while streaming
};

// A counter recording started with command 39.
struct CounterRecording {
    bool owed = false;  // the counting-done reply is still to be sent
    int samples = 0;
    std::int64_t startPs = 0;
};

// The last two code-40 commands (prescaler set-up).
struct PrescalerSetting {
    std::array<int, 5> first{};   // bytes of the command with byte 1 = 3
    std::array<int, 5> second{};  // bytes of the command with byte 1 = 0
};

}  // namespace tunx::sim
