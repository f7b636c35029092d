#pragma once

#include "window/MenuGroups.h"

namespace tunx {

// The panel groups the view lays controls out in.
namespace group {
inline constexpr const char* kMode = "Mode";
inline constexpr const char* kFrequency = "Frequency";
inline constexpr const char* kAmplitude = "Amplitude";
inline constexpr const char* kOffset = "Offset";
inline constexpr const char* kModulation = "Modulation";
inline constexpr const char* kSweep = "Sweep";
inline constexpr const char* kPulse = "Pulse";
inline constexpr const char* kArbitrary = "Arbitrary";
inline constexpr const char* kOutput = "Output";
inline constexpr const char* kStatus = "Status";
inline constexpr const char* kCommands = "Commands";
inline constexpr const char* kMenu = menugroup::kBar;
inline constexpr const char* kMenuFile = menugroup::kFile;
inline constexpr const char* kMenuHelp = menugroup::kHelp;
}  // namespace group

// The command buttons' own pictures, shown until the program loads another.
inline constexpr const char* kBuiltinRunPicture = "builtin:run";
inline constexpr const char* kBuiltinStopPicture = "builtin:stop";
inline constexpr const char* kBuiltinRefreshPicture = "builtin:refresh";

// The Limitations box before a mode is laid out.
inline constexpr const char* kGeneralDescription =
    "Frequency: 0.01 Hz - 100 MHz\r\n"
    "Amplitude: 1 mV - 5000 mV\r\n"
    "Bias: -1 V - +5 V\r\n"
    "Enter Frequency, Bias and Amplitude, then press RUN.\r\n"
    "Use the Vpp/2 offset when negative voltage is not used.";

}  // namespace tunx
