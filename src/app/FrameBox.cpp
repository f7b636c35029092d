#include "app/FrameBox.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace tunx::app {

void FrameBox::setTitleEnabled(bool enabled) {
    if (enabled != titleEnabled_) {
        titleEnabled_ = enabled;
        update();
    }
}

void FrameBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (!titleEnabled_) {
        option.state &= ~QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Disabled);
        option.textColor = option.palette.color(QPalette::Disabled, QPalette::WindowText);
    }
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

}  // namespace tunx::app
