#pragma once

namespace tunx {

enum class LineStyle { Solid, Dotted };

// The monitor's picture box: line drawing in the program's colour numbers.
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void Line(double x1, double y1, double x2, double y2, long colour, int width,
                      LineStyle style) = 0;
    virtual void Clear() = 0;
    virtual void SetBackColor(long colour) = 0;
};

}  // namespace tunx
