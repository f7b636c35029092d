#include "app/PictureCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <cmath>

#include "app/Colours.h"

namespace tunx::app {

namespace {

QImage blankImage(qreal ratio) {
    QImage image(static_cast<int>(std::ceil(kPictureWidth * ratio)),
                 static_cast<int>(std::ceil(kPictureHeight * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(toQColor(kPictureBackground, QPalette()));
    return image;
}

}  // namespace

PictureCanvas::PictureCanvas(qreal devicePixelRatio) : image_(blankImage(devicePixelRatio)) {}

QPainter& PictureCanvas::painter() {
    if (!painter_) {
        painter_.emplace(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
    }
    return *painter_;
}

void PictureCanvas::endPainting() {
    painter_.reset();
}

void PictureCanvas::changed() {
    if (onChange_) {
        onChange_();
    }
}

void PictureCanvas::Line(double x1, double y1, double x2, double y2, Colour colour, int width,
                         LineStyle style) {
    const Colour resolved = colour::isPictureBack(colour) ? BackColor() : colour;
    QPen pen(toQColor(resolved, QPalette()));
    pen.setWidth(std::max(width, 1));
    // Flat ends: a segment covers its own columns only, so erasing the previous record's
    // segment does not bite into the new trace drawn just before it.
    pen.setCapStyle(Qt::FlatCap);
    if (style == LineStyle::Dotted) {
        pen.setStyle(Qt::DotLine);
    }
    QPainter& p = painter();
    p.setPen(pen);
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    changed();
}

void PictureCanvas::Clear() {
    endPainting();
    image_.fill(toQColor(BackColor(), QPalette()));
    changed();
}

const QImage& PictureCanvas::image() {
    endPainting();
    return image_;
}

QImage PictureCanvas::unitImage() {
    return image().scaled(kPictureWidth, kPictureHeight, Qt::IgnoreAspectRatio,
                          Qt::FastTransformation);
}

void PictureCanvas::setDevicePixelRatio(qreal ratio) {
    if (ratio <= 0 || ratio == devicePixelRatio()) {
        return;
    }
    endPainting();
    QImage next = blankImage(ratio);
    {
        QPainter p(&next);
        p.drawImage(QRectF(0, 0, kPictureWidth, kPictureHeight), image_);
    }
    image_ = std::move(next);
    changed();
}

PictureView::PictureView(PictureCanvas& canvas, QWidget* parent)
    : QWidget(parent), canvas_(canvas) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
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
    canvas_.setDevicePixelRatio(devicePixelRatioF());
    QPainter p(this);
    p.drawImage(rect(), canvas_.image());
}

}  // namespace tunx::app
