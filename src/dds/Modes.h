#pragma once

namespace tunx {

// The ten output modes, as every decision compares them.
namespace mode {
inline constexpr const char* kSine = "Single Tone Sine";
inline constexpr const char* kSineModulated = "Sine Modulated";
inline constexpr const char* kPulse = "Pulse Generator";
inline constexpr const char* kRamp = "Ramp";
inline constexpr const char* kTriangle = "Triangle";
inline constexpr const char* kArbitrary = "Arbitrary";
inline constexpr const char* kSweep = "Sweep Sine Generator";
inline constexpr const char* kSquare = "Square-Wave";
inline constexpr const char* kSquare2 = "Square-Wave2";
inline constexpr const char* kSine2 = "Single Tone Sine2";
inline constexpr const char* kSelectMode = "Select Mode";
}  // namespace mode

}  // namespace tunx
