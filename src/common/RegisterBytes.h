#pragma once

#include <array>
#include <cstdint>

namespace tunx {

// The largest value a two-byte field of a command carries.
inline constexpr std::int32_t kMaxUnsigned16 = 0xFFFF;

// Bits 15-8 and 7-0 of a value, as the two bytes of a 16-bit field.
struct BytePair {
    int high = 0;
    int low = 0;
};

// The four bytes of a 32-bit register value, most significant first (ltotx); a negative value
// gives its two's-complement bytes.
std::array<int, 4> registerBytes(std::int32_t value);

// Bits 15-8 and 7-0 of a value: the last two of its four bytes. A 16-bit register takes
// these, so a negative code goes out as its low 16 bits.
BytePair lowBytes(std::int32_t value);

// A value that must fit 16 unsigned bits, rounded half to even; raises "Overflow" otherwise.
std::int32_t unsigned16(double value);

// The two bytes of a value that must fit 16 unsigned bits; raises "Overflow" otherwise.
BytePair split16(double value);

}  // namespace tunx
