#pragma once

#include <cstdint>

namespace tunx {
class Program;
}

namespace tunx::app {

// The reference traces REF A and REF B kept in the user's settings ("reference/A",
// "reference/B") as the scope export's text, so that they are there again after a restart,
// until cleared.
class ReferenceSettings {
  public:
    // Only a run that keeps settings reads or writes any (not a --script run, not a test).
    explicit ReferenceSettings(bool keep) : keep_(keep) {}

    // Puts the references kept into the program; before its thread starts. A kept text that
    // is not a reference any more is dropped.
    void load(Program& program);
    // Writes the references when they changed since the last call; on the program's thread,
    // after a piece of its work.
    void keep(Program& program);

  private:
    bool keep_ = false;
    std::uint64_t written_ = 0;
};

}  // namespace tunx::app
