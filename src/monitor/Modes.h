#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tunx {

// The six monitor modes of selmonmode, in list order.
enum class MonitorMode {
    FrequencySweep,
    AmplitudeSweep,
    ScopeCH1,
    ScopeCH2,
    ScopeCH1CH2,
    FrequencyCounter
};

inline constexpr std::array<std::string_view, 6> kMonitorModeTexts = {
    "Frequency Sweep", "Amplitude Sweep", "Scope CH1",
    "Scope CH2",       "Scope CH1+CH2",   "Frequency Counter"};

// The mode whose list text is `text` exactly; nothing for any other text.
std::optional<MonitorMode> monitorMode(std::string_view text);
std::string_view textOf(MonitorMode mode);

inline bool isScope(MonitorMode m) {
    return m == MonitorMode::ScopeCH1 || m == MonitorMode::ScopeCH2 ||
           m == MonitorMode::ScopeCH1CH2;
}
inline bool isSweep(MonitorMode m) {
    return m == MonitorMode::FrequencySweep || m == MonitorMode::AmplitudeSweep;
}

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
}  // namespace trigger
namespace fftscale {
inline constexpr std::string_view kDbfs = "dBFS";
inline constexpr std::string_view kDbvrms = "dBVrms";
}  // namespace fftscale

// The run states of monstate.
namespace runstate {
inline constexpr std::string_view kIdleAtStart = "Idle";
inline constexpr std::string_view kStartFrequencySweep = "startfrsweep";
inline constexpr std::string_view kFrequencySweeping = "frsweeping";
inline constexpr std::string_view kStartAmplitudeSweep = "startampsweep";
inline constexpr std::string_view kAmplitudeSweeping = "ampsweeping";
inline constexpr std::string_view kStartScope = "startscope";
inline constexpr std::string_view kScope = "scope";
inline constexpr std::string_view kCounter = "Frequency Counter";
inline constexpr std::string_view kStopped = "stoped";
inline constexpr std::string_view kIdle = "idle";
inline constexpr std::array kAll = {kIdleAtStart,
                                    kStartFrequencySweep,
                                    kFrequencySweeping,
                                    kStartAmplitudeSweep,
                                    kAmplitudeSweeping,
                                    kStartScope,
                                    kScope,
                                    kCounter,
                                    kStopped,
                                    kIdle};
}  // namespace runstate

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
