#include "monitor/Form1.h"

#include "window/NewControl.h"

namespace tunx {

namespace {
constexpr const char* kPlotGroup = "Plot";
constexpr int kTimerIntervalMs = 10;
}  // namespace

Form1::Form1(SharedState& state, Link& link, Canvas& canvas)
    : Window("Form1", kMonitorCaption), s_(state), link_(link), canvas_(canvas) {
    buildControls();
    on("Form_Activate", [this] { Form_Activate(); });
    on("Timer1_Timer", [this] { Timer1_Timer(); });
}

void Form1::buildControls() {
    Picture1 = add(picture("Picture1", kPlotGroup));
    Timer1 = add(timer("Timer1", kTimerIntervalMs));
}

}  // namespace tunx
