#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/RuntimeError.h"
#include "state/SharedState.h"

namespace tunx {

// What the waveform RAM drives in the Arbitrary mode (the arbit list).
enum class ArbTarget { Voltage, Freq, Phase };
inline constexpr const char* kTargetVoltage = "Voltage";
inline constexpr const char* kTargetFreq = "Freq";
inline constexpr const char* kTargetPhase = "Phase";
// "Freq" and "Phase" by name; any other text drives the output voltage.
ArbTarget arbTarget(std::string_view text);

inline constexpr int kProfileHeaderLines = 2;
inline constexpr int kMaxProfilePoints = 1025;

// A profile path that names something other than a readable file (a folder, a device, a
// pipe, a file far too large); the description is the message that names it.
struct UnreadableProfile : RuntimeError {
    using RuntimeError::RuntimeError;
};

// Reads the first `count` point lines of a profile file (after its two header lines): the
// second tab-separated field of each line, rounded to a 32-bit integer. A missing file, a
// short file, an overlong line, a line without the field, a value that is not a number or does
// not fit, or a count beyond 1025 points raises RuntimeError (UnreadableProfile when the path
// is no readable file).
std::vector<std::int32_t> readProfilePoints(const std::string& path, int count);

// The RAM word of one point: millivolts for Voltage (16 bits of phase offset whose cosine
// gives the level), degrees for Phase (16 bits), hertz for Freq (a 32-bit tuning word at
// `ramclk`). Raises RuntimeError when the point is outside what the conversion accepts.
std::int32_t profileWord(ArbTarget target, std::int32_t value, const Calibration& cal,
                         std::int32_t ramclk);

}  // namespace tunx
