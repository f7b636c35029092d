#pragma once

#include "state/SharedState.h"
#include "window/Window.h"

namespace tunx {

inline constexpr const char* kMonitorCaption = "TUNX Monitor";

// The monitor window. Its instruments come later; for now it is an empty window.
class Form1 : public Window {
  public:
    explicit Form1(SharedState& state);
    void Form_Activate() {}

  private:
    SharedState& s_;
};

}  // namespace tunx
