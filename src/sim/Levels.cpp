#include "sim/Levels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tunx::sim {

void Levels::assign(const std::vector<PlayedStep>& steps) {
    ends_.clear();
    levels_.clear();
    double total = 0;
    for (const PlayedStep& s : steps) {
        total += s.seconds;
    }
    if (steps.empty() || total <= 0) {
        ends_ = {1.0};
        levels_ = {0.0};
    } else {
        double t = 0;
        for (const PlayedStep& s : steps) {
            t += s.seconds;
            ends_.push_back(t / total);
            levels_.push_back(s.value);
        }
        ends_.back() = 1.0;
    }
    bucket_.assign(kBuckets, 0);
    std::uint32_t i = 0;
    for (std::size_t b = 0; b < kBuckets; ++b) {
        const double start = static_cast<double>(b) / kBuckets;
        while (ends_[i] <= start && i + 1 < ends_.size()) {
            ++i;
        }
        bucket_[b] = i;
    }
    mean_ = 0;
    meanSquare_ = 0;
    double begin = 0;
    for (std::size_t k = 0; k < levels_.size(); ++k) {
        const double width = ends_[k] - begin;
        mean_ += levels_[k] * width;
        meanSquare_ += levels_[k] * levels_[k] * width;
        begin = ends_[k];
    }
}

double Levels::acRms() const {
    return std::sqrt(std::max(0.0, meanSquare_ - mean_ * mean_));
}

// Each jump of the level at phase a adds (jump) e^(-j 2 pi k a) / (j 2 pi k) to c_k.
void Levels::harmonics(int count, std::vector<std::complex<double>>& out) const {
    out.assign(static_cast<std::size_t>(std::max(count, 0)), {0.0, 0.0});
    const std::size_t n = levels_.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double jump = levels_[i] - levels_[(i + n - 1) % n];
        if (jump == 0) {
            continue;
        }
        const double a = i == 0 ? 0.0 : ends_[i - 1];
        const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi * a);
        std::complex<double> rot = step;
        for (int k = 1; k <= count; ++k) {
            out[static_cast<std::size_t>(k - 1)] += jump * rot;
            rot *= step;
        }
    }
    for (int k = 1; k <= count; ++k) {
        out[static_cast<std::size_t>(k - 1)] /=
            std::complex<double>(0.0, 2.0 * std::numbers::pi * k);
    }
}

}  // namespace tunx::sim
