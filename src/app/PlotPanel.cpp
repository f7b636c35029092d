#include "app/PlotPanel.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <algorithm>
#include <cmath>

#include "ports/Canvas.h"

namespace tunx::app {

namespace {

constexpr int kLeft = 54;   // room for the scale labels
constexpr int kRight = 42;  // room for the indicators
constexpr int kTop = 8;
constexpr int kRowHeight = 22;    // one caption row under the plot
constexpr int kGridBottom = 544;  // the bottom grid line, in drawing units
constexpr int kGridStep = 64;
constexpr int kAxisLeft = 32;  // the grid's left and right edges, in drawing units
constexpr int kAxisRight = 672;
constexpr int kIndicatorAbove = 7;
constexpr int kStatisticsRows = 6;  // the channel, the columns' heading, four values
constexpr int kStatisticsRowHeight = 16;
constexpr int kCounterRows = 3;  // two lines of readings and their spread

}  // namespace

PlotPanel::PlotPanel(QWidget* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    picture_->setParent(this);
    picture_->setGeometry(kLeft, kTop, kPictureWidth, kPictureHeight);
    setMinimumSize(sizeHint());
}

QSize PlotPanel::sizeHint() const {
    const int rows = kTop + kPictureHeight + (readoutRow_ ? 3 : 2) * kRowHeight;
    return {kLeft + kPictureWidth + kRight, std::max(rows, extraBottom()) + kTop};
}

int PlotPanel::extraBottom() const {
    int bottom = 0;  // of the lowest one shown
    for (QWidget* w : extra_) {
        if (!w->isHidden()) {
            bottom = std::max(bottom, w->geometry().bottom() + 1);
        }
    }
    return bottom;
}

void PlotPanel::watch(QWidget* widget) {
    extra_.push_back(widget);
    widget->installEventFilter(this);
}

void PlotPanel::shiftUnderMath() {
    const int down = mathReadout_ != nullptr && !mathReadout_->isHidden() ? kRowHeight : 0;
    for (const auto& [widget, top] : underMath_) {
        widget->move(widget->x(), top + down);
    }
}

bool PlotPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        shiftUnderMath();
        // The window makes room for the statistics or the counter's lines where the panel is
        // not tall enough for them already, and gives that room back.
        setMinimumSize(sizeHint());
        updateGeometry();
        QWidget* content = parentWidget();
        if (content == nullptr) {
            return QWidget::eventFilter(watched, event);
        }
        if (content->layout() != nullptr) {
            content->layout()->activate();
        }
        const int ownHeight = content->height() - grownBy_;
        const int wanted = std::max(0, content->minimumSizeHint().height() - ownHeight);
        if (QWidget* top = window(); wanted != grownBy_ && top != nullptr && top != this) {
            top->resize(top->width(), top->height() + wanted - grownBy_);
            grownBy_ = wanted;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlotPanel::placeEdges(QWidget* widget, int index, int count) {
    widget->setParent(this);
    const int width = (kPictureWidth - kAxisLeft) / std::max(count, 1);
    widget->setGeometry(kLeft + kAxisLeft / 2 + index * width,
                        kTop + kPictureHeight + 3 * kRowHeight, width, kRowHeight - 2);
    underMath_.emplace_back(widget, widget->y());
    watch(widget);
}

void PlotPanel::placeStatistics(QLabel* label, int index, int count) {
    label->setParent(this);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(fixed.pointSizeF() * 0.85);
    label->setFont(fixed);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int width = (kPictureWidth - kAxisLeft) / std::max(count, 1);
    label->setGeometry(kLeft + kAxisLeft / 2 + index * width,
                       kTop + kPictureHeight + 4 * kRowHeight, width,
                       kStatisticsRows * kStatisticsRowHeight);
    underMath_.emplace_back(label, label->y());
    watch(label);
}

void PlotPanel::placeMathReadout(QWidget* widget) {
    widget->setParent(this);
    widget->setGeometry(kLeft + kAxisLeft / 2, kTop + kPictureHeight + 3 * kRowHeight,
                        kPictureWidth - kAxisLeft, kRowHeight - 2);
    mathReadout_ = widget;
    watch(widget);
    shiftUnderMath();
}

void PlotPanel::placeCounterLine(QLabel* label) {
    label->setParent(this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(kLeft + kAxisLeft / 2, kTop + kPictureHeight + kRowHeight,
                       kPictureWidth - kAxisLeft, kRowHeight - 2);
    watch(label);
}

void PlotPanel::placeCounterLines(QLabel* label) {
    label->setParent(this);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    label->setFont(fixed);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(kLeft + kAxisLeft / 2, kTop + kPictureHeight + 2 * kRowHeight,
                       kPictureWidth - kAxisLeft, kCounterRows * kStatisticsRowHeight + 4);
    watch(label);
}

void PlotPanel::placeScale(QLabel* label, int index) {
    label->setParent(this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int y = kTop + kGridBottom - kGridStep * index;
    label->setGeometry(0, y - kRowHeight / 2, kLeft - 4, kRowHeight);
}

void PlotPanel::placeUnit(QLabel* label) {
    label->setParent(this);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setGeometry(0, kTop + kPictureHeight - kRowHeight, kLeft - 4, kRowHeight);
}

void PlotPanel::placeIndicator(const Control& control, QLabel* label) {
    label->setParent(this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setAutoFillBackground(true);
    indicators_[&control] = label;
    follow(control, control);
}

void PlotPanel::placeAxis(QLabel* label, int index, int count) {
    label->setParent(this);
    const int width = (kAxisRight - kAxisLeft) / std::max(count, 1);
    const Qt::Alignment align = index == 0           ? Qt::AlignLeft
                                : index == count - 1 ? Qt::AlignRight
                                                     : Qt::AlignHCenter;
    label->setAlignment(align | Qt::AlignVCenter);
    label->setGeometry(kLeft + kAxisLeft + index * width, kTop + kPictureHeight, width, kRowHeight);
}

void PlotPanel::placeCaption(QLabel* label, int index, int count) {
    label->setParent(this);
    const int width = (kAxisRight - kAxisLeft) / std::max(count, 1);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setGeometry(kLeft + kAxisLeft + index * width, kTop + kPictureHeight + kRowHeight, width,
                       kRowHeight);
}

void PlotPanel::placeReadout(QWidget* widget, int index, int count) {
    widget->setParent(this);
    readoutRow_ = true;
    const int width = (kPictureWidth - kAxisLeft) / std::max(count, 1);
    widget->setGeometry(kLeft + kAxisLeft / 2 + index * width,
                        kTop + kPictureHeight + 2 * kRowHeight, width, kRowHeight - 2);
    setMinimumSize(sizeHint());
}

void PlotPanel::placeBar(QWidget* widget) {
    widget->setParent(this);
    readoutRow_ = true;
    widget->setGeometry(kLeft + kAxisLeft, kTop + kPictureHeight + 2 * kRowHeight,
                        kAxisRight - kAxisLeft, kRowHeight - 2);
    setMinimumSize(sizeHint());
}

void PlotPanel::follow(const Control& control, const Control& look) {
    const auto found = indicators_.find(&control);
    if (found == indicators_.end()) {
        return;
    }
    // `top` is the indicator's top edge, 7 units above the plot row it marks.
    QLabel* label = found->second;
    const int centre = kTop + static_cast<int>(std::lround(look.top)) + kIndicatorAbove;
    label->setGeometry(kLeft + kPictureWidth + 2, centre - kRowHeight / 2, kRight - 2, kRowHeight);
}

}  // namespace tunx::app
