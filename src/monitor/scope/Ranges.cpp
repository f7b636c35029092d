#include "monitor/scope/Ranges.h"

#include "common/Numbers.h"
#include "link/Relay.h"

namespace tunx {

namespace {

constexpr std::array<VoltsRange, 7> kRanges{{
    {"1V", 8000, 8, RangeGroup::Volt},
    {"0.5V", 4000, 4, RangeGroup::Volt},
    {"0.2V", 1600, 1.6, RangeGroup::DeciVolt},
    {"0.1V", 800, 0.8, RangeGroup::DeciVolt},
    {"50mV", 400, 0.4, RangeGroup::MilliVolt},
    {"20mV", 160, 0.16, RangeGroup::MilliVolt},
    {"10mV", 80, 0.16, RangeGroup::MilliVolt},  // the range DAC has no finer step
}};

constexpr double kDivisions = 8;
constexpr double kMillivoltsPerVolt = 1000;
constexpr double kCodes12 = 4096;
constexpr double kScreenUnits = 512;
constexpr double kRangeDacPerVolt = 205;
constexpr double kOffsetDacMidMv = 4000;
constexpr double kOffsetDacGain = 1.5;
constexpr double kOffsetDacMvPerStep = 4.88;

}  // namespace

std::span<const VoltsRange> voltsRanges() {
    return kRanges;
}

const VoltsRange* findRange(std::string_view text) {
    for (const VoltsRange& r : kRanges) {
        if (r.text == text) {
            return &r;
        }
    }
    return nullptr;
}

double voltsPerDivision(const VoltsRange& range) {
    return range.k / kDivisions / kMillivoltsPerVolt;
}

ReadoutScale readoutScale(const VoltsRange& range) {
    if (range.group == RangeGroup::MilliVolt) {
        return {range.k / kDivisions, " mV"};
    }
    return {voltsPerDivision(range), " V"};
}

GroupCalibration groupCalibration(const Calibration& cal, Channel ch, RangeGroup group) {
    const bool one = ch == Channel::CH1;
    switch (group) {
        case RangeGroup::Volt:
            return one ? GroupCalibration{cal.ch1gainv, cal.ch1offv, cal.ch1offslopev}
                       : GroupCalibration{cal.ch2gainv, double(cal.ch2offv), cal.ch2offslopev};
        case RangeGroup::DeciVolt:
            return one ? GroupCalibration{cal.ch1gaindv, cal.ch1offv, cal.ch1offslopev}
                       : GroupCalibration{cal.ch2gaindv, double(cal.ch2offv), cal.ch2offslopev};
        case RangeGroup::MilliVolt:
            break;
    }
    return one ? GroupCalibration{cal.ch1gainmv, double(cal.ch1offmv), cal.ch1offslopemv}
               : GroupCalibration{cal.ch2gainmv, double(cal.ch2offmv), cal.ch2offslopemv};
}

std::array<Command, 2> rangeSwitches(Channel ch, RangeGroup group) {
    const bool attenuated = group == RangeGroup::Volt;
    const bool amplified = group == RangeGroup::MilliVolt;
    if (ch == Channel::CH1) {
        return {switchCommand(line::kCh1Range2, !attenuated),
                switchCommand(line::kCh1Range, !amplified)};
    }
    return {switchCommand(line::kCh2Range, !attenuated),
            switchCommand(line::kCh2Range2, !amplified)};
}

int rangeDacChannel(Channel ch) {
    return ch == Channel::CH1 ? dac::kCh1Gain : dac::kCh2Gain;
}

int offsetDacChannel(Channel ch) {
    return ch == Channel::CH1 ? dac::kCh1Position : dac::kCh2Position;
}

RangeSetting computeRange(Channel ch, const VoltsRange& range, const Calibration& cal) {
    const GroupCalibration g = groupCalibration(cal, ch, range.group);
    const double kg = range.k * g.gain;
    RangeSetting s;
    if (ch == Channel::CH1) {
        s.spanadc = CLng(divide(kg * kCodes12, cal.adcref));
    } else {
        s.spanadc = CLng(divide(CLng(kg) * kCodes12, cal.adcref));
    }
    s.scale = CSng(divide(kScreenUnits, s.spanadc + 1.0));
    s.span = CInt(kg);
    s.offcal = CInt(g.offset);
    s.offslope = static_cast<float>(g.slope);
    s.rangeDac = CLng(range.m * g.gain * kRangeDacPerVolt);
    // CH1's 1V, 0.5V and 0.2V ranges take the position against the unrounded span, and
    // CH1's volt ranges against the calibration offset itself, not its rounded copy.
    const bool exactSpan =
        ch == Channel::CH1 && (range.text == "1V" || range.text == "0.5V" || range.text == "0.2V");
    s.positionSpan = exactSpan ? kg : double(s.span);
    const bool exactOffset = ch == Channel::CH1 && range.group != RangeGroup::MilliVolt;
    s.offsetBase = exactOffset ? g.offset : double(s.offcal);
    return s;
}

std::int32_t offsetDacValue(double pos, double span, double c, double slope) {
    const std::int32_t p = CLng(pos / kScreenUnits * span);
    const std::int32_t q = CLng(c - divide(p, slope));
    const std::int32_t r = CLng(kOffsetDacGain * (q + kOffsetDacMidMv) - kOffsetDacMidMv);
    return CLng(r / kOffsetDacMvPerStep);
}

}  // namespace tunx
