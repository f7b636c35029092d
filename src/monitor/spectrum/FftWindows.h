#pragma once

#include <array>
#include <span>
#include <string_view>

namespace tunx {

// The windows the spectrum can apply before its transform, in the list's order; the first,
// "Rectangular", leaves the samples as they are.
inline constexpr std::array<std::string_view, 4> kFftWindowTexts = {"Rectangular", "Hann",
                                                                    "Blackman-Harris", "Flat top"};

// Multiplies the samples by the window named `text` and divides by its coherent gain, so that
// a sine's line keeps its level; false (samples untouched) for an unknown name.
bool applyWindow(std::string_view text, std::span<double> samples);

}  // namespace tunx
