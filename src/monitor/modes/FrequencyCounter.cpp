#include "monitor/counter/Counter.h"
#include "monitor/counter/CounterDisplay.h"
#include "monitor/modes/ModeParts.h"
#include "monitor/scope/Capture.h"

namespace tunx {

namespace {

// The counter's controls; choosing the mode sends its range at once.
void layout(Form1& w) {
    const Groups g(w);
    enable(g.counter(), true);
    enable(g.frequencyInputs(), false);
    enable({w.textstarta, w.combstarta, w.lstartamp, w.textstopa, w.lstopamp}, false);
    enable(g.sweepReadouts(), false);
    enable(g.fft(), false);
    conceal({w.ch1vdivtext, w.ch2vdivtext, w.tdivtext});
    hideMeasurements(w);
    w.frangesel_Click();
}

constexpr std::array<RunStep, 1> kSteps = {{{RunState::Counter, counterReading}}};

}  // namespace

namespace monitormodes {
extern const MonitorMode kFrequencyCounter = {
    .name = "Frequency Counter",
    .layout = layout,
    .start =
        [](Form1& w) {
            w.mon().monstate = RunState::Counter;
            counterHistoryCleared(w);
        },
    .steps = kSteps,
    .remoteName = "COUNter",
};
}  // namespace monitormodes

}  // namespace tunx
