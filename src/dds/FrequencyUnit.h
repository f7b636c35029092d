#pragma once

#include <string_view>

namespace tunx {

// The frequency units of the unit lists beside the frequency fields.
inline constexpr const char* kUnitKHz = "kHz";
inline constexpr const char* kUnitMHz = "MHz";

// Hertz per unit of a frequency field: "kHz" 1000, "MHz" 1,000,000, any other text 1.
// The text is compared as it stands; a caller that accepts spaces around it trims it first.
inline double hzPerUnit(std::string_view unit) {
    if (unit == kUnitKHz) {
        return 1'000.0;
    }
    if (unit == kUnitMHz) {
        return 1'000'000.0;
    }
    return 1.0;
}

}  // namespace tunx
