#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tunx::sim {

// The bytes the instrument has sent and the host has not read yet. Keeps its storage, so a
// record of a few thousand bytes costs no allocation once the queue has grown to it.
class ByteQueue {
  public:
    bool empty() const { return head_ == bytes_.size(); }
    std::size_t size() const { return bytes_.size() - head_; }
    void clear() {
        bytes_.clear();
        head_ = 0;
    }
    void push(std::uint8_t b) { bytes_.push_back(b); }
    // Moves up to out.size() bytes into `out`; returns how many.
    std::size_t pop(std::span<std::uint8_t> out) {
        std::size_t n = 0;
        for (; n < out.size() && head_ < bytes_.size(); ++n) {
            out[n] = bytes_[head_++];
        }
        if (head_ == bytes_.size()) {
            clear();
        }
        return n;
    }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t head_ = 0;
};

}  // namespace tunx::sim
