// The monitor modes, in selmonmode's order. A new mode is a file of this folder defining its
// record, declared and listed here.
#include <array>

#include "common/RequiredText.h"
#include "monitor/Modes.h"

namespace tunx {

namespace monitormodes {
extern const MonitorMode kFrequencySweep, kAmplitudeSweep, kScopeCH1, kScopeCH2, kScopeCH1CH2,
    kFrequencyCounter;
}  // namespace monitormodes

namespace {
constexpr std::array kMonitorModes = {
    &monitormodes::kFrequencySweep, &monitormodes::kAmplitudeSweep,
    &monitormodes::kScopeCH1,       &monitormodes::kScopeCH2,
    &monitormodes::kScopeCH1CH2,    &monitormodes::kFrequencyCounter,
};
}  // namespace

std::span<const MonitorMode* const> monitorModes() {
    return kMonitorModes;
}

const MonitorMode* monitorModeOf(std::string_view text) {
    return findByText(monitorModes(), text);
}

const MonitorMode* monitorModeFor(SweepKind sweep) {
    const SweepKind kind = sweep == SweepKind::Fast ? SweepKind::Frequency : sweep;
    for (const MonitorMode* m : kMonitorModes) {
        if (m->sweep == kind) {
            return m;
        }
    }
    return nullptr;
}

const RunStep* stepOf(RunState state) {
    for (const MonitorMode* m : kMonitorModes) {
        for (const RunStep& step : m->steps) {
            if (step.state == state) {
                return &step;
            }
        }
    }
    return nullptr;
}

}  // namespace tunx
