#include "monitor/scope/Measurements.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "common/Numbers.h"

namespace tunx {

namespace {

constexpr double kHysteresis = 0.1;  // of the peak-to-peak
constexpr std::size_t kMinPeriods = 2;
constexpr double kSampleJitter = 2;
constexpr double kPeriodJitter = 0.25;
constexpr const char* kNoFrequency = "\u2014";
constexpr const char* kClipped = " clipped";
constexpr const char* kAtLeast = ">";

struct Prefix {
    double scale;
    const char* name;
};
constexpr std::array<Prefix, 7> kPrefixes{
    {{1e9, "G"}, {1e6, "M"}, {1e3, "k"}, {1, ""}, {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}}};

}  // namespace

Measurement measure(std::span<const double> volts, double interval) {
    Measurement m;
    if (volts.empty()) {
        return m;
    }
    const auto [low, high] = std::minmax_element(volts.begin(), volts.end());
    m.pp = *high - *low;
    double sum = 0, squares = 0;
    for (double v : volts) {
        sum += v;
        squares += v * v;
    }
    const double n = static_cast<double>(volts.size());
    m.mean = sum / n;
    m.rms = std::sqrt(squares / n);

    // Rising crossings: from below the lower threshold to above the upper one.
    const double h = kHysteresis * m.pp;
    if (h <= 0 || interval <= 0) {
        return m;
    }
    bool below = volts.front() < m.mean - h;
    std::vector<std::size_t> rising;
    for (std::size_t i = 1; i < volts.size(); ++i) {
        if (volts[i] < m.mean - h) {
            below = true;
        } else if (below && volts[i] > m.mean + h) {
            below = false;
            rising.push_back(i);
        }
    }
    if (rising.size() < kMinPeriods + 1) {
        return m;
    }
    // Only a signal that repeats has a frequency: the periods may differ by a sample or two,
    // or a quarter of a period, not more (noise crosses its mean at random).
    std::size_t shortest = rising[1] - rising[0], longest = shortest;
    for (std::size_t i = 2; i < rising.size(); ++i) {
        shortest = std::min(shortest, rising[i] - rising[i - 1]);
        longest = std::max(longest, rising[i] - rising[i - 1]);
    }
    const double periods = static_cast<double>(rising.size() - 1);
    const double period = static_cast<double>(rising.back() - rising.front()) / periods;
    if (static_cast<double>(longest - shortest) > std::max(kSampleJitter, kPeriodJitter * period)) {
        return m;
    }
    m.frequency = 1.0 / (period * interval);
    return m;
}

std::string withPrefix(double value, const std::string& unit, int digits) {
    const double magnitude = std::abs(value);
    const Prefix* chosen = &kPrefixes[3];
    if (magnitude > 0 && std::isfinite(magnitude)) {
        for (const Prefix& p : kPrefixes) {
            // 999.6 m shows as 1.00, not 1000 m
            if (magnitude >= p.scale * (1 - 0.5 * std::pow(10.0, -(digits - 1)))) {
                chosen = &p;
                break;
            }
            chosen = &p;
        }
    }
    const double scaled = value / chosen->scale;
    const double size = std::abs(scaled);
    // Digits before the point as the value rounds, the rest after it.
    int whole = 1;
    for (double limit = 10; whole < digits && size >= limit * (1 - 0.5 * std::pow(10.0, -digits));
         limit *= 10) {
        ++whole;
    }
    const int decimals = std::max(digits - whole, 0);
    // The program's own fixed-point text: a dot whatever the locale.
    return formatFixed(scaled == 0 ? 0.0 : scaled, decimals) + " " + chosen->name + unit;
}

std::string measurementText(const std::string& channel, const Measurement& m) {
    return channel + (m.clipped ? kClipped : "") + "  " + (m.clipped ? kAtLeast : "") +
           withPrefix(m.pp, "Vpp") + "  " + withPrefix(m.rms, "Vrms") + "  mean " +
           withPrefix(m.mean, "V") + "  " +
           (m.frequency ? withPrefix(*m.frequency, "Hz") : std::string(kNoFrequency));
}

}  // namespace tunx
