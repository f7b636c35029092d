#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tunx {

// A PNG file of an RGB image (8 bits per channel, by libpng): `pixels` holds width x height
// values 0x00RRGGBB (the top byte is ignored), row by row from the top. Nothing when libpng
// could not encode it.
std::optional<std::vector<std::uint8_t>> encodePng(std::span<const std::uint32_t> pixels, int width,
                                                   int height);

}  // namespace tunx
