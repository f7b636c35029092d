#pragma once

#include <string_view>

namespace tunx {

// The unit texts of the panel's unit lists, as every decision compares them.
namespace unit {
// Frequency.
inline constexpr const char* kHz = "Hz";
inline constexpr const char* kKHz = "kHz";
inline constexpr const char* kMHz = "MHz";
// Amplitude.
inline constexpr const char* kMVpp = "mVpp";
inline constexpr const char* kVpp = "Vpp";
inline constexpr const char* kMVrms = "mVrms";
inline constexpr const char* kDBmV = "dBmV";
// Offset (the volt entry has its leading space).
inline constexpr const char* kMV = "mV";
inline constexpr const char* kV = " V";
// Time.
inline constexpr const char* kNs = "ns";
inline constexpr const char* kUs = "us";
inline constexpr const char* kMs = "ms";
}  // namespace unit

// Hertz per unit of a frequency field: "kHz" 1000, "MHz" 1,000,000, any other text 1.
// The text is compared as it stands; a caller that accepts spaces around it trims it first.
inline double hzPerUnit(std::string_view text) {
    if (text == unit::kKHz) {
        return 1'000.0;
    }
    if (text == unit::kMHz) {
        return 1'000'000.0;
    }
    return 1.0;
}

}  // namespace tunx
