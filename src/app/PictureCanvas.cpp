#include "app/PictureCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tunx::app {

PictureCanvas::PictureCanvas()
    : image_(reinterpret_cast<const uchar*>(raster_.pixels().data()), kPictureWidth, kPictureHeight,
             kPictureWidth * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_RGB32) {}

void PictureCanvas::changed() {
    if (!pending_ && onChange_) {
        pending_ = true;
        onChange_();
    }
}

void PictureCanvas::Line(double x1, double y1, double x2, double y2, Colour colour, int width,
                         LineStyle style) {
    raster_.Line(x1, y1, x2, y2, colour, width, style);
    changed();
}

void PictureCanvas::Clear() {
    raster_.Clear();
    changed();
}

PictureView::PictureView(PictureCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the image covers the whole widget
    canvas_.setOnChange([this] { update(); });
}

PictureView::~PictureView() {
    canvas_.setOnChange({});
}

void PictureView::setOnMouseMove(std::function<void(double x, double y)> onMove) {
    onMouseMove_ = std::move(onMove);
    setMouseTracking(static_cast<bool>(onMouseMove_));
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove_ && width() > 0 && height() > 0) {
        const QPointF at = event->position();
        onMouseMove_(at.x() * kPictureWidth / width(), at.y() * kPictureHeight / height());
    }
}

void PictureView::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(rect(), canvas_.image());
    canvas_.shown();
}

}  // namespace tunx::app
