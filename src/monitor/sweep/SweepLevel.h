#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "state/SharedState.h"

namespace tunx {

// How a sweep frequency becomes a tuning word: a frequency sweep corrects the clock with
// clkcorr below 199.9 MHz, an amplitude sweep (and its preparation) does not.
enum class SweepRule { Frequency, Amplitude };

inline constexpr double kSweepClock = 400'000'000.0;

// The four tuning-word bytes of a sweep frequency in hertz, most significant first; from
// 200 MHz on the word of half the clock (128, 0, 0, 0). Raises "Overflow"/"Division by
// zero" on nonsense.
std::array<int, 4> sweepTuningBytes(double hz, SweepRule rule, double sweepclk, double clkcorr);

// A detector reading turned into levels.
struct Level {
    float leveldbv = 0;
    double leveldbmv = 0;
    double levelmv = 0;
};
// dBV = (mV + rfdetoffset) / rfdetslope + rfdetintercept; dBmV = dBV + 60; mVrms from dBmV.
Level levelFromDetector(float detmv, const Calibration& cal);
// The same levels from dBV.
Level levelFromDbv(float leveldbv);

// One display scale of the sweep analyser, with its grid labels and mouse readout.
struct DisplayScale {
    std::string_view text;                   // the selrfrange entry
    std::array<std::string_view, 9> labels;  // ldiv0 (bottom line) .. ldiv8 (top line)
    std::string_view unit;                   // ldivunit and labvoltunit
    double mouseTop = 0;                     // the mouse readout at the plot's top edge
    double mousePerRow = 0;                  // and its change per plot row downwards
    int mouseDecimals = 0;
    std::string_view mouseUnit;  // " mVrms"
};

// The six scales, in list order; nullptr for any other text.
const std::array<DisplayScale, 6>& displayScales();
const DisplayScale* findDisplayScale(std::string_view text);

// A measured level in the unit of a display scale (mVrms, dBmV, dBV or dBm), whatever part of
// it the scale can draw.
double levelIn(const DisplayScale& scale, float leveldbv);

// A sweep point in a display scale: its readout text (digit grouping `group`) and plot row,
// limited to 32..544, where the scale's labels and the mouse readout put the level: the
// lowest label on the bottom grid line (row 544), the highest on the top edge (row 32). The
// scale may rewrite the levels (the dBmV floor, the dBm shifts) as the program does; the
// readout shows the level measured. An unknown scale gives no readout and the top row.
struct SweepPoint {
    std::optional<std::string> readout;
    std::int32_t row = 0;
};
SweepPoint sweepPoint(std::string_view scale, Level& level, char group);

}  // namespace tunx
