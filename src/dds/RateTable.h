#pragma once

#include <cstdint>

namespace tunx {

// The RAM step clock: the multiplier M chosen from the wanted step rate R.
// Rows are tested in order and the last one whose range holds R wins; no row gives 0.
int clockMultiplier(double rate);

// The reference setting and the resulting rates for a step rate R and multiplier M.
struct RateSetting {
    double reference = 0;      // B = round(R / (M / 4)), Hz
    std::int16_t setting = 0;  // S = round(B / 5000), sent with the clock-setting command
};
RateSetting rateSetting(double rate, int multiplier);

// Control-register-2 byte 3 for a multiplier: 8 x M + 4.
inline int cfr2MultiplierByte(int multiplier) {
    return 8 * multiplier + 4;
}

}  // namespace tunx
