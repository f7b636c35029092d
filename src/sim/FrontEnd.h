#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sim/DeviceModel.h"
#include "sim/SimCalibration.h"

namespace tunx::sim {

// The converter code nearest to `value`, within 0 .. `last`; a value that is no number (an
// input of no defined level) reads as 0.
template <class Code>
Code codeWithin(double value, double last) {
    return value >= 0 ? static_cast<Code>(std::round(std::min(value, last))) : Code{0};
}

// One scope input as its switch lines and DACs set it.
//
// The front end scales the input by the range group's gain g. The 8-bit converter's 256 codes
// span the range DAC's value D / 205 volts at the converter, so 8 divisions are D / (205 g)
// volts at the input. The offset DAC value v puts r = 4.88 v mV on a network whose working
// point is q = (r + 4000) / 1.5 - 4000; it shifts the converter's input by
// p = (c - q) x slope mV, c and slope being the group's offset zero and slope. The 12-bit
// converter reads (input x g + p) with 4096 codes over the reference `adcref`.
struct ChannelScale {
    RangeGroup group = RangeGroup::Volts;
    double gain = 1;
    int rangeDac = 0;
    int offsetDac = 0;
    double fullScaleMv = 0;  // 8 divisions of the 8-bit converter, at the input
    double shiftMv = 0;      // p: the offset network's shift at the converters

    std::uint8_t code8(double inputMv) const;
    std::uint16_t code12(double inputMv, double adcref) const;
    // Where 0 V at the input shows on the 8-division screen (0 .. 512), 8-bit converter.
    double position() const { return shiftMv / gain / fullScaleMv * 512.0; }
};

ChannelScale channelScale(const DeviceModel& m, const SimCalibration& cal, int channel);

// Samples per second. 8-bit: the 40 MHz clock divided by the divider, or the ADC clock itself
// (40 or 20 MHz) for divider 0. 12-bit: a conversion takes 25 clocks more than the divider in
// a fast record (code 36) and at least 1 / 482 kHz; a slow record (code 42) paces samples by
// the divider alone. Against the program's time-base table this gives 64 samples a division
// at 1 ms/div (8-bit 625, 12-bit 600), 40 a division at 1 us/div (divider 0, 40 MHz) and
// 10 kS/s for undersampling (4000); the table's other dividers come within 0.8 % of 64 a
// division (2 us/div: 6.67 MS/s against 6.6; 12-bit 200 us/div: 322.6 kS/s against 320).
double sampleRate(bool twelveBit, bool slowRecord, std::uint32_t divider, bool clock40MHz);

}  // namespace tunx::sim
