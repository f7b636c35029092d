#pragma once

#include <chrono>
#include <thread>

#include "ports/Clock.h"

namespace tunx {

// Pauses for real: the instrument's pacing needs the calling thread to wait.
class RealClock : public Clock {
  public:
    long long elapsedMs() const override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }
    void Sleep(int milliseconds) override {
        if (milliseconds > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace tunx
