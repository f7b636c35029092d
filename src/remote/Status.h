#pragma once

#include <cstddef>
#include <deque>

#include "remote/Error.h"

namespace tunx::remote {

// The standard event status register's bits.
namespace esr {
inline constexpr int kOperationComplete = 1;
inline constexpr int kQueryError = 4;
inline constexpr int kDeviceError = 8;
inline constexpr int kExecutionError = 16;
inline constexpr int kCommandError = 32;
}  // namespace esr

// The status byte's bits.
namespace stb {
inline constexpr int kErrorQueue = 4;    // the error queue holds an entry
inline constexpr int kEventStatus = 32;  // an enabled event status bit is set
inline constexpr int kRequestService = 64;
}  // namespace stb

// The error queue and the event status register. The queue keeps the oldest errors: when it
// is full, its last entry becomes "Queue overflow" and newer errors are lost. Touched only on
// the program's thread (the program's message boxes land here too).
class Status {
  public:
    static constexpr std::size_t kQueueLength = 32;

    // Queues an error and sets its class's event bit.
    void push(const ErrorEntry& entry);
    // The oldest error; 0,"No error" when there is none.
    ErrorEntry pop();
    std::size_t count() const { return queue_.size(); }

    // *CLS: the queue and the event register are cleared.
    void clear();
    // *ESR?: the event register, cleared by reading it.
    int takeEvents();
    void setEvent(int bit) { events_ |= bit; }
    // *ESE and *ESE?.
    void setEnable(int mask) { enable_ = mask; }
    int enable() const { return enable_; }
    // *STB?.
    int statusByte() const;

  private:
    std::deque<ErrorEntry> queue_;
    int events_ = 0;
    int enable_ = 0;
};

}  // namespace tunx::remote
