#pragma once

#include <cstdint>
#include <optional>

namespace tunx {

class Form1;

// One channel's offset correction from the average level of a record (screen units from the
// bottom of the plot): the offset calibration moved by the error, in millivolts over the
// slope, and the offset DAC value that puts the channel at `pos` with it. Nothing when the
// average is on the position, or 0 (no record, or a trace on the bottom edge).
struct OffsetCorrection {
    std::int16_t offcal = 0;
    std::int32_t dacValue = 0;
};
// Raises the program's run-time errors ("Overflow", "Division by zero") on nonsense values.
std::optional<OffsetCorrection> offsetCorrection(std::int16_t pos, std::int16_t average,
                                                 std::int16_t span, std::int16_t offcal,
                                                 float slope);

// "Cal. Offset": one free-running record, each channel's offset corrected by the distance of
// its average from its position, the offset DACs re-sent and the results kept as the
// calibration of the channels' present range groups.
void calscopeoffset(Form1& w);

}  // namespace tunx
