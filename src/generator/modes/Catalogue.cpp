// The output modes, in the mode box's order. A new mode is a file of this folder defining its
// record, declared and listed here.
#include <array>

#include "generator/OutputMode.h"

namespace tunx {

namespace modes {
extern const OutputMode kSingleToneSine, kSineModulated, kPulseGenerator, kRamp, kTriangle,
    kArbitrary, kSquareWave, kSquareWave2, kSingleToneSine2;
}  // namespace modes

namespace {
constexpr std::array kOutputModes = {
    &modes::kSingleToneSine,     &modes::kSineModulated,
    &modes::kPulseGenerator,     &modes::kRamp,
    &modes::kTriangle,           &modes::kArbitrary,
    &modes::kSweepSineGenerator, &modes::kSquareWave,
    &modes::kSquareWave2,        &modes::kSingleToneSine2,
};
}  // namespace

std::span<const OutputMode* const> outputModes() {
    return kOutputModes;
}

const OutputMode* outputModeOf(std::string_view text) {
    for (const OutputMode* m : kOutputModes) {
        if (text == m->text()) {
            return m;
        }
    }
    return nullptr;
}

}  // namespace tunx
