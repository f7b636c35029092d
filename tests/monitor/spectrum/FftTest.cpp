#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "monitor/spectrum/Fft.h"

namespace tunx {
namespace {

TEST(Spectrum, AConstantRecordHasOnlyItsZeroBin) {
    const std::vector<std::int32_t> codes(kFftPoints, 140);
    SpectrumInput in = spectrumInput(codes, false);
    std::array<double, kFftPoints> im{};
    fft1024(in.re, im);
    const auto mag = fftMagnitudes(in.re, im);
    EXPECT_NEAR(mag[0], 20 * std::log10(12.0 * kFftPoints), 1e-9);
    EXPECT_DOUBLE_EQ(mag[5], 0);  // a magnitude of 0 counts as 1
    EXPECT_DOUBLE_EQ(strongestLevel(mag), 0);
}

// A record shorter than the transform: the places past it take its mean, not its extremes.
TEST(Spectrum, AShortRecordIsFilledWithItsMean) {
    const std::vector<std::int32_t> codes = {300, 6};
    const SpectrumInput in = spectrumInput(codes, true);
    EXPECT_DOUBLE_EQ(in.re[0], 300 - 256);
    EXPECT_DOUBLE_EQ(in.re[1], 6 - 256);
    EXPECT_DOUBLE_EQ(in.re[2], (44 - 250) / 2.0);
    EXPECT_EQ(std::pair(in.smallest, in.largest), std::pair(6, 300));
    EXPECT_EQ(in.samples, 2);
}

// The placement offsets are checked with the drawn spectrum against a direct transform; here the
// rows it clamps to.
TEST(Spectrum, LinesBeyondThePlotAreClampedToItsEdges) {
    std::array<double, kFftPoints + 1> mag{};
    mag[1] = 60;
    mag[2] = 200;   // far above: clamped to the top
    mag[3] = -100;  // far below: clamped to the bottom
    const auto rows = spectrumRows(mag, dbvrmsOffset(60, 0));
    EXPECT_DOUBLE_EQ(rows[1], 64);
    EXPECT_DOUBLE_EQ(rows[2], 0);
    EXPECT_DOUBLE_EQ(rows[3], 512);
}

}  // namespace
}  // namespace tunx
