#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <optional>

#include "ports/Canvas.h"

namespace tunx::app {

// The monitor's picture on Qt: a persistent image of 704 x 576 drawing units that the lines
// go into, so the plot survives being covered. The image has as many pixels per unit as the
// screen's device pixel ratio, so that it stays sharp on a high-density screen; lines are
// drawn without antialiasing, 2 units wide as the program draws its traces.
class PictureCanvas : public Canvas {
  public:
    explicit PictureCanvas(qreal devicePixelRatio = 1.0);

    void Line(double x1, double y1, double x2, double y2, Colour colour, int width,
              LineStyle style) override;
    void Clear() override;
    Colour BackColor() const override { return kPictureBackground; }

    // The image with everything drawn so far (devicePixelRatio() pixels per drawing unit).
    const QImage& image();
    // The picture at one pixel per drawing unit: 704 x 576.
    QImage unitImage();

    qreal devicePixelRatio() const { return image_.devicePixelRatio(); }
    // Re-renders the picture for another screen density; what was drawn is kept, scaled.
    void setDevicePixelRatio(qreal ratio);

    // Called after each drawing call (the widget showing the picture schedules a repaint).
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    QPainter& painter();
    void endPainting();
    void changed();

    QImage image_;
    std::optional<QPainter> painter_;  // open while lines are being drawn
    std::function<void()> onChange_;
};

// Shows a PictureCanvas at its size in drawing units, scaled to the widget.
class PictureView : public QWidget {
  public:
    PictureView(PictureCanvas& canvas, QWidget* parent);
    ~PictureView() override;
    QSize sizeHint() const override { return {kPictureWidth, kPictureHeight}; }
    QSize minimumSizeHint() const override { return sizeHint() / 2; }

    // Called as the mouse moves over the picture, with its position in drawing units.
    void setOnMouseMove(std::function<void(double x, double y)> onMove);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    PictureCanvas& canvas_;
    std::function<void(double, double)> onMouseMove_;
};

}  // namespace tunx::app
