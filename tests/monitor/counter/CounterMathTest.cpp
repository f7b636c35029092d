#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "monitor/counter/CounterMath.h"

namespace tunx {
namespace {

// The bytes of 1008 counter samples s[j] = f(j), most significant byte first.
std::array<std::uint8_t, kCounterBytes> samples(const std::function<long(long)>& f) {
    std::array<std::uint8_t, kCounterBytes> bytes{};
    for (long j = 1; j <= kCounterSamples; ++j) {
        const long v = f(j) & 0xFFFF;
        bytes[static_cast<std::size_t>(2 * j - 2)] = static_cast<std::uint8_t>(v >> 8);
        bytes[static_cast<std::size_t>(2 * j - 1)] = static_cast<std::uint8_t>(v & 0xFF);
    }
    return bytes;
}

TEST(CounterMath, WrapCountAndExtrapolatedStart) {
    const std::pair<std::function<long(long)>, std::int32_t> rows[] = {
        // 1000 counts per millisecond: w = 15, d = 1000, b = 0, s[1000] = 16960.
        {[](long j) { return 1000 * j; }, 1'000'000},
        // Samples after the thousandth do not count.
        {[](long j) { return j <= 1000 ? 1000 * j : 0; }, 1'000'000},
        // A wrap right after the first sample: w = 16, d = 1000, b = 64000, s[1000] = 15424.
        {[](long j) { return 65000 + 1000 * (j - 1); }, 1'000'000},
        {[](long) { return 1234; }, 0},
        // The start lies a whole step before s[1], across a wrap: s[1] = 100, step 200.
        {[](long j) { return 100 + 200 * (j - 1); }, 200 * 1000},
        // w = 2, s[1000] = 2748 (0xABC), s[1] = 0 and a step of 0 at the start: b = 0,
        // N = 2 x 65536 + 2748 = 133,820: a short last sample counts as its full value.
        {[](long j) {
             return j <= 3 ? 0L : j < 400 ? 30000L : j < 800 ? 10000L : j < 1000 ? 20000L : 2748L;
         },
         133'820},
    };
    for (const auto& [counter, periods] : rows) {
        EXPECT_EQ(countedPeriods(samples(counter)), periods);
    }
}

}  // namespace
}  // namespace tunx
