#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "link/Link.h"
#include "state/SharedState.h"

namespace tunx {

enum class Channel { CH1 = 1, CH2 = 2 };

// The input attenuator and amplifier set-ups; each has its own gain and offset calibration.
enum class RangeGroup { Volt, DeciVolt, MilliVolt };

// One entry of a channel's volts-per-division list.
struct VoltsRange {
    std::string_view text;  // "1V", "0.5V", ... "10mV"
    double k = 0;           // full plot height (8 divisions) in millivolts
    double m = 0;           // full plot height in volts, as the range DAC takes it
    RangeGroup group = RangeGroup::Volt;
};

inline constexpr std::string_view kRange10mV = "10mV";

// The seven ranges, as the channels' lists show them: from "1V" down to "10mV".
std::span<const VoltsRange> voltsRanges();
// The seven ranges of the lists; nullptr for any other text.
const VoltsRange* findRange(std::string_view text);
// The volts per division of a range.
double voltsPerDivision(const VoltsRange& range);
// The range's volts per division as its readouts give it: millivolts for the millivolt
// ranges, volts for the others, with the unit's text (" mV", " V").
struct ReadoutScale {
    double perDivision = 0;
    std::string_view unit;
};
ReadoutScale readoutScale(const VoltsRange& range);

// The calibration of one channel's range group.
struct GroupCalibration {
    double gain = 0;    // g
    double offset = 0;  // c, as the calibration holds it
    double slope = 0;
};
GroupCalibration groupCalibration(const Calibration& cal, Channel ch, RangeGroup group);

// The two switch commands that select a range group on a channel.
std::array<Command, 2> rangeSwitches(Channel ch, RangeGroup group);

int rangeDacChannel(Channel ch);
int offsetDacChannel(Channel ch);

// What one channel's volts-per-division setting computes before anything is sent.
struct RangeSetting {
    std::int32_t spanadc = 0;  // 8 divisions in 12-bit codes
    float scale = 0;           // screen units per 12-bit code
    std::int16_t span = 0;     // 8 divisions in millivolts, times the gain
    std::int16_t offcal = 0;   // offset calibration of the group
    float offslope = 0;
    std::int32_t rangeDac = 0;  // value of the range DAC
    double positionSpan = 0;    // the span the offset DAC takes the position against
    double offsetBase = 0;      // c of the offset DAC formula
};
// Raises the program's run-time errors ("Overflow", "Division by zero") on nonsense values.
RangeSetting computeRange(Channel ch, const VoltsRange& range, const Calibration& cal);

// The offset DAC value for a position (0..512 screen units): p = pos / 512 x span rounded,
// q = c - p / slope, r = 1.5 (q + 4000) - 4000, value = r / 4.88, each rounded.
std::int32_t offsetDacValue(double pos, double span, double c, double slope);

}  // namespace tunx
