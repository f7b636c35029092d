#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunx {

// The record of everything that crossed a port, one event per line.
// Lines are kept in memory and, when a stream is attached, written to it as they happen.
class Transcript {
  public:
    Transcript() = default;
    explicit Transcript(std::ostream& out) : out_(&out) {}

    void write(std::string line);
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    // Line breaks (CR LF or LF) become the two characters \n, a backslash becomes \\.
    static std::string escape(std::string_view text);
    // Bytes in decimal, separated by one space.
    static std::string bytes(std::span<const std::uint8_t> data);

  private:
    std::ostream* out_ = nullptr;
    std::vector<std::string> lines_;
};

}  // namespace tunx
