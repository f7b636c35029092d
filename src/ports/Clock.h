#pragma once

namespace tunx {

// The program's pauses. The real clock blocks the calling thread; the virtual clock only
// counts, so tests and fast script runs take no wall time.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual void Sleep(int milliseconds) = 0;
    // Milliseconds since the clock started: real time, or the pauses counted so far.
    virtual long long elapsedMs() const = 0;
};

// Counts the pauses asked for; never waits.
class VirtualClock : public Clock {
  public:
    void Sleep(int milliseconds) override {
        if (milliseconds > 0) {
            elapsed_ += milliseconds;
        }
    }
    long long elapsedMs() const override { return elapsed_; }

  private:
    long long elapsed_ = 0;
};

}  // namespace tunx
