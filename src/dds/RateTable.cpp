#include "dds/RateTable.h"

#include <array>

#include "common/Numbers.h"

namespace tunx {

namespace {

struct Row {
    double low;
    double high;
    bool highIncluded;
    int multiplier;
};

constexpr std::array<Row, 17> kRows = {{
    {75e6, 100e6, true, 20},
    {75e6, 95e6, false, 19},
    {70e6, 90e6, false, 18},
    {65e6, 85e6, false, 17},
    {60e6, 80e6, false, 16},
    {60e6, 75e6, false, 15},
    {55e6, 70e6, false, 14},
    {50e6, 65e6, false, 13},
    {45e6, 60e6, false, 12},
    {45e6, 55e6, false, 11},
    {40e6, 50e6, false, 10},
    {35e6, 45e6, false, 9},
    {30e6, 40e6, false, 8},
    {30e6, 35e6, false, 7},
    {25e6, 30e6, false, 6},
    {20e6, 25e6, false, 5},
    {15e6, 20e6, false, 4},
}};

}  // namespace

int clockMultiplier(double rate) {
    int m = 0;
    for (const Row& r : kRows) {
        if (rate >= r.low && (rate < r.high || (r.highIncluded && rate == r.high))) {
            m = r.multiplier;
        }
    }
    return m;
}

RateSetting rateSetting(double rate, int multiplier) {
    RateSetting s;
    s.reference = roundHalfEven(divide(rate, multiplier / 4.0));
    s.setting = CInt(s.reference / 5000.0);
    return s;
}

}  // namespace tunx
