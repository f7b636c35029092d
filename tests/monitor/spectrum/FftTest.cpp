#include <gtest/gtest.h>

#include <cmath>

#include "monitor/spectrum/Fft.h"

namespace tunx {
namespace {

TEST(Spectrum, ConstantRecordRunsAlongTheTopEdgeInDbfs) {
    RecordBuffer buffer{};
    buffer.fill(140);
    SpectrumInput in = spectrumInput(buffer, buffer.size(), false, true);
    std::array<double, kFftPoints> im{};
    fft1024(in.re, im);
    const auto mag = fftMagnitudes(in.re, im);
    EXPECT_NEAR(mag[0], 20 * std::log10(12.0 * kFftPoints), 1e-9);
    EXPECT_DOUBLE_EQ(mag[5], 0);  // a magnitude of 0 counts as 1
    EXPECT_DOUBLE_EQ(strongestLevel(mag), 0);
    const auto rows = spectrumRows(mag, dbfsOffset(0));
    for (int k = 1; k <= kSpectrumColumns; ++k) {
        EXPECT_DOUBLE_EQ(rows[static_cast<std::size_t>(k)], 0);
    }
}

TEST(Spectrum, TwelveBitPairsStartAtPositionTwo) {
    RecordBuffer buffer{};
    buffer[0] = 15;  // not part of the spectrum
    buffer[2] = 1;
    buffer[3] = 44;  // 300
    buffer[4] = 0;
    buffer[5] = 6;  // 6
    const SpectrumInput in = spectrumInput(buffer, buffer.size(), true, false);
    EXPECT_DOUBLE_EQ(in.re[0], 300 - 256);
    EXPECT_DOUBLE_EQ(in.re[1], 6 - 256);
    EXPECT_DOUBLE_EQ(in.re[2], -256);
    EXPECT_EQ(in.largest, 300);
    EXPECT_EQ(in.smallest, 0);
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
