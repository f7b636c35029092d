#pragma once

// The output path and main-clock commands that the sine, sweep and RAM-played modes share.
#include <cstdint>

#include "link/Link.h"

namespace tunx {

// The DDS system clock, and the low clock it switches to for the lowest frequencies.
inline constexpr std::int32_t kSystemClockHz = 400'000'000;
inline constexpr std::int32_t kLowClockHz = 20'000'000;

// Step labels of the output-path switch lines and of the clock-setting command (code 26).
inline constexpr const char* kLabelOutputPath = "Set Frequency Sine2_";
inline constexpr const char* kLabelClockSetting = "SetFreq_Square_Wave_";
// The clock needs this long to settle after a clock-setting command.
inline constexpr int kClockSettingPauseMs = 300;
// Control register 2 (code 2, or 24 for a clock change) is given this long to answer.
inline constexpr std::int32_t kCfr2TimeoutMs = 2000;

// lmainclk texts of the two fixed clocks.
inline constexpr const char* kClockLabel400MHz = "400MHz";
inline constexpr const char* kClockLabel20MHz = "20MHz";

// The 400 MHz system clock: its clock setting and control register 2 (multiplier 20).
inline constexpr Command kClockSetting400MHz{code::kClockSetting, 0, 0, 1, 1, 0};
inline constexpr Command kCfr2At400MHz{code::kCfr2, 0, 2, 164, 0, 0};

// Control register 2 at 20 MHz: code 24 switches the clock over, code 2 keeps it.
inline constexpr Command cfr2At20MHz(int clockCode) {
    return {clockCode, 0, 2, 0, 0, 0};
}

}  // namespace tunx
