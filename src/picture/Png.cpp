#include "picture/Png.h"

#include <png.h>

namespace tunx {

namespace {

constexpr int kChannels = 3;

// libpng's image description of an 8-bit RGB image.
png_image rgbImage(int width, int height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.format = PNG_FORMAT_RGB;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    return image;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodePng(std::span<const std::uint32_t> pixels, int width,
                                                   int height) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * kChannels);
    for (const std::uint32_t p : pixels) {
        rgb.push_back(static_cast<std::uint8_t>((p >> 16) & 0xFF));
        rgb.push_back(static_cast<std::uint8_t>((p >> 8) & 0xFF));
        rgb.push_back(static_cast<std::uint8_t>(p & 0xFF));
    }
    png_image image = rgbImage(width, height);
    png_alloc_size_t size = 0;
    // The first call measures, the second writes.
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr) == 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(size);
    if (png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr) == 0) {
        return std::nullopt;
    }
    out.resize(size);
    return out;
}

}  // namespace tunx
