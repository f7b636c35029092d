#pragma once

#include <string>

namespace tunx {

struct frmMainControls;
class frmMain;

// Texts of the status line and the command buttons.
namespace runstop {
inline constexpr const char* kConfiguring = "Configuring";
inline constexpr const char* kBusy = "...";
inline constexpr const char* kRunning = "Running ";
inline constexpr const char* kSingleSuffix = " In Single Mode! Clik TRIGGER or Use TRIGGER Input";
inline constexpr const char* kError = "Error ";
inline constexpr const char* kStopped = "Stopped";
inline constexpr const char* kRunningCaption = "RUNNING";
inline constexpr const char* kTriggerCaption = "TRIGGER";
inline constexpr const char* kRunError = "RUN_Error";
inline constexpr const char* kTriggerLabel = "Sending Trigger_";
inline constexpr const char* kRunPicture = "run_btn.bmp";
inline constexpr const char* kTakenByMonitor = "Output taken by the monitor's ";
}  // namespace runstop

// The current settings ask for single-shot output: an enabled arbmode or outmode reading
// "Single", or an enabled and ticked singlesw.
bool singleShotRequested(const frmMainControls& panel);

// A measurement of the monitor (`measurement` names it) sets the output itself: the panel's
// settings are no longer what goes out, so RUN is not lit, the status line names the
// measurement, and the next RUN sends the panel's settings again.
void outputTakenBy(frmMain& w, const std::string& measurement);

}  // namespace tunx
