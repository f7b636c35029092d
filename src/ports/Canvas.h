#pragma once

#include <string>

#include "common/Colour.h"
#include "ports/PlotSheet.h"

namespace tunx {

enum class LineStyle { Solid, Dotted };

// The size of the monitor's picture in drawing units.
inline constexpr int kPictureWidth = 704;
inline constexpr int kPictureHeight = 576;

// The picture's background colour: a mid grey on which a black grid, red and yellow traces
// and white cursors all stand out.
inline constexpr Colour kPictureBackground = 0x808080;

// The monitor's picture box: lines in drawing units and the program's colour numbers.
// `colour::kPictureBack` draws in the picture's background colour (erasing a line).
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void Line(double x1, double y1, double x2, double y2, Colour colour, int width,
                      LineStyle style) = 0;
    // Clears the picture to its background colour.
    virtual void Clear() = 0;
    virtual Colour BackColor() const = 0;
    // Fades what the picture shows towards its background colour: each pixel keeps the share
    // `keep` (0 to 1) of its difference from it, so that earlier traces die away. A picture
    // that keeps no pixels has nothing to fade.
    virtual void Fade(double keep) { static_cast<void>(keep); }
    // Saves what the picture shows as a PNG file of 704 x 576 pixels; false, with the reason
    // in `why`, when it could not (a picture that keeps no pixels cannot).
    virtual bool Save(const std::string& path, std::string& why) {
        static_cast<void>(path);
        why = "this picture keeps no pixels";
        return false;
    }
    // Saves the picture with the texts of `sheet` around it as a PNG file; false, with the
    // reason in `why`, when it could not (a picture that cannot write text cannot).
    virtual bool SaveSheet(const std::string& path, const PlotSheet& sheet, std::string& why) {
        static_cast<void>(path);
        static_cast<void>(sheet);
        why = "this picture cannot write text; the script line picture saves the bare plot";
        return false;
    }
};

// A picture nobody sees (headless runs): draws nothing.
class BlankCanvas : public Canvas {
  public:
    void Line(double, double, double, double, Colour, int, LineStyle) override {}
    void Clear() override {}
    Colour BackColor() const override { return kPictureBackground; }
};

}  // namespace tunx
