#pragma once

#include <chrono>
#include <cstdint>

#include "ports/Clock.h"

namespace tunx::sim {

inline constexpr std::int64_t kPsPerMs = 1'000'000'000;
inline constexpr double kPsPerSecond = 1e12;

// The instrument's own time in picoseconds. With the virtual clock it is the time the program
// has paused plus the time the instrument skipped ahead to finish its work at once; with a
// real clock it is the time since the instrument was made, and waiting blocks.
class InstrumentTime {
  public:
    explicit InstrumentTime(Clock& clock)
        : clock_(clock),
          virtual_(dynamic_cast<VirtualClock*>(&clock)),
          origin_(std::chrono::steady_clock::now()) {}

    std::int64_t nowPs() const {
        if (virtual_ != nullptr) {
            return virtual_->elapsedMs() * kPsPerMs + skippedPs_;
        }
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now() - origin_)
                   .count() *
               1000;
    }

    // Lets the time run on to `tPs`: the virtual clock skips there, a real clock sleeps.
    void waitUntil(std::int64_t tPs) {
        const std::int64_t now = nowPs();
        if (tPs <= now) {
            return;
        }
        if (virtual_ != nullptr) {
            skippedPs_ += tPs - now;
            return;
        }
        clock_.Sleep(static_cast<int>((tPs - now + kPsPerMs - 1) / kPsPerMs));
    }

  private:
    Clock& clock_;
    VirtualClock* virtual_;
    std::chrono::steady_clock::time_point origin_;
    std::int64_t skippedPs_ = 0;
};

}  // namespace tunx::sim
