#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <functional>
#include <mutex>

#include "picture/RasterCanvas.h"

namespace tunx::app {

// The monitor's picture on Qt: a persistent image of 704 x 576 drawing units that the lines
// go into, so the plot survives being covered. The lines are drawn by the program's own
// raster (no antialiasing, 2-unit traces), which costs a fraction of drawing them with a
// painter, one line at a time, at the timer's pace; the view enlarges the image pixel by
// pixel on a high-density screen, so it stays sharp. The program's thread draws; the window
// thread shows the picture: the pixels are shared under a lock.
class PictureCanvas : public Canvas {
  public:
    PictureCanvas();

    void Line(double x1, double y1, double x2, double y2, Colour colour, int width,
              LineStyle style) override;
    void Clear() override;
    void Fade(double keep) override;
    Colour BackColor() const override { return raster_.BackColor(); }
    bool Save(const std::string& path, std::string& why) override {
        const std::lock_guard lock(mutex_);
        return raster_.Save(path, why);
    }
    // The picture on white paper with the sheet's texts in the desktop's fixed-width font,
    // the settings line followed by the date and time of saving.
    bool SaveSheet(const std::string& path, const PlotSheet& sheet, std::string& why) override;
    // The sheet as SaveSheet writes it, dated `date`.
    QImage sheetImage(const PlotSheet& sheet, const QString& date) const;

    // Draws the picture (704 x 576 pixels, one per drawing unit) into `target` of `painter`,
    // and takes note that it has been shown as it is now.
    void paint(QPainter& painter, const QRect& target);
    // A copy of the picture as it is now, at one pixel per drawing unit.
    QImage image() const;

    // Called, on the thread that draws, when the picture changes after it was last shown (the
    // widget showing it then schedules one repaint, however many lines follow).
    void setOnChange(std::function<void()> onChange);

  private:
    void changed();

    mutable std::mutex mutex_;
    RasterCanvas raster_;
    QImage image_;  // shares the raster's pixels
    std::function<void()> onChange_;
    std::atomic<bool> pending_ = false;
};

// Shows a PictureCanvas at its size in drawing units, scaled to the widget without smoothing.
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
