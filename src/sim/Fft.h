#pragma once

#include <complex>
#include <vector>

namespace tunx::sim {

// In-place radix-2 transform of a power-of-two length, unscaled: sign -1 analyses, +1
// synthesises (x[n] = sum X[k] e^(+j 2 pi k n / N)).
void fft(std::vector<std::complex<double>>& x, int sign);

}  // namespace tunx::sim
