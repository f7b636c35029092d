#pragma once

#include <string>

#include "link/Link.h"
#include "ports/Ui.h"
#include "state/SharedState.h"

namespace tunx {

inline constexpr const char* kMsgCalibrationError = "Error Reading Calibration Data";
inline constexpr int kCalibrationHeaderLines = 3;
inline constexpr int kCalibrationRows = 47;

// Sets the generator defaults, then reads the 47 values of the calibration file at `path`.
// On a missing, short or malformed file it shows the message and keeps what was read. A value
// that would make the arithmetic meaningless (a clock correction far from 1, a full scale,
// reference or gain that is not positive, a slope of 0) is malformed too: it is not taken.
// Returns whether every row was read.
bool sgcalibration(SharedState& state, Ui& ui, const std::string& path);

// Measures the generator's output offset through the 12-bit read-back into cal.sgbias.
void readsgbias1(Link& link);

}  // namespace tunx
