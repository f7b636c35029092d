#pragma once

namespace tunx {

// The panel groups the view lays the monitor's controls out in.
namespace monitorgroup {
inline constexpr const char* kMode = "Mode";
inline constexpr const char* kSweep = "Sweep";
inline constexpr const char* kSweepMonitor = "Sweep Monitor";
inline constexpr const char* kScope = "Scope";
inline constexpr const char* kChannels = "Channels";
inline constexpr const char* kCursors = "Cursors";
inline constexpr const char* kCounter = "Counter";
inline constexpr const char* kPlot = "Plot";
}  // namespace monitorgroup

}  // namespace tunx
