#include "app/ButtonPictures.h"

#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include "generator/PanelTexts.h"

namespace tunx::app {

namespace {

constexpr int kCanvas = 64;  // the built-in pictures are drawn on a square of this side
const QColor kRunColour{0, 140, 0};
const QColor kStopColour{190, 0, 0};
const QColor kRefreshColour{0, 70, 170};

QPixmap blank() {
    QPixmap pixmap(kCanvas, kCanvas);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon playIcon() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kRunColour.darker(130), 3));
    p.setBrush(kRunColour);
    p.drawPolygon(QPolygonF{{QPointF(18, 10), QPointF(54, 32), QPointF(18, 54)}});
    return QIcon(pixmap);
}

QIcon stopIcon() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kStopColour.darker(130), 3));
    p.setBrush(kStopColour);
    p.drawRoundedRect(QRectF(14, 14, 36, 36), 4, 4);
    return QIcon(pixmap);
}

QIcon refreshIcon() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kRefreshColour, 7, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(14, 14, 36, 36);
    p.drawArc(circle, 60 * 16, 280 * 16);  // an open circle, gap at the upper right
    p.setPen(Qt::NoPen);
    p.setBrush(kRefreshColour);
    p.drawPolygon(QPolygonF{{QPointF(38, 4), QPointF(54, 14), QPointF(38, 24)}});
    return QIcon(pixmap);
}

}  // namespace

QIcon buttonPicture(const std::string& picture, const std::string& installDir) {
    if (picture.empty()) {
        return {};
    }
    if (picture == kBuiltinRunPicture) {
        return playIcon();
    }
    if (picture == kBuiltinStopPicture) {
        return stopIcon();
    }
    if (picture == kBuiltinRefreshPicture) {
        return refreshIcon();
    }
    QString path = QString::fromStdString(picture);
    if (!QFileInfo(path).isAbsolute()) {
        path = QString::fromStdString(installDir) + path;
    }
    QPixmap pixmap;
    if (!pixmap.load(path)) {
        return {};
    }
    return QIcon(pixmap);
}

}  // namespace tunx::app
