#pragma once

#include <array>
#include <cstdint>

namespace tunx {

// The four bytes of a 32-bit register value, most significant first, as ltotx splits it
// (a negative value gives its two's-complement bytes).
std::array<int, 4> registerBytes(std::int32_t value);

// Bits 15-8 and 7-0 of a value: the last two of its four bytes. A 16-bit register takes
// these, so a negative code goes out as its low 16 bits.
std::array<int, 2> lowBytes(std::int32_t value);

}  // namespace tunx
