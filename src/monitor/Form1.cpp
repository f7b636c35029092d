#include "monitor/Form1.h"

namespace tunx {

namespace {
constexpr const char* kPlotGroup = "Plot";
constexpr int kTimerIntervalMs = 10;
}  // namespace

Form1::Form1(SharedState& state, Link& link, Canvas& picture)
    : Window("Form1", kMonitorCaption), s_(state), link_(link), canvas_(picture) {
    buildControls();
    on("Form_Activate", [this] { Form_Activate(); });
    on("Timer1_Timer", [this] { Timer1_Timer(); });
}

void Form1::buildControls() {
    Control picture;
    picture.name = "Picture1";
    picture.kind = ControlKind::Picture;
    picture.group = kPlotGroup;
    Picture1 = add(std::move(picture));

    Control timer;
    timer.name = "Timer1";
    timer.kind = ControlKind::Timer;
    timer.value = kTimerIntervalMs;  // the interval
    Timer1 = add(std::move(timer));
}

}  // namespace tunx
