#pragma once

#include <cstdint>
#include <span>

namespace tunx {

inline constexpr int kCounterSamples = 1008;  // samples of one reading (fcsamples)
inline constexpr int kCountedSamples = 1000;  // taken as one second
inline constexpr std::size_t kCounterBytes = 2 * kCounterSamples;

// The input periods counted over 1000 sample intervals of a 16-bit free-running counter:
// samples s[1..1000] (most significant byte first), w wraps where a sample is below the one
// before, d = s[3] - s[2] (mod 65536) extrapolates the count one sample before s[1], and
// N = w x 65536 + s[1000] - (s[1] - d). Raises "Overflow" beyond 32 bits.
std::int32_t countedPeriods(std::span<const std::uint8_t, kCounterBytes> bytes);

}  // namespace tunx
