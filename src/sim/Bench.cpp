#include "sim/Bench.h"

#include <cmath>
#include <cstdio>

namespace tunx::sim {

std::complex<double> Dut::response(double f) const {
    using C = std::complex<double>;
    switch (kind) {
        case Kind::None:
            return 1.0;
        case Kind::Attenuate:
            return std::pow(10.0, -db / 20.0);
        case Kind::Lowpass:
            return 1.0 / C(1.0, f / hz);
        case Kind::Highpass:
            return C(0.0, f / hz) / C(1.0, f / hz);
        case Kind::Bandpass: {
            const double x = f / hz;
            const C s(0.0, x / q);
            return s / (C(1.0 - x * x, 0.0) + s);
        }
    }
    return 1.0;
}

std::string Dut::words() const {
    char buf[96];
    switch (kind) {
        case Kind::None:
            return "none";
        case Kind::Attenuate:
            std::snprintf(buf, sizeof buf, "attenuate %.2f dB", db);
            return buf;
        case Kind::Lowpass:
            std::snprintf(buf, sizeof buf, "lowpass %.3f Hz", hz);
            return buf;
        case Kind::Highpass:
            std::snprintf(buf, sizeof buf, "highpass %.3f Hz", hz);
            return buf;
        case Kind::Bandpass:
            std::snprintf(buf, sizeof buf, "bandpass %.3f Hz Q %.3f", hz, q);
            return buf;
    }
    return "none";
}

}  // namespace tunx::sim
