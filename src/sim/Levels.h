#pragma once

#include <complex>
#include <cstdint>
#include <vector>

#include "sim/GeneratorOutput.h"

namespace tunx::sim {

// A periodic waveform made of held levels (-1 .. 1), over one period of phase 0 .. 1.
class Levels {
  public:
    // The steps in order; their durations become fractions of the period.
    void assign(const std::vector<PlayedStep>& steps);
    bool empty() const { return levels_.empty(); }

    // The level at `phase` (0 <= phase < 1).
    double at(double phase) const {
        std::uint32_t i = bucket_[static_cast<std::size_t>(phase * kBuckets) & (kBuckets - 1)];
        while (ends_[i] <= phase && i + 1 < ends_.size()) {
            ++i;
        }
        return levels_[i];
    }
    double first() const { return levels_.front(); }
    double last() const { return levels_.back(); }
    double mean() const { return mean_; }
    // Root mean square of the varying part.
    double acRms() const;
    // Complex Fourier coefficients c_1 .. c_K of the level function (c_0 is the mean).
    void harmonics(int count, std::vector<std::complex<double>>& out) const;

  private:
    static constexpr std::size_t kBuckets = 4096;
    std::vector<double> ends_;  // end phase of each level
    std::vector<double> levels_;
    std::vector<std::uint32_t> bucket_;  // first level whose end lies past each bucket's start
    double mean_ = 0;
    double meanSquare_ = 0;
};

}  // namespace tunx::sim
