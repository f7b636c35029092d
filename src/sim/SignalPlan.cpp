#include "sim/SignalPlan.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/InstrumentTime.h"

namespace tunx::sim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr std::size_t kReseed = 64;  // samples between exact restarts of the rotating phasor

// The part of x after its whole periods, strictly below 1 also after rounding to double.
double fraction(long double x) {
    const auto f = static_cast<double>(x - std::floor(x));
    return f < 1.0 ? f : 0.0;
}

double fraction(double x) {
    const double f = x - std::floor(x);
    return f < 1.0 ? f : 0.0;
}

void tone(double dc, double amp, double phase0, double delta, std::span<double> out) {
    const double cw = std::cos(kTwoPi * delta);
    const double sw = std::sin(kTwoPi * delta);
    for (std::size_t n0 = 0; n0 < out.size(); n0 += kReseed) {
        const double phase = kTwoPi * fraction(phase0 + static_cast<double>(n0) * delta);
        double c = std::cos(phase);
        double s = std::sin(phase);
        const std::size_t end = std::min(out.size(), n0 + kReseed);
        for (std::size_t n = n0; n < end; ++n) {
            out[n] = dc + amp * s;
            const double c2 = c * cw - s * sw;
            s = s * cw + c * sw;
            c = c2;
        }
    }
}

}  // namespace

std::size_t SweepPlan::stepAt(double seconds, long double& cycles) const {
    const std::size_t last = hz.size() - 1;
    if (!playing || seconds < 0) {
        cycles = static_cast<long double>(hz[last]) * std::max(seconds, 0.0);
        return last;
    }
    double r = seconds;
    long double passes = 0;
    if (single) {
        if (seconds >= period) {
            cycles = cyclesPerPass + static_cast<long double>(hz[last]) * (seconds - period);
            return last;
        }
    } else {
        passes = std::floor(static_cast<long double>(seconds) / period);
        r = seconds - static_cast<double>(passes * period);
        r = std::clamp(r, 0.0, period);
    }
    std::size_t i =
        static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), r) - ends.begin());
    i = std::min(i, last);
    const double begin = i == 0 ? 0.0 : ends[i - 1];
    cycles = passes * cyclesPerPass + cyclesBefore[i] + hz[i] * (r - begin);
    return i;
}

long double SignalPlan::cycles(std::int64_t tPs) const {
    switch (kind) {
        case Kind::Quiet:
            return 0;
        case Kind::Sweep: {
            long double c = 0;
            sweep->stepAt(static_cast<double>(tPs - sweep->startPs) / kPsPerSecond, c);
            return c;
        }
        case Kind::Once:
            if (!playing || tPs < anchorPs) {
                return 0;
            }
            return std::min<long double>(
                1, hz * static_cast<long double>(tPs - anchorPs) / kPsPerSecond);
        default:
            return anchorCycles + static_cast<long double>(hz) *
                                      static_cast<long double>(tPs - anchorPs) /
                                      static_cast<long double>(kPsPerSecond);
    }
}

void SignalPlan::sample(std::int64_t t0Ps, double stepPs, std::span<double> out) const {
    const double delta = fraction(hz * stepPs / kPsPerSecond);
    switch (kind) {
        case Kind::Quiet:
            std::fill(out.begin(), out.end(), dcMv);
            return;
        case Kind::Tone:
            tone(dcMv, ampMv, fraction(cycles(t0Ps)) + shift, delta, out);
            return;
        case Kind::Levels:
        case Kind::Table: {
            double phase = fraction(cycles(t0Ps));
            const std::vector<double>* t = table;
            for (double& v : out) {
                if (t != nullptr) {
                    const double x = phase * kTablePoints;
                    const auto i = static_cast<std::size_t>(x);
                    v = dcMv +
                        ampMv * ((*t)[i] + (x - static_cast<double>(i)) * ((*t)[i + 1] - (*t)[i]));
                } else {
                    v = dcMv + ampMv * levels->at(phase);
                }
                phase += delta;
                if (phase >= 1.0) {
                    phase -= 1.0;
                }
            }
            return;
        }
        case Kind::Once:
            for (std::size_t n = 0; n < out.size(); ++n) {
                const std::int64_t t = t0Ps + std::llround(static_cast<double>(n) * stepPs);
                const double p = playing && t >= anchorPs
                                     ? hz * static_cast<double>(t - anchorPs) / kPsPerSecond
                                     : 1.0;
                out[n] = dcMv + ampMv * (p < 1.0 ? levels->at(p) : levels->last());
            }
            return;
        case Kind::Sweep:
            for (std::size_t n = 0; n < out.size(); ++n) {
                const double seconds =
                    (static_cast<double>(t0Ps - sweep->startPs) + static_cast<double>(n) * stepPs) /
                    kPsPerSecond;
                long double c = 0;
                const std::size_t i = sweep->stepAt(seconds, c);
                out[n] = dcMv + ampMv * sweep->gain[i] *
                                    std::sin(kTwoPi * (fraction(c) + sweep->delay[i]));
            }
            return;
    }
}

double SignalPlan::acRmsAt(std::int64_t tPs) const {
    if (kind != Kind::Sweep) {
        return acRmsMv;
    }
    long double c = 0;
    const std::size_t i =
        sweep->stepAt(static_cast<double>(tPs - sweep->startPs) / kPsPerSecond, c);
    return ampMv * sweep->gain[i] / std::numbers::sqrt2;
}

}  // namespace tunx::sim
