#include "monitor/spectrum/FftWindows.h"

#include <cmath>
#include <vector>

namespace tunx {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A cosine-sum window: w(n) = a0 - a1 cos(2 pi n / N) + a2 cos(4 pi n / N) - ...
struct CosineSum {
    std::string_view text;
    std::array<double, 5> a;
};

constexpr std::array<CosineSum, 4> kWindows{{
    {"Rectangular", {1, 0, 0, 0, 0}},
    {"Hann", {0.5, 0.5, 0, 0, 0}},
    {"Blackman-Harris", {0.35875, 0.48829, 0.14128, 0.01168, 0}},
    {"Flat top", {0.21557895, 0.41663158, 0.277263158, 0.083578947, 0.006947368}},
}};

const CosineSum* find(std::string_view text) {
    for (const CosineSum& w : kWindows) {
        if (w.text == text) {
            return &w;
        }
    }
    return nullptr;
}

}  // namespace

bool applyWindow(std::string_view text, std::span<double> samples) {
    const CosineSum* w = find(text);
    if (w == nullptr) {
        return false;
    }
    if (w->a[1] == 0) {
        return true;  // rectangular: nothing to do
    }
    const double n = static_cast<double>(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double x = kTwoPi * static_cast<double>(i) / n;
        double value = 0;
        double sign = 1;
        for (std::size_t k = 0; k < w->a.size(); ++k) {
            value += sign * w->a[k] * std::cos(static_cast<double>(k) * x);
            sign = -sign;
        }
        samples[i] *= value / w->a[0];
    }
    return true;
}

}  // namespace tunx
