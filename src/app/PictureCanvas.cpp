#include "app/PictureCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tunx::app {

PictureCanvas::PictureCanvas()
    : image_(reinterpret_cast<const uchar*>(raster_.pixels().data()), kPictureWidth, kPictureHeight,
             kPictureWidth * static_cast<int>(sizeof(std::uint32_t)), QImage::Format_RGB32) {}

void PictureCanvas::changed() {
    if (pending_.exchange(true)) {
        return;  // a repaint is on its way already
    }
    const std::lock_guard lock(mutex_);
    if (onChange_) {
        onChange_();
    }
}

void PictureCanvas::setOnChange(std::function<void()> onChange) {
    const std::lock_guard lock(mutex_);
    onChange_ = std::move(onChange);
}

void PictureCanvas::Line(double x1, double y1, double x2, double y2, Colour colour, int width,
                         LineStyle style) {
    {
        const std::lock_guard lock(mutex_);
        raster_.Line(x1, y1, x2, y2, colour, width, style);
    }
    changed();
}

void PictureCanvas::Clear() {
    {
        const std::lock_guard lock(mutex_);
        raster_.Clear();
    }
    changed();
}

void PictureCanvas::Fade(double keep) {
    {
        const std::lock_guard lock(mutex_);
        raster_.Fade(keep);
    }
    changed();
}

void PictureCanvas::paint(QPainter& painter, const QRect& target) {
    pending_ = false;  // lines drawn from now on ask for another repaint
    const std::lock_guard lock(mutex_);
    painter.drawImage(target, image_);
}

QImage PictureCanvas::image() const {
    const std::lock_guard lock(mutex_);
    return image_.copy();
}

PictureView::PictureView(PictureCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the image covers the whole widget
    // The program's thread draws: the repaint is the window thread's.
    canvas_.setOnChange([this] { QMetaObject::invokeMethod(this, [this] { update(); }); });
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
    canvas_.paint(p, rect());
}

}  // namespace tunx::app
