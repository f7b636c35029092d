#include "monitor/counter/CounterMath.h"

#include <array>

#include "common/Numbers.h"

namespace tunx {

namespace {
constexpr double kCounterWrap = 65536;
}

std::int32_t countedPeriods(std::span<const std::uint8_t, kCounterBytes> bytes) {
    std::array<std::int32_t, kCountedSamples + 1> s{};
    for (std::size_t j = 1; j <= kCountedSamples; ++j) {
        s[j] = bytes[2 * j - 2] * 256 + bytes[2 * j - 1];
    }
    int wraps = 0;
    for (std::size_t j = 2; j <= kCountedSamples; ++j) {
        if (s[j] < s[j - 1]) {
            ++wraps;
        }
    }
    double d = s[3] - s[2];
    if (s[3] < s[2]) {
        d += kCounterWrap;
    }
    const double start = s[1] - d;
    return CLng(wraps * kCounterWrap + s[kCountedSamples] - start);
}

}  // namespace tunx
