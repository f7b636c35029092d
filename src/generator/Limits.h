#pragma once

namespace tunx::limits {

// The limits the panel enforces on its entries before a refresh sends anything.
inline constexpr double kMaxFrequencyHz = 200'000'000;
inline constexpr double kMinModulatedHz = 0.1;
inline constexpr double kMinRampHz = 0.1;
inline constexpr double kMaxRampHz = 100'000;
inline constexpr double kMinAmplitudeMv = 10;
inline constexpr double kMaxAmplitudeMv = 5000;
inline constexpr double kMinOffsetMv = -1000;
inline constexpr double kMaxOffsetMv = 4000;
inline constexpr double kMinPulseNs = 10;
inline constexpr double kMaxPulseNs = 10'000'000'000;
inline constexpr double kMinSweepHz = 10;
inline constexpr double kSweepSplitHz = 20'000;
inline constexpr double kMinStepTimeUs = 1;
inline constexpr double kMaxStepTimeLowUs = 10'000;
inline constexpr double kMaxStepTimeHighUs = 650;
inline constexpr double kMinSteps = 2;
inline constexpr double kMaxSteps = 1000;

}  // namespace tunx::limits
