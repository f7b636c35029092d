#pragma once

#include <QGroupBox>

namespace tunx::app {

// A group box whose title can look disabled on its own. The frame of a panel group is
// disabled together with the controls of its group, but a disabled QGroupBox would also
// disable every widget inside it, whatever their own state.
class FrameBox : public QGroupBox {
    Q_OBJECT

  public:
    using QGroupBox::QGroupBox;

    void setTitleEnabled(bool enabled);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool titleEnabled_ = true;
};

}  // namespace tunx::app
