#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace tunx {

// The display's running average: the codes of the last records of each channel (CH1, CH2),
// each from its trigger point on, and their sums and counts at each sample from there. All were
// taken with the settings and the count `key` names; other ones start it afresh.
struct TraceAverage {
    std::string key;
    std::deque<std::array<std::vector<std::int32_t>, 2>> records;  // oldest first
    std::array<std::vector<std::int64_t>, 2> sums;
    std::array<std::vector<std::uint32_t>, 2> counts;
};

}  // namespace tunx
