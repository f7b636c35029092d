#pragma once

namespace tunx::limits {

// The limits the panel's rules put on the frequency, amplitude and offset entries; the
// remote control refuses values beyond them before anything changes.
inline constexpr double kMaxFrequencyHz = 200'000'000;
inline constexpr double kMinModulatedHz = 0.1;
inline constexpr double kMinRampHz = 0.1;
inline constexpr double kMaxRampHz = 100'000;
inline constexpr double kMinAmplitudeMv = 10;
inline constexpr double kMaxAmplitudeMv = 5000;
inline constexpr double kMinOffsetMv = -1000;
inline constexpr double kMaxOffsetMv = 4000;

}  // namespace tunx::limits
