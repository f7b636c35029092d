// The signals on the instrument's inputs: the generator's output, through the device under
// test where wired to it, or a bench source; plus each input's offset error and noise.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/Fft.h"
#include "sim/VirtualInstrument.h"

namespace tunx::sim {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr int kMaxHarmonics = 1024;
constexpr double kOutputBandwidthHz = 250e6;  // harmonics above this are not reproduced

// A normal deviate that depends only on the seed, the channel and the instant, so that the
// same instant always reads the same noise: a sum of four uniform deviates from one hash.
double noiseAt(std::uint64_t seed, int channel, std::int64_t tPs) {
    std::uint64_t z = seed * 0x9E3779B97F4A7C15ULL +
                      static_cast<std::uint64_t>(channel) * 0xD1B54A32D192ED03ULL +
                      static_cast<std::uint64_t>(tPs);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        sum += static_cast<double>((z >> (16 * i)) & 0xFFFF) / 65536.0;
    }
    return (sum - 2.0) * std::numbers::sqrt3;
}

}  // namespace

const GeneratorOutput& VirtualInstrument::output() const {
    if (cache_.stale) {
        cache_.output = generatorOutput(model_, cal_);
        const GeneratorOutput& g = cache_.output;
        if (g.kind == Waveform::Comparator) {
            cache_.pattern.assign({{1.0, 1.0}, {-1.0, 1.0}});
        } else if (g.kind == Waveform::Pattern) {
            cache_.pattern.assign(g.steps);
        }
        cache_.sweepStale[0] = cache_.sweepStale[1] = true;
        cache_.tableStale = true;
        cache_.stale = false;
    }
    return cache_.output;
}

// One period of the pattern through the device under test, band-limited to the harmonics
// the output reproduces (with Lanczos factors, so edges do not ring).
const std::vector<double>& VirtualInstrument::filteredTable(double hz, const Levels& levels) const {
    if (!cache_.tableStale && cache_.tableHz == hz) {
        return cache_.table;
    }
    const std::size_t n = SignalPlan::kTablePoints;
    const double below = kOutputBandwidthHz / hz;  // harmonics the output reproduces
    const int count = below >= kMaxHarmonics ? kMaxHarmonics
                      : below >= 1           ? static_cast<int>(below)
                                             : 1;
    levels.harmonics(count, cache_.harmonics);
    auto& x = cache_.spectrum;
    x.assign(n, {0.0, 0.0});
    x[0] = levels.mean() * bench_.dut.response(0.0).real();
    for (int k = 1; k <= count; ++k) {
        const double sigma =
            std::sin(std::numbers::pi * k / (count + 1)) / (std::numbers::pi * k / (count + 1));
        const std::complex<double> c =
            sigma * cache_.harmonics[static_cast<std::size_t>(k - 1)] * bench_.dut.response(k * hz);
        x[static_cast<std::size_t>(k)] = c;
        x[n - static_cast<std::size_t>(k)] = std::conj(c);
    }
    fft(x, +1);
    cache_.table.resize(n + 1);
    for (std::size_t i = 0; i < n; ++i) {
        cache_.table[i] = x[i].real();
    }
    cache_.table[n] = cache_.table[0];
    double power = 0;
    for (int k = 1; k <= count; ++k) {
        power += std::norm(cache_.harmonics[static_cast<std::size_t>(k - 1)] *
                           bench_.dut.response(k * hz));
    }
    cache_.tableAcRms = std::sqrt(2.0 * power);
    cache_.tableHz = hz;
    cache_.tableStale = false;
    return cache_.table;
}

const SweepPlan& VirtualInstrument::sweepPlan(bool throughDut) const {
    SweepPlan& s = cache_.sweep[throughDut ? 1 : 0];
    bool& stale = cache_.sweepStale[throughDut ? 1 : 0];
    if (!stale) {
        return s;
    }
    const GeneratorOutput& g = output();
    const std::size_t n = g.steps.size();
    s.hz.resize(n);
    s.ends.resize(n);
    s.cyclesBefore.resize(n);
    s.gain.resize(n);
    s.delay.resize(n);
    double t = 0, cycles = 0;
    for (std::size_t i = 0; i < n; ++i) {
        s.hz[i] = g.steps[i].value;
        s.cyclesBefore[i] = cycles;
        cycles += g.steps[i].value * g.steps[i].seconds;
        t += g.steps[i].seconds;
        s.ends[i] = t;
        const std::complex<double> h = throughDut ? bench_.dut.response(s.hz[i]) : 1.0;
        const double attenuation = g.attenuated ? 10.0 : 1.0;
        const double level = g.linearVpp > 0 ? sineVpp(g.linearVpp * attenuation, s.hz[i], cal_) /
                                                   attenuation / g.linearVpp
                                             : 0.0;
        s.gain[i] = std::abs(h) * level;
        s.delay[i] = std::arg(h) / kTwoPi;
    }
    s.period = t;
    s.cyclesPerPass = cycles;
    s.single = g.single;
    s.playing = g.playing;
    s.startPs = g.playStartPs;
    stale = false;
    return s;
}

SignalPlan VirtualInstrument::generatorPlan(bool throughDut) const {
    const GeneratorOutput& g = output();
    SignalPlan p;
    if (!g.on) {
        return p;
    }
    const Dut& dut = bench_.dut;
    throughDut = throughDut && !dut.passesUnchanged();
    const double dcGain = throughDut ? dut.response(0.0).real() : 1.0;
    p.dcMv = g.offsetMv * dcGain;
    p.ampMv = g.vpp / 2.0;
    p.hz = g.hz;
    p.anchorPs = anchorPs_;
    p.anchorCycles = anchorCycles_;
    switch (g.kind) {
        case Waveform::Sine: {
            if (g.hz <= 0 || p.ampMv <= 0) {
                return p;  // Quiet: the offset alone
            }
            p.kind = SignalPlan::Kind::Tone;
            if (throughDut) {
                const std::complex<double> h = dut.response(g.hz);
                p.ampMv *= std::abs(h);
                p.shift = std::arg(h) / kTwoPi;
            }
            p.acRmsMv = p.ampMv / std::numbers::sqrt2;
            return p;
        }
        case Waveform::Comparator:
        case Waveform::Pattern: {
            if (g.hz <= 0) {
                return p;
            }
            p.levels = &cache_.pattern;
            if (g.kind == Waveform::Pattern) {
                p.anchorPs = g.playStartPs;
                p.anchorCycles = 0;
            }
            if (g.kind == Waveform::Pattern && g.single) {
                // Played once per start: through the device under test only its gain at the
                // repetition rate is kept.
                p.kind = SignalPlan::Kind::Once;
                p.playing = g.playing;
                if (throughDut) {
                    p.ampMv *= std::abs(dut.response(g.hz));
                }
                p.acRmsMv = p.ampMv * cache_.pattern.acRms();
                return p;
            }
            if (!throughDut) {
                p.kind = SignalPlan::Kind::Levels;
                p.acRmsMv = p.ampMv * cache_.pattern.acRms();
                return p;
            }
            p.kind = SignalPlan::Kind::Table;
            p.table = &filteredTable(g.hz, cache_.pattern);
            p.acRmsMv = p.ampMv * cache_.tableAcRms;
            return p;
        }
        case Waveform::Sweep: {
            if (g.steps.empty() || g.periodSeconds() <= 0) {
                return p;
            }
            p.kind = SignalPlan::Kind::Sweep;
            p.sweep = &sweepPlan(throughDut);
            return p;
        }
    }
    return p;
}

SignalPlan VirtualInstrument::plan(int channel) const {
    const auto c = static_cast<std::size_t>(channel);
    switch (bench_.wire[c]) {
        case Wire::Off:
            return {};
        case Wire::Generator:
            return generatorPlan(false);
        case Wire::Dut:
            return generatorPlan(true);
        case Wire::External: {
            const ExternalSource& e = bench_.external[c];
            SignalPlan p;
            p.dcMv = e.offset;
            p.ampMv = e.vpp / 2.0;
            p.hz = e.hz;
            if (e.hz <= 0) {
                return p;
            }
            if (e.square) {
                p.kind = SignalPlan::Kind::Levels;
                p.levels = &cache_.square;
                p.acRmsMv = p.ampMv;
            } else {
                p.kind = SignalPlan::Kind::Tone;
                p.acRmsMv = p.ampMv / std::numbers::sqrt2;
            }
            return p;
        }
    }
    return {};
}

void VirtualInstrument::inputVolts(int channel, std::int64_t t0Ps, double stepPs,
                                   std::span<double> out) const {
    plan(channel).sample(t0Ps, stepPs, out);
    const double offset = bench_.offsetMv[static_cast<std::size_t>(channel)];
    const double noise = bench_.noiseMv;
    if (noise > 0) {
        for (std::size_t n = 0; n < out.size(); ++n) {
            const std::int64_t t = t0Ps + std::llround(static_cast<double>(n) * stepPs);
            out[n] += offset + noise * noiseAt(bench_.seed, channel, t);
        }
    } else if (offset != 0) {
        for (double& v : out) {
            v += offset;
        }
    }
}

}  // namespace tunx::sim
