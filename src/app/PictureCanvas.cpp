#include "app/PictureCanvas.h"

#include <QDateTime>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <vector>

#include "app/Colours.h"
#include "common/SafeSave.h"
#include "picture/Png.h"

namespace tunx::app {

namespace {
constexpr int kTextPixels = 12;
constexpr int kBoxMargin = 2;  // around a text with a box behind it
constexpr const char* kDateFormat = "yyyy-MM-dd HH:mm";
constexpr const char* kDateGap = "   ";
constexpr const char* kNotEncoded = "the picture could not be encoded as PNG";
}  // namespace

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

QImage PictureCanvas::sheetImage(const PlotSheet& sheet, const QString& date) const {
    QImage out(sheet.width, sheet.height, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(sheet.plotX, sheet.plotY, image());
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(kTextPixels);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QPalette palette = QGuiApplication::palette();
    for (const SheetText& t : sheet.texts) {
        QString text = QString::fromStdString(t.text);
        if (t.dated) {
            text += QString::fromLatin1(kDateGap) + date;
        }
        const int width = metrics.horizontalAdvance(text);
        const int left = t.align == TextAlign::Left     ? t.x
                         : t.align == TextAlign::Centre ? t.x - width / 2
                                                        : t.x - width;
        const QRect box(left, t.y - PlotSheet::kRowHeight / 2, width, PlotSheet::kRowHeight);
        if (t.back) {
            painter.fillRect(box.adjusted(-kBoxMargin, 0, kBoxMargin, 0),
                             toQColor(*t.back, palette));
        }
        painter.setPen(toQColor(t.fore, palette));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    return out;
}

bool PictureCanvas::SaveSheet(const std::string& path, const PlotSheet& sheet, std::string& why) {
    const QImage drawn =
        sheetImage(sheet, QDateTime::currentDateTime().toString(QString::fromLatin1(kDateFormat)));
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(drawn.width()) * drawn.height());
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        pixels.insert(pixels.end(), line, line + drawn.width());
    }
    const auto png = encodePng(pixels, drawn.width(), drawn.height());
    if (!png) {
        why = kNotEncoded;
        return false;
    }
    return saveFileSafely(
        path, std::string_view(reinterpret_cast<const char*>(png->data()), png->size()), &why);
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
