#include "picture/RasterCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "common/SafeSave.h"
#include "picture/Png.h"

namespace tunx {

namespace {
// Far outside the picture nothing shows; a line is walked only this far out.
constexpr double kReach = 4.0 * kPictureWidth;
constexpr const char* kNotEncoded = "the picture could not be encoded as PNG";
}  // namespace

RasterCanvas::RasterCanvas()
    : pixels_(static_cast<std::size_t>(kPictureWidth) * kPictureHeight, rgb(kPictureBackground)) {}

std::uint32_t RasterCanvas::rgb(Colour colour) {
    const auto c = static_cast<std::uint32_t>(colour & 0xFFFFFF);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::uint32_t RasterCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= kPictureWidth || y >= kPictureHeight) {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(y) * kPictureWidth + x];
}

void RasterCanvas::plot(int x, int y, std::uint32_t value, int width) {
    // A wider pen covers the pixels up and to the left of the point, as a square pen of
    // that width centred between pixels does.
    const int from = -(width / 2);
    if (width == 2 && x >= 1 && y >= 1 && x < kPictureWidth && y < kPictureHeight) {
        std::uint32_t* row = &pixels_[static_cast<std::size_t>(y - 1) * kPictureWidth + x - 1];
        row[0] = row[1] = value;
        row += kPictureWidth;
        row[0] = row[1] = value;
        return;
    }
    for (int dy = from; dy < from + width; ++dy) {
        for (int dx = from; dx < from + width; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < kPictureWidth && py < kPictureHeight) {
                pixels_[static_cast<std::size_t>(py) * kPictureWidth + px] = value;
            }
        }
    }
}

void RasterCanvas::Line(double x1, double y1, double x2, double y2, Colour colour, int width,
                        LineStyle style) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) {
        return;
    }
    // Nearest pixel, halves away from zero; far outside the picture is as good as the edge.
    const auto pixelOf = [](double v) {
        v = std::clamp(v, -kReach, kReach);
        return static_cast<int>(v < 0 ? v - 0.5 : v + 0.5);
    };
    int x = pixelOf(x1);
    int y = pixelOf(y1);
    const int xe = pixelOf(x2);
    const int ye = pixelOf(y2);
    const std::uint32_t value = rgb(colour::isPictureBack(colour) ? BackColor() : colour);
    const int pen = std::max(width, 1);
    const int dx = std::abs(xe - x), dy = -std::abs(ye - y);
    const int sx = x < xe ? 1 : -1, sy = y < ye ? 1 : -1;
    int err = dx + dy;
    for (int step = 0;; ++step) {
        if (style == LineStyle::Solid || step % 2 == 0) {
            plot(x, y, value, pen);
        }
        if (x == xe && y == ye) {
            break;
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

bool RasterCanvas::Save(const std::string& path, std::string& why) {
    const auto png = encodePng(pixels_, kPictureWidth, kPictureHeight);
    if (!png) {
        why = kNotEncoded;
        return false;
    }
    return saveFileSafely(
        path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()), &why);
}

void RasterCanvas::Clear() {
    std::fill(pixels_.begin(), pixels_.end(), rgb(BackColor()));
}

void RasterCanvas::Fade(double keep) {
    // Each colour's difference from the background, in 256ths, cut towards zero: a faint
    // remainder does not linger a step above the background for ever.
    constexpr int kOne = 256;
    const int share = static_cast<int>(std::clamp(keep, 0.0, 1.0) * kOne);
    const std::uint32_t back = rgb(BackColor());
    const auto fade = [share, back](std::uint32_t pixel, int shift) {
        const int b = static_cast<int>((back >> shift) & 0xFF);
        const int d = static_cast<int>((pixel >> shift) & 0xFF) - b;
        return static_cast<std::uint32_t>(b + d * share / kOne) << shift;
    };
    for (std::uint32_t& p : pixels_) {
        if (p != back) {
            p = (p & 0xFF000000U) | fade(p, 16) | fade(p, 8) | fade(p, 0);
        }
    }
}

}  // namespace tunx
