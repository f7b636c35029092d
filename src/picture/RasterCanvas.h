#pragma once

#include <cstdint>
#include <vector>

#include "ports/Canvas.h"

namespace tunx {

// Picture1 drawn into pixels without a window system, one pixel per drawing unit: lines
// without antialiasing, 2-unit lines as a 2 x 2 pen, dotted lines every other pixel.
class RasterCanvas : public Canvas {
  public:
    RasterCanvas();

    void Line(double x1, double y1, double x2, double y2, Colour colour, int width,
              LineStyle style) override;
    void Clear() override;
    Colour BackColor() const override { return kPictureBackground; }
    void Fade(double keep) override;
    // A PNG of the pixels, written as a safe save.
    bool Save(const std::string& path, std::string& why) override;

    // The pixels, 0xFFRRGGBB, row by row from the top; kPictureWidth x kPictureHeight.
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    std::uint32_t pixel(int x, int y) const;

    // A colour number (0xBBGGRR) as a pixel value.
    static std::uint32_t rgb(Colour colour);

  private:
    void plot(int x, int y, std::uint32_t value, int width);

    std::vector<std::uint32_t> pixels_;
};

}  // namespace tunx
