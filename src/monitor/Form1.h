#pragma once

#include "controls/Form1Controls.h"
#include "link/Link.h"
#include "ports/Canvas.h"
#include "state/SharedState.h"
#include "window/Window.h"

namespace tunx {

inline constexpr const char* kMonitorCaption = "TUNX Monitor";

// The monitor window: the plot and the 10 ms timer. Its instruments come later; for now the
// timer's ticks do nothing.
class Form1 : public Window, public Form1Controls {
  public:
    Form1(SharedState& state, Link& link, Canvas& canvas);

    SharedState& state() { return s_; }
    Link& link() { return link_; }
    // What Picture1 draws on.
    Canvas& canvas() { return canvas_; }

    void Form_Activate() {}
    void Timer1_Timer() {}

  private:
    void buildControls();

    SharedState& s_;
    Link& link_;
    Canvas& canvas_;
};

}  // namespace tunx
