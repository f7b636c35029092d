#pragma once

#include <optional>
#include <span>
#include <string>

#include "state/Statistics.h"

namespace tunx {

// What a record of one channel measures, in volts and hertz.
struct Measurement {
    double pp = 0;
    double rms = 0;
    double mean = 0;
    std::optional<double> frequency;  // none when fewer than two periods are in the record
    bool clipped = false;             // samples at the converter's ends: the peaks are lower bounds
    // The edges, between 10 % and 90 % of the way from the lowest sample to the highest, and
    // the share of the whole periods spent above the middle; none where the record holds no
    // such edge or no whole period.
    std::optional<double> period;  // seconds, 1 / frequency
    std::optional<double> rise, fall;
    std::optional<double> duty;  // 0 to 1
};

// Peak-to-peak, rms and mean of the samples, and the frequency from the rising crossings of
// the mean with a hysteresis of a tenth of the peak-to-peak.
Measurement measure(std::span<const double> volts, double interval);

// A value with three (or `digits`) significant digits and an SI prefix before `unit`:
// "4.00 V", "15.6 mV", "1.00 kHz"; "0.00 V" for zero.
std::string withPrefix(double value, const std::string& unit, int digits = 3);

// The readout of a channel: "CH1  4.00 Vpp  1.41 Vrms  mean 0.00 V  1.00 kHz" ("—" for a
// frequency that cannot be measured); a clipped record says so after the channel's name and
// gives its peak-to-peak as a lower bound: "CH1 clipped  >7.97 Vpp ...".
// Values of another unit than volts (a product's V²) come without a prefix, three significant
// digits: "CH1×CH2  8.00 V²pp  2.83 V²rms  mean 2.00 V²  2.00 kHz".
std::string measurementText(const std::string& channel, const Measurement& m,
                            const std::string& unit = "V");
// A value with `digits` significant digits and no prefix: "0.00123 V²".
std::string withoutPrefix(double value, const std::string& unit, int digits = 3);

// The edges of a channel: "CH1  T 1.00 ms  rise 295 µs  fall 295 µs  duty 50.0 %" ("—"
// for what cannot be measured).
std::string timingText(const std::string& channel, const Measurement& m);

// Adds a record's measurement to the channel's statistics.
void addToStats(ChannelStats& stats, const Measurement& m);
// The statistics of a channel as a table, one line per value of the measurement line:
// its last reading, the smallest, the mean, the largest and the standard deviation, under a
// line naming the channel and the records seen since the reset.
std::string statisticsText(const std::string& channel, const ChannelStats& stats);

}  // namespace tunx
