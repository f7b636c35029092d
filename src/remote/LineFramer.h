#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <span>
#include <string>

#include "remote/Error.h"

namespace tunx::remote {

// How much one line may hold.
struct LineLimits {
    std::size_t textBytes = std::size_t{1} << 20;    // a line's text (1 MiB), blocks not counted
    std::size_t blockBytes = std::size_t{16} << 20;  // all blocks of a line together (16 MiB)
};

// Cuts the bytes a client sends into lines. A line ends at a line feed (a carriage return
// before it is dropped; an empty line is dropped too), except inside a definite block
// ("#<n><length><bytes>"), whose bytes are taken as they are. A line whose text or blocks exceed
// the limits is not kept: its bytes are skipped up to its end (a block's declared length is skipped
// without being stored) and the line is replaced by a "Too much data" error. The framer never holds
// more than the limits.
class LineFramer {
  public:
    explicit LineFramer(LineLimits limits = {}) : limits_(limits) {}

    // One complete line, or the error that stands for a line that was too long.
    struct Item {
        std::string line;
        std::optional<ErrorEntry> error;
    };

    void feed(std::span<const char> bytes);
    // The next complete line, in the order they arrived.
    std::optional<Item> next();
    // Bytes of a line that has not ended yet are held.
    bool partial() const { return !line_.empty() || state_ != State::Text; }

  private:
    enum class State { Text, Quote, Hash, BlockLength, BlockData, SkipBlock, SkipLine };

    void finishLine();
    void overflow(const std::string& why);
    void text(char c);

    LineLimits limits_;
    std::deque<Item> ready_;
    std::string line_;
    std::size_t textBytes_ = 0;
    std::size_t blockBytes_ = 0;
    State state_ = State::Text;
    char quote_ = 0;
    int lengthDigits_ = 0;       // digits of a block's length still to come
    std::size_t remaining_ = 0;  // a block's bytes still to come (or to skip)
    std::size_t blockEnd_ = 0;   // where the line's last block ended: no line end before it
};

}  // namespace tunx::remote
