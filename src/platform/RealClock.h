#pragma once

#include <chrono>
#include <thread>

#include "ports/Clock.h"

namespace tunx {

// Pauses for real: the instrument's pacing needs the calling thread to wait.
class RealClock : public Clock {
  public:
    void Sleep(int milliseconds) override {
        if (milliseconds > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        }
    }
};

}  // namespace tunx
