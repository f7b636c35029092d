#include "sim/FrontEnd.h"

#include <algorithm>
#include <cmath>

namespace tunx::sim {

namespace {

constexpr double kMasterClock = 40e6;
constexpr double kSlowAdcClock = 20e6;
constexpr double kMax12BitRate = 482e3;
constexpr double kConversionClocks = 25;
constexpr double kRangeDacPerVolt = 205;
constexpr double kOffsetDacMvPerCode = 4.88;
constexpr double kDefaultFullScaleV = 8;  // an unset range DAC acts as 1 V/div

struct ChannelWiring {
    std::pair<int, int> fineLine;    // 1 selects dV (with the coarse line on)
    std::pair<int, int> coarseLine;  // 0 selects the millivolt group
    int rangeDac;
    int offsetDac;
};
constexpr ChannelWiring kWiring[kChannels] = {{{4, 9}, {3, 2}, 4, 8}, {{4, 10}, {7, 9}, 6, 5}};

int level(const DeviceModel& m, std::pair<int, int> line, int unset) {
    const auto it = m.switches.find(line);
    return it == m.switches.end() ? unset : it->second;
}

}  // namespace

std::uint8_t ChannelScale::code8(double inputMv) const {
    return codeWithin<std::uint8_t>((inputMv + shiftMv / gain) / fullScaleMv * 256.0, 255);
}

std::uint16_t ChannelScale::code12(double inputMv, double adcref) const {
    return codeWithin<std::uint16_t>((inputMv * gain + shiftMv) * 4096.0 / adcref, 4095);
}

ChannelScale channelScale(const DeviceModel& m, const SimCalibration& cal, int channel) {
    const ChannelWiring& w = kWiring[channel];
    const ChannelCalibration& c = cal.channel[static_cast<std::size_t>(channel)];
    ChannelScale s;
    s.group = level(m, w.coarseLine, 1) == 0 ? RangeGroup::Millivolts
              : level(m, w.fineLine, 0) == 1 ? RangeGroup::Decivolts
                                             : RangeGroup::Volts;
    s.gain = c.gain[static_cast<std::size_t>(s.group)];
    const auto range = m.dacs.find(w.rangeDac);
    s.rangeDac =
        range != m.dacs.end()
            ? range->second
            : static_cast<int>(std::lround(kDefaultFullScaleV * s.gain * kRangeDacPerVolt));
    s.fullScaleMv = std::max(s.rangeDac, 1) / (kRangeDacPerVolt * s.gain) * 1000.0;
    const auto offset = m.dacs.find(w.offsetDac);
    if (offset == m.dacs.end()) {
        s.shiftMv = s.fullScaleMv * s.gain / 2;
        s.offsetDac = -1;
    } else {
        s.offsetDac = offset->second;
        const bool millivolts = s.group == RangeGroup::Millivolts;
        const double zero = millivolts ? c.offsetMv : c.offsetV;
        const double slope = millivolts ? c.slopeMv : c.slopeV;
        const double q = (kOffsetDacMvPerCode * s.offsetDac + 4000.0) / 1.5 - 4000.0;
        s.shiftMv = (zero - q) * slope;
    }
    return s;
}

double sampleRate(bool twelveBit, bool slowRecord, std::uint32_t divider, bool clock40MHz) {
    if (!twelveBit) {
        return divider > 0 ? kMasterClock / divider : (clock40MHz ? kMasterClock : kSlowAdcClock);
    }
    const double clocks = slowRecord ? divider : divider + kConversionClocks;
    return clocks > 0 ? std::min(kMax12BitRate, kMasterClock / clocks) : kMax12BitRate;
}

}  // namespace tunx::sim
