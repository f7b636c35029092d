#include "dds/Flatness.h"

#include <array>

#include "common/Numbers.h"

namespace tunx {

namespace {

// Output gain correction points from the calibration, by frequency.
struct FlatPoint {
    std::int32_t hz;
    float Calibration::*gain;
};
constexpr std::array<FlatPoint, 13> kFlatness{{
    {1'000'000, &Calibration::flat1M},
    {10'000'000, &Calibration::flat10M},
    {20'000'000, &Calibration::flat20M},
    {30'000'000, &Calibration::flat30M},
    {40'000'000, &Calibration::flat40M},
    {50'000'000, &Calibration::flat50M},
    {60'000'000, &Calibration::flat60M},
    {70'000'000, &Calibration::flat70M},
    {80'000'000, &Calibration::flat80M},
    {90'000'000, &Calibration::flat90M},
    {100'000'000, &Calibration::flat100M},
    {150'000'000, &Calibration::flat150M},
    {200'000'000, &Calibration::flat200M},
}};

// Extra gain for high amplitudes, applied above each threshold (mVpp).
struct Boost {
    float above;
    double factor;
};
constexpr std::array<Boost, 5> kBoost{{
    {3900.0F, 1.01},
    {4200.0F, 1.015},
    {4400.0F, 1.02},
    {4600.0F, 1.028},
    {4800.0F, 1.035},
}};

}  // namespace

float flatness(const Calibration& c, std::int32_t hz) {
    for (std::size_t i = 1; i < kFlatness.size(); ++i) {
        const FlatPoint& lo = kFlatness[i - 1];
        const FlatPoint& hi = kFlatness[i];
        if (hz > lo.hz && hz <= hi.hz) {
            const double gLo = c.*lo.gain;
            const double gHi = c.*hi.gain;
            return CSng(gLo + (static_cast<double>(hz) - lo.hz) /
                                  (static_cast<double>(hi.hz) - lo.hz) * (gHi - gLo));
        }
    }
    return c.flat1M;
}

float boosted(float gain, float a) {
    double factor = 1.0;
    for (const Boost& b : kBoost) {
        if (a > b.above) {
            factor = b.factor;
        }
    }
    return CSng(gain * factor);
}

}  // namespace tunx
