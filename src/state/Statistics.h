#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tunx {

// One measured value over the records since the last reset: the last reading, the smallest,
// the largest, their mean and standard deviation (Welford's running sums, so that a long run
// neither loses precision nor keeps the readings).
struct RunningStats {
    std::size_t count = 0;
    double current = 0, min = 0, max = 0, mean = 0;
    double squares = 0;  // sum of squared differences from the mean

    void add(double v) {
        ++count;
        current = v;
        min = count == 1 ? v : std::min(min, v);
        max = count == 1 ? v : std::max(max, v);
        const double before = mean;
        mean += (v - before) / static_cast<double>(count);
        squares += (v - before) * (v - before - (v - before) / static_cast<double>(count));
    }
    // The population standard deviation of the readings; 0 for fewer than two.
    double stddev() const {
        return count < 2 ? 0 : std::sqrt(std::max(0.0, squares) / static_cast<double>(count));
    }
};

// The values of a channel's measurement line the statistics follow, in table order.
enum class MeasuredValue { Vpp, Vrms, Mean, Frequency };
inline constexpr std::size_t kMeasuredValues = 4;

// A channel's statistics since the last reset, and how many records they have seen.
struct ChannelStats {
    std::uint64_t records = 0;
    std::array<RunningStats, kMeasuredValues> values{};
    RunningStats& operator[](MeasuredValue v) { return values[static_cast<std::size_t>(v)]; }
    const RunningStats& operator[](MeasuredValue v) const {
        return values[static_cast<std::size_t>(v)];
    }
};

}  // namespace tunx
