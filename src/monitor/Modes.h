#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "common/RequiredText.h"
#include "state/MonitorState.h"

namespace tunx {

class Form1;
struct MonitorMode;

// One run state of a mode and the step each tick of the timer takes in it; false when the step
// failed (the next tick shows the error).
struct RunStep {
    RunState state;
    bool (*tick)(Form1& w);
};

// One monitor mode: everything choosing it, START and the timer's ticks do. A mode is one file
// of monitor/modes that defines its record, and one line of the catalogue that lists it.
struct MonitorMode {
    RequiredText name;  // as selmonmode lists it
    // The channels a scope record of the mode shows (none: the mode is no scope).
    bool ch1 = false;
    bool ch2 = false;
    std::optional<SweepKind> sweep = std::nullopt;  // the sweep the mode runs
    void (*layout)(Form1& w);        // what choosing the mode does to the window (selmonmode_Click)
    void (*start)(Form1& w);         // what START does before the first tick
    std::span<const RunStep> steps;  // the run states the mode passes, with their ticks
    // What the remote control's MONitor:MODE calls it: the short form in capitals, the rest of
    // the long form in lower case ("FSWeep" is FSW or FSWEEP).
    const char* remoteName = "";

    const char* text() const { return name.text; }
    bool isScope() const { return ch1 || ch2; }
};

// Every monitor mode, in selmonmode's order.
std::span<const MonitorMode* const> monitorModes();
// The mode a text names exactly; null for any other text.
const MonitorMode* monitorModeOf(std::string_view text);
// The mode that runs a sweep of this kind (the fast sweep is a frequency sweep).
const MonitorMode* monitorModeFor(SweepKind sweep);
// The mode chosen in selmonmode; null when its text names none.
const MonitorMode* chosenMode(const Form1& w);
// The step of a run state, whichever mode it belongs to; null for a state without one.
const RunStep* stepOf(RunState state);

// Entries of the scope's lists.
namespace adc {
inline constexpr std::string_view k8Bit = "8 bit 40Ms";
inline constexpr std::string_view k12Bit = "12 bit 480Ks";
}  // namespace adc
namespace sampling {
inline constexpr std::string_view kRealTime = "Real time";
inline constexpr std::string_view kUndersampling = "Undersampling";
}  // namespace sampling
namespace trigger {
inline constexpr std::string_view kFreeRunning = "Free-running";
inline constexpr std::string_view kNormal = "Normal";
inline constexpr std::string_view kSingle = "Single";
inline constexpr std::string_view kAuto = "Auto";
inline constexpr std::string_view kPositive = "Positive";
inline constexpr std::string_view kNegative = "Negative";
inline constexpr std::string_view kCH1 = "CH1";
inline constexpr std::string_view kCH2 = "CH2";
// Normal and Auto wait for a trigger (the record is the triggered one); the others do not.
inline bool waitsForTrigger(std::string_view mode) {
    return mode == kNormal || mode == kAuto;
}
}  // namespace trigger
namespace fftscale {
inline constexpr std::string_view kDbfs = "dBFS";
inline constexpr std::string_view kDbvrms = "dBVrms";
}  // namespace fftscale

// Texts of textstatus.
namespace status {
inline constexpr std::string_view kIdleAtStart = "Idle  ";
inline constexpr std::string_view kRunning = "Running";
inline constexpr std::string_view kStopped = "Stopped";
inline constexpr std::string_view kCalibrating = "Calibrating for DC offset";
inline constexpr std::string_view kError = "TUNX ERROR";
inline constexpr std::string_view kWaiting = "Waiting for Trigger";
}  // namespace status

}  // namespace tunx
