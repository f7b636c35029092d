#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tunx {

inline constexpr int kFftPoints = 1024;
inline constexpr int kFftStages = 10;
inline constexpr int kSpectrumColumns = 512;
inline constexpr int kLevelBins = 514;  // bins 0..513 are turned into dB
// The first bin of the levels drawn and searched: bins 0..2 (0 Hz included) are left out.
inline constexpr std::size_t kFirstLevelBin = 3;

// The transform's input taken from the record buffer: 1024 real values with the offset
// removed, and the smallest and largest sample value seen before that.
struct SpectrumInput {
    std::array<double, kFftPoints> re{};
    std::int32_t smallest = 10000;
    std::int32_t largest = 0;
    int samples = 0;  // how many of the 1024 came from the record
};

// The transform's input from a channel's codes (the first 1024): 8-bit codes less 128, with the
// extremes on twice the code; 12-bit codes less 256, the extremes on the code. A record shorter
// than the transform is not padded with another record's samples: the places past it take the
// mean of its values (no extremes). Without a single sample both extremes are 0.
SpectrumInput spectrumInput(std::span<const std::int32_t> codes, bool twelveBit);

// The program's in-place 1024-point transform: bit reversal, then ten decimation-in-time
// stages with the twiddle factor advanced by multiplication. No window, no scaling.
void fft1024(std::span<double, kFftPoints> re, std::span<double, kFftPoints> im);

// Magnitudes and levels: fftmag[k] = |X[k]| (a zero becomes 1) for bins 0..1023, then
// 20 log10 of it for bins 0..513.
std::array<double, kFftPoints + 1> fftMagnitudes(std::span<const double, kFftPoints> re,
                                                 std::span<const double, kFftPoints> im);

// The strongest level among bins 3..513 (not below 0).
double strongestLevel(std::span<const double, kFftPoints + 1> fftmag);

// Plot rows (0 at the top, 512 at the bottom) of bins 1..512 for a vertical offset in plot
// units: y = 6.4 x level + offset, limited to 0..512, row = 512 - y. Index 0 is unused.
std::array<double, kSpectrumColumns + 1> spectrumRows(
    std::span<const double, kFftPoints + 1> fftmag, double offset);

// Offsets that place the strongest level P at its level: against the converter's full scale,
// 0 dBFS on the top edge ("dBFS"), or at the rms level L in dBV with 0 dBV one division below
// the top ("dBVrms").
double dbfsOffset(double strongest, double strongestDbfs);
double dbvrmsOffset(double strongest, double rmsDbv);

}  // namespace tunx
