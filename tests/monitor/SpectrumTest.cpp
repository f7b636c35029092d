#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "monitor/Spectrum.h"

namespace tunx {
namespace {

constexpr double kTwoPi = 2 * 3.14159265358979323846;

TEST(Spectrum, TransformAgreesWithADirectDft) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-128, 127);
    std::array<double, kFftPoints> re{}, im{};
    for (auto& v : re) {
        v = value(random);
    }
    const auto input = re;
    fft1024(re, im);
    double worst = 0;
    for (int k = 0; k < kFftPoints; ++k) {
        std::complex<double> sum;
        for (int n = 0; n < kFftPoints; ++n) {
            sum +=
                input[static_cast<std::size_t>(n)] * std::polar(1.0, -kTwoPi * k * n / kFftPoints);
        }
        const std::complex<double> got(re[static_cast<std::size_t>(k)],
                                       im[static_cast<std::size_t>(k)]);
        worst = std::max(worst, std::abs(got - sum));
    }
    // The program's pi carries 9 digits; over ten stages the error stays far below one code.
    EXPECT_LT(worst, 1e-3);
}

// An 8-bit CH1 record (odd buffer positions) of a sine `bins` periods long over 1024 samples.
RecordBuffer eightBitTone(double bins, double amplitude) {
    RecordBuffer buffer{};
    for (int n = 0; n < kFftPoints; ++n) {
        const double v = 128 + amplitude * std::sin(kTwoPi * bins * n / kFftPoints);
        buffer[static_cast<std::size_t>(1 + 2 * n)] = static_cast<std::uint8_t>(std::lround(v));
        buffer[static_cast<std::size_t>(2 + 2 * n)] = 128;
    }
    return buffer;
}

TEST(Spectrum, ToneOfTenBinsPeaksAtColumnTenOnTheTopEdge) {
    const RecordBuffer buffer = eightBitTone(10, 100);
    SpectrumInput in = spectrumInput(buffer, buffer.size(), false, false);
    EXPECT_EQ(in.largest - in.smallest, 400);  // twice the bytes 28..228
    std::array<double, kFftPoints> im{};
    fft1024(in.re, im);
    const auto mag = fftMagnitudes(in.re, im);
    const double p = strongestLevel(mag);
    EXPECT_NEAR(p, 20 * std::log10(100.0 * kFftPoints / 2), 0.05);
    const auto rows = spectrumRows(mag, dbfsOffset(p));
    EXPECT_DOUBLE_EQ(rows[10], 0);
    for (int k = 1; k <= kSpectrumColumns; ++k) {
        if (k != 10) {
            EXPECT_GT(rows[static_cast<std::size_t>(k)], 150) << "bin " << k;  // > 23 dB down
        }
    }
}

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

TEST(Spectrum, PlacementOfTheStrongestLine) {
    // dBFS: the strongest line on the top edge; dBVrms: at L dBV, 0 dBV one division down.
    EXPECT_DOUBLE_EQ(dbfsOffset(60), 512 - 384);
    EXPECT_DOUBLE_EQ(dbvrmsOffset(60, 0), 448 - 384);
    EXPECT_DOUBLE_EQ(dbvrmsOffset(60, -10), 448 - 64 - 384);
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
