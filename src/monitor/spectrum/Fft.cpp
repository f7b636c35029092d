#include "monitor/spectrum/Fft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <utility>

namespace tunx {

namespace {
constexpr double kPi = 3.14159265;  // the program's own value
constexpr int kHalf = kFftPoints / 2;
constexpr double kUnitsPerDb = 6.4;  // 80 dB over 512 plot units
constexpr double kPlotHeight = 512;
constexpr double kZeroDbvFromBottom = 448;  // 0 dBV one division below the top
constexpr int kEightBitMid = 128;
constexpr int kTwelveBitMid = 256;
}  // namespace

SpectrumInput spectrumInput(std::span<const std::int32_t> codes, bool twelveBit) {
    SpectrumInput in;
    double sum = 0;
    const std::size_t n = std::min(codes.size(), static_cast<std::size_t>(kFftPoints));
    for (std::size_t k = 0; k < n; ++k) {
        const std::int32_t sample = twelveBit ? codes[k] : 2 * codes[k];
        const std::int32_t value = codes[k] - (twelveBit ? kTwelveBitMid : kEightBitMid);
        in.smallest = std::min(in.smallest, sample);
        in.largest = std::max(in.largest, sample);
        in.re[k] = value;
        sum += value;
    }
    in.samples = static_cast<int>(n);
    if (n == 0) {
        in.smallest = 0;
        return in;
    }
    std::fill(in.re.begin() + static_cast<long>(n), in.re.end(), sum / static_cast<double>(n));
    return in;
}

void fft1024(std::span<double, kFftPoints> re, std::span<double, kFftPoints> im) {
    // Bit reversal.
    int j = kHalf;
    for (int i = 1; i <= kFftPoints - 2; ++i) {
        if (i < j) {
            std::swap(re[static_cast<std::size_t>(i)], re[static_cast<std::size_t>(j)]);
            std::swap(im[static_cast<std::size_t>(i)], im[static_cast<std::size_t>(j)]);
        }
        int k = kHalf;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
    // Butterfly stages.
    for (int l = 1; l <= kFftStages; ++l) {
        const int le = 1 << l;
        const int le2 = le / 2;
        std::complex<double> u(1.0, 0.0);
        const std::complex<double> s(std::cos(kPi / le2), -std::sin(kPi / le2));
        for (int jj = 1; jj <= le2; ++jj) {
            for (int i = jj - 1; i <= kFftPoints - 1; i += le) {
                const auto a = static_cast<std::size_t>(i);
                const auto b = static_cast<std::size_t>(i + le2);
                const std::complex<double> t = std::complex<double>(re[b], im[b]) * u;
                const std::complex<double> x(re[a], im[a]);
                re[b] = x.real() - t.real();
                im[b] = x.imag() - t.imag();
                re[a] = x.real() + t.real();
                im[a] = x.imag() + t.imag();
            }
            u *= s;
        }
    }
}

std::array<double, kFftPoints + 1> fftMagnitudes(std::span<const double, kFftPoints> re,
                                                 std::span<const double, kFftPoints> im) {
    std::array<double, kFftPoints + 1> mag{};
    for (std::size_t k = 0; k < kFftPoints; ++k) {
        mag[k] = std::sqrt(re[k] * re[k] + im[k] * im[k]);
        if (mag[k] == 0) {
            mag[k] = 1;
        }
    }
    for (std::size_t k = 0; k < kLevelBins; ++k) {
        mag[k] = 20 * std::log10(mag[k]);
    }
    return mag;
}

double strongestLevel(std::span<const double, kFftPoints + 1> fftmag) {
    double p = 0;
    for (std::size_t k = kFirstLevelBin; k < kLevelBins; ++k) {
        p = std::max(p, fftmag[k]);
    }
    return p;
}

std::array<double, kSpectrumColumns + 1> spectrumRows(
    std::span<const double, kFftPoints + 1> fftmag, double offset) {
    std::array<double, kSpectrumColumns + 1> rows{};
    for (std::size_t k = 1; k <= kSpectrumColumns; ++k) {
        const double y = std::clamp(kUnitsPerDb * fftmag[k] + offset, 0.0, kPlotHeight);
        rows[k] = kPlotHeight - y;
    }
    return rows;
}

double dbfsOffset(double strongest, double strongestDbfs) {
    return kPlotHeight + kUnitsPerDb * strongestDbfs - kUnitsPerDb * strongest;
}

double dbvrmsOffset(double strongest, double rmsDbv) {
    return kUnitsPerDb * rmsDbv + kZeroDbvFromBottom - kUnitsPerDb * strongest;
}

}  // namespace tunx
