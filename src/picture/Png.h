#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tunx {

// A PNG file of an RGB image: `pixels` holds width x height values 0x00RRGGBB, row by row
// from the top. Rows are filtered by their left neighbour and deflated with fixed codes, which
// keeps a plot of plain areas and thin lines small.
std::vector<std::uint8_t> encodePng(std::span<const std::uint32_t> pixels, int width, int height);

}  // namespace tunx
