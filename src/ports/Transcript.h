#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tunx {

// The record of everything that crossed a port, one event per line.
// Lines are kept in memory and, when a stream is attached, written to it as they happen. The
// stream is flushed by `flush` (at the end of a run, before the program ends itself, when a
// run fails) and when the transcript goes, not after every line.
class Transcript {
  public:
    Transcript() = default;
    explicit Transcript(std::ostream& out) : out_(&out) {}
    explicit Transcript(std::ostream* out) : out_(out) {}
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    void write(std::string line);
    void flush();
    // The lines written so far, when the transcript has no stream to go to.
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    // Line breaks (CR LF or LF) become the two characters \n, a backslash becomes \\.
    static std::string escape(std::string_view text);
    // Bytes in decimal, separated by one space.
    static std::string bytes(std::span<const std::uint8_t> data);
    // A drawing coordinate: a whole number as an integer, any other with at most three
    // decimals, trailing zeros dropped, a dot as decimal mark ("12", "-3.5", "0.125").
    static std::string coordinate(double value);

  private:
    std::ostream* out_ = nullptr;
    std::vector<std::string> lines_;
};

}  // namespace tunx
