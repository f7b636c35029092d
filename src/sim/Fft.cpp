#include "sim/Fft.h"

#include <numbers>
#include <utility>

namespace tunx::sim {

void fft(std::vector<std::complex<double>>& x, int sign) {
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(x[i], x[j]);
        }
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> w =
            std::polar(1.0, sign * 2.0 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> u = 1.0;
            for (std::size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> a = x[i + k];
                const std::complex<double> b = x[i + k + len / 2] * u;
                x[i + k] = a + b;
                x[i + k + len / 2] = a - b;
                u *= w;
            }
        }
    }
}

}  // namespace tunx::sim
