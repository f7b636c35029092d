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
constexpr double kEdgeLow = 0.1;  // of the peak-to-peak, above the lowest sample
constexpr double kEdgeHigh = 0.9;
constexpr double kPercent = 100;
constexpr int kStatsColumn = 10;  // characters a cell of the statistics table takes
constexpr const char* kVolts = "V";
constexpr int kMostDecimals = 9;

struct Prefix {
    double scale;
    const char* name;
};
constexpr std::array<Prefix, 7> kPrefixes{
    {{1e9, "G"}, {1e6, "M"}, {1e3, "k"}, {1, ""}, {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}}};

// The mean time an edge takes from `from` to `to` (rising when from < to), from the crossings
// interpolated between samples; an edge that falls back before reaching `to` is not one.
std::optional<double> edgeTime(std::span<const double> volts, double interval, double from,
                               double to) {
    const bool up = from < to;
    const auto beyond = [up](double v, double level) { return up ? v >= level : v <= level; };
    const auto at = [&](std::size_t i, double level) {
        return (static_cast<double>(i - 1) + (level - volts[i - 1]) / (volts[i] - volts[i - 1])) *
               interval;
    };
    std::optional<double> start;
    double sum = 0;
    int edges = 0;
    for (std::size_t i = 1; i < volts.size(); ++i) {
        if (!beyond(volts[i - 1], from) && beyond(volts[i], from)) {
            start = at(i, from);
        }
        if (start && !beyond(volts[i - 1], to) && beyond(volts[i], to)) {
            sum += at(i, to) - *start;
            ++edges;
            start.reset();
        } else if (start && !beyond(volts[i], from)) {
            start.reset();
        }
    }
    if (edges == 0) {
        return std::nullopt;
    }
    return sum / edges;
}

std::string orNotKnown(const std::optional<double>& v, const std::string& unit) {
    return v ? withPrefix(*v, unit) : std::string(kNoFrequency);
}

void addEdges(Measurement& m, std::span<const double> volts, double interval) {
    if (volts.empty() || m.pp <= 0) {
        return;
    }
    const double low = *std::min_element(volts.begin(), volts.end());
    const double ten = low + kEdgeLow * m.pp, ninety = low + kEdgeHigh * m.pp;
    m.rise = edgeTime(volts, interval, ten, ninety);
    m.fall = edgeTime(volts, interval, ninety, ten);
}

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
    addEdges(m, volts, interval);
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
    m.period = period * interval;
    // Duty: the samples above the middle over the whole periods between the first and the
    // last rising crossing.
    std::size_t above = 0;
    for (std::size_t i = rising.front(); i < rising.back(); ++i) {
        above += volts[i] > m.mean ? 1 : 0;
    }
    m.duty = static_cast<double>(above) / static_cast<double>(rising.back() - rising.front());
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

std::string withoutPrefix(double value, const std::string& unit, int digits) {
    const double size = std::abs(value);
    int decimals = digits - 1;
    if (size > 0 && std::isfinite(size)) {
        decimals = std::clamp(digits - 1 - static_cast<int>(std::floor(std::log10(size))), 0,
                              kMostDecimals);
    }
    return formatFixed(value == 0 ? 0.0 : value, decimals) + " " + unit;
}

std::string measurementText(const std::string& channel, const Measurement& m,
                            const std::string& unit) {
    // A prefix before a squared unit reads as the square of the prefixed unit ("mV²" is a
    // millionth of a V²): such values are written without one.
    const auto value = [&unit](double v, const char* suffix) {
        return unit == kVolts ? withPrefix(v, unit + suffix) : withoutPrefix(v, unit + suffix);
    };
    return channel + (m.clipped ? kClipped : "") + "  " + (m.clipped ? kAtLeast : "") +
           value(m.pp, "pp") + "  " + value(m.rms, "rms") + "  mean " + value(m.mean, "") + "  " +
           (m.frequency ? withPrefix(*m.frequency, "Hz") : std::string(kNoFrequency));
}

std::string timingText(const std::string& channel, const Measurement& m) {
    return channel + "  T " + orNotKnown(m.period, "s") + "  rise " + orNotKnown(m.rise, "s") +
           "  fall " + orNotKnown(m.fall, "s") + "  duty " +
           (m.duty ? formatFixed(*m.duty * kPercent, 1) + " %" : std::string(kNoFrequency));
}

void addToStats(ChannelStats& stats, const Measurement& m) {
    ++stats.records;
    stats[MeasuredValue::Vpp].add(m.pp);
    stats[MeasuredValue::Vrms].add(m.rms);
    stats[MeasuredValue::Mean].add(m.mean);
    if (m.frequency) {
        stats[MeasuredValue::Frequency].add(*m.frequency);
    }
}

std::string statisticsText(const std::string& channel, const ChannelStats& stats) {
    struct Row {
        MeasuredValue value;
        const char* name;
        const char* unit;
    };
    constexpr std::array<Row, kMeasuredValues> kRows{{{MeasuredValue::Vpp, "Vpp", "V"},
                                                      {MeasuredValue::Vrms, "Vrms", "V"},
                                                      {MeasuredValue::Mean, "mean", "V"},
                                                      {MeasuredValue::Frequency, "freq", "Hz"}}};
    const auto cell = [](std::string text) {
        // Characters, not bytes: "µ" and "—" take two bytes each and one place.
        std::size_t width = 0;
        for (unsigned char c : text) {
            width += (c & 0xC0) != 0x80 ? 1 : 0;
        }
        return std::string(width < kStatsColumn ? kStatsColumn - width : 1, ' ') + text;
    };
    std::string out = channel + "  " + std::to_string(stats.records) + " records\n     " +
                      cell("current") + cell("min") + cell("mean") + cell("max") + cell("std dev");
    for (const Row& row : kRows) {
        const RunningStats& s = stats[row.value];
        std::string line = row.name;
        line.resize(5, ' ');
        if (s.count == 0) {
            for (int i = 0; i < 5; ++i) {
                line += cell(kNoFrequency);
            }
        } else {
            for (double v : {s.current, s.min, s.mean, s.max, s.stddev()}) {
                line += cell(withPrefix(v, row.unit));
            }
        }
        out += "\n" + line;
    }
    return out;
}

}  // namespace tunx
