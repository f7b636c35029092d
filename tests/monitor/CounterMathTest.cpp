#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "common/RuntimeError.h"
#include "monitor/CounterMath.h"

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

struct Row {
    const char* what;
    std::function<long(long)> counter;
    std::int32_t periods;
};

TEST(CounterMath, WrapCountAndExtrapolatedStart) {
    const Row rows[] = {
        // 1000 counts per millisecond: w = 15, d = 1000, b = 0, s[1000] = 16960.
        {"1 MHz", [](long j) { return 1000 * j; }, 1'000'000},
        {"counter standing still", [](long) { return 1234; }, 0},
        // The start lies a whole step before s[1], across a wrap: s[1] = 100, step 200.
        {"start before a wrap", [](long j) { return 100 + 200 * (j - 1); }, 200 * 1000},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(countedPeriods(samples(row.counter)), row.periods) << row.what;
    }
}

TEST(CounterMath, ShortLastSampleCountsAsItsFullValue) {
    // w = 2, s[1000] = 2748 (0xABC), s[1] = 0 and a step of 0 at the start: b = 0,
    // N = 2 x 65536 + 2748 = 133,820.
    const auto bytes = samples([](long j) {
        if (j <= 3) {
            return 0L;
        }
        if (j < 400) {
            return 30000L;
        }
        if (j < 800) {
            return 10000L;  // wrap 1
        }
        if (j < 1000) {
            return 20000L;
        }
        return 2748L;  // wrap 2
    });
    EXPECT_EQ(countedPeriods(bytes), 133'820);
}

TEST(CounterMath, OnlyTheFirstThousandSamplesCount) {
    auto bytes = samples([](long j) { return 1000 * j; });
    bytes[kCounterBytes - 1] = 0;  // sample 1008
    bytes[kCounterBytes - 2] = 0;
    EXPECT_EQ(countedPeriods(bytes), 1'000'000);
}

}  // namespace
}  // namespace tunx
