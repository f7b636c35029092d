#include "picture/Png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "picture/RasterCanvas.h"
#include "support/DecodePng.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

std::string bytesOf(const std::vector<std::uint8_t>& data) {
    return {data.begin(), data.end()};
}

// Every pixel comes back as it was given, whatever its top byte; an image whose pixel count
// does not match its size, or that has no pixels, is not encoded.
TEST(Png, DecodesToThePixelsItWasGiven) {
    const std::vector<std::uint32_t> pixels = {0x000000, 0xFFFFFF, 0xFF0000,
                                               0x00FF00, 0x0000FF, 0xFF123456};
    const auto png = encodePng(pixels, 3, 2);
    ASSERT_TRUE(png);
    const auto decoded = decodePng(bytesOf(*png));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(std::pair(decoded->width, decoded->height), std::pair(3, 2));
    EXPECT_EQ(decoded->pixels, (std::vector<std::uint32_t>{0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00,
                                                           0x0000FF, 0x123456}));
    EXPECT_FALSE(encodePng(pixels, 2, 2));
    EXPECT_FALSE(encodePng({}, 0, 0));
}

// The saved plot holds exactly what the canvas drew: background, a solid and a dotted line.
TEST(Png, SavedPlotHoldsTheCanvasPixels) {
    RasterCanvas canvas;
    canvas.Line(10, 10, 600, 400, 0x0000FF, 2, LineStyle::Solid);
    canvas.Line(0, 300, 703, 300, 0x00FFFF, 1, LineStyle::Dotted);
    const std::string path = writeTempFile("plot.png", "");
    std::string why;
    ASSERT_TRUE(canvas.Save(path, why)) << why;
    const auto decoded = decodePng(readFile(path));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(std::pair(decoded->width, decoded->height), std::pair(kPictureWidth, kPictureHeight));
    ASSERT_EQ(decoded->pixels.size(), canvas.pixels().size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < decoded->pixels.size(); ++i) {
        differing += decoded->pixels[i] != (canvas.pixels()[i] & 0xFFFFFF) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0U);
    // The dotted line, yellow on every other pixel of its row.
    const auto row = std::span(decoded->pixels).subspan(300 * kPictureWidth, kPictureWidth);
    EXPECT_EQ(std::ranges::count(row, 0xFFFF00U), kPictureWidth / 2);
}

}  // namespace
}  // namespace tunx::test
