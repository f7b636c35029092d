#pragma once

#include <cstdint>

#include "link/Link.h"

namespace tunx {

// Switch lines (code 32): group and line.
struct SwitchLine {
    int group;
    int line;
};
namespace line {
inline constexpr SwitchLine kCh1Range{3, 2};
inline constexpr SwitchLine kAttenuator20dB{3, 15};
inline constexpr SwitchLine kScopeConverter{4, 0};
inline constexpr SwitchLine kOutputPath{4, 2};
inline constexpr SwitchLine kCounterRange1{4, 4};
inline constexpr SwitchLine kSquare2Path{4, 6};
inline constexpr SwitchLine kCounterRange2{4, 8};
inline constexpr SwitchLine kCh1Range2{4, 9};
inline constexpr SwitchLine kCh2Range{4, 10};
inline constexpr SwitchLine kScopeClock{4, 11};
inline constexpr SwitchLine kBiasReadback{6, 4};
inline constexpr SwitchLine kBiasReadback2{6, 5};
inline constexpr SwitchLine kAnalyserPath{7, 2};
inline constexpr SwitchLine kCh2Range2{7, 9};
}  // namespace line

// DAC channels (code 31).
namespace dac {
inline constexpr int kLevelA = 3;  // (sgaten + 1) / 2
inline constexpr int kCh1Gain = 4;
inline constexpr int kCh2Position = 5;
inline constexpr int kCh2Gain = 6;
inline constexpr int kLevelB = 7;  // (2046 - sgaten) / 2
inline constexpr int kCh1Position = 8;
}  // namespace dac

inline constexpr std::int16_t kSgatenMax = 2046;
inline constexpr std::int16_t kSgatenOff = 2040;
inline constexpr const char* kRelayLabel = "_Relay_ON_";

Command switchCommand(SwitchLine which, bool on);
Command dacCommand(int channel, std::int32_t value);

// Level DAC pair from sgaten, then the 20 dB attenuator line from sgatten.
void sgrelayon(Link& link);
// Level DAC pair for 2040, then the output-stage close.
void sgrelayoff(Link& link);

}  // namespace tunx
