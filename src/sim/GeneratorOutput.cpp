#include "sim/GeneratorOutput.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tunx::sim {

namespace {

constexpr double kReferenceHz = 20e6;  // the fixed reference oscillator
constexpr double kTwoTo32 = 4294967296.0;
constexpr int kRamEnable = 0x80;
constexpr int kFrequencyDestination = 0x02;
constexpr int kPolarDestination = 0x40;  // RAM words are phases, their cosine the level
constexpr int kSecondProfile = 0x20;
constexpr int kSingleShot = 0x08;
constexpr int kPulseLevelHigh = 127;
constexpr double kAsfFullScale = 16383.0;
constexpr int kLevelDacChannel = 3;
constexpr int kLevelDacComplement = 7;
constexpr int kLevelDacSpan = 2046;
constexpr int kLevelAtZero = 1500;  // comparator level DAC at 0 mVpp
constexpr double kLevelStepMv = 1000.0;

int word16(int hi, int lo) {
    return hi * 256 + lo;
}

bool switchOn(const DeviceModel& m, int group, int line) {
    const auto it = m.switches.find({group, line});
    return it != m.switches.end() && it->second == 1;
}

// The DDS system clock: reference (fixed or programmed) times the PLL multiplier.
double systemClock(const DeviceModel& m) {
    // Clock setting bytes 3-4 = 1, 0 select the programmable reference of S x 5000 Hz;
    // anything else keeps the fixed oscillator.
    double reference = kReferenceHz;
    if (m.clockSettingSet && m.clockSetting[2] == 1 && m.clockSetting[3] == 0) {
        reference = word16(m.clockSetting[0], m.clockSetting[1]) * 5000.0;
    }
    const int multiplierByte = m.cfr2[2];
    if (multiplierByte >= 12) {
        return reference * ((multiplierByte - 4) / 8);
    }
    return reference;
}

struct Block {
    int first;       // lowest RAM address
    int count;       // words
    int multiplier;  // steps per word
};

// The RAM blocks that play, in order: the profiles when they were set after the last RAM
// write (profile 2 only when enabled), otherwise the last block written.
std::vector<Block> playedBlocks(const DeviceModel& m) {
    const auto multiplier = [&](int i) {
        return std::max(1, word16(m.multipliers[i], m.multipliers[i + 1]));
    };
    std::vector<Block> blocks;
    if (m.profile1At > m.ramWriteAt) {
        // Profile addresses count from 1.
        blocks.push_back({word16(m.profile1[2], m.profile1[3]) - 1,
                          word16(m.profile1[0], m.profile1[1]), multiplier(0)});
        if ((m.cfr1[0] & kSecondProfile) != 0 && m.profile2At > m.ramWriteAt) {
            blocks.push_back({word16(m.profile2[2], m.profile2[3]) - 1,
                              word16(m.profile2[0], m.profile2[1]), multiplier(2)});
        }
    } else {
        blocks.push_back({m.ramStart, m.ramCount, multiplier(0)});
    }
    return blocks;
}

std::uint32_t ramWord(const DeviceModel& m, int address) {
    const auto n = static_cast<int>(kRamWords);
    return m.ram[static_cast<std::size_t>(((address % n) + n) % n)];
}

// The level a polar RAM word gives: the cosine of its phase (the top 16 bits, a full turn).
double levelOf(std::uint32_t word) {
    const double turns = static_cast<double>(word >> 16) / 65536.0;
    return std::cos(2.0 * std::numbers::pi * turns);
}

// Names the shape of played polar words.
std::string shapeOf(const std::vector<std::uint32_t>& words) {
    if (words.empty()) {
        return "arbitrary";
    }
    std::vector<int> levels;
    for (std::uint32_t w : words) {
        levels.push_back(static_cast<int>(w >> 24));
    }
    const bool twoLevel = std::all_of(levels.begin(), levels.end(),
                                      [](int v) { return v == 0 || v == kPulseLevelHigh; });
    if (twoLevel) {
        const auto high = std::count(levels.begin(), levels.end(), kPulseLevelHigh);
        return 2 * high == static_cast<long>(levels.size()) ? "square" : "pulse";
    }
    const auto count = static_cast<long>(words.size());
    if (count >= 100) {
        std::vector<int> phases;
        for (std::uint32_t w : words) {
            phases.push_back(static_cast<std::int16_t>(w >> 16));
        }
        const auto peak = std::max_element(phases.begin(), phases.end()) - phases.begin();
        const auto trough = std::min_element(phases.begin(), phases.end()) - phases.begin();
        const bool monotonic =
            (peak == 0 || peak == count - 1) && (trough == 0 || trough == count - 1);
        if (monotonic) {
            return "ramp";
        }
        if (std::abs(peak - count / 2) <= 2 || std::abs(trough - count / 2) <= 2) {
            return "triangle";
        }
    }
    return "arbitrary";
}

// The comparator's peak-to-peak level from the level DAC, by the level table the instrument
// was calibrated with: 1500 at 0 mVpp, then the five table levels at 1000 mVpp steps.
double comparatorVpp(int sgaten, const SimCalibration& cal) {
    std::array<double, 6> level{kLevelAtZero};
    std::copy(cal.sq2level.begin(), cal.sq2level.end(), level.begin() + 1);
    if (sgaten >= level[0]) {
        return 0.0;
    }
    for (std::size_t i = 1; i < level.size(); ++i) {
        if (sgaten >= level[i]) {
            const double x = (level[i - 1] - sgaten) / (level[i - 1] - level[i]);
            return (static_cast<double>(i - 1) + x) * kLevelStepMv;
        }
    }
    return (level.size() - 1) * kLevelStepMv;
}

struct Boost {
    double from, to, factor;
};
constexpr Boost kBoost[] = {{0, 3900, 1.0},     {3900, 4200, 1.01},  {4200, 4400, 1.015},
                            {4400, 4600, 1.02}, {4600, 4800, 1.028}, {4800, 1e9, 1.035}};

double flatness(double hz, const SimCalibration& cal) {
    if (hz <= cal.flatHz.front() || hz > cal.flatHz.back()) {
        return cal.flat.front();
    }
    for (std::size_t i = 1; i < cal.flatHz.size(); ++i) {
        if (hz <= cal.flatHz[i]) {
            const double x = (hz - cal.flatHz[i - 1]) / (cal.flatHz[i] - cal.flatHz[i - 1]);
            return cal.flat[i - 1] + x * (cal.flat[i] - cal.flat[i - 1]);
        }
    }
    return cal.flat.front();
}

}  // namespace

double sineVpp(double linearVpp, double hz, const SimCalibration& cal) {
    const double v = linearVpp / flatness(hz, cal);
    for (const Boost& b : kBoost) {
        if (v <= b.to * b.factor) {
            return std::max(b.from, v / b.factor);
        }
    }
    return v;
}

double GeneratorOutput::periodSeconds() const {
    double t = 0;
    for (const PlayedStep& s : steps) {
        t += s.seconds;
    }
    return t;
}

GeneratorOutput generatorOutput(const DeviceModel& m, const SimCalibration& cal) {
    GeneratorOutput out;
    out.on = !m.outputClosed;
    out.attenuated = switchOn(m, 3, 15);
    const auto level = m.dacs.find(kLevelDacChannel);
    out.levelDac = level != m.dacs.end() ? level->second : 0;
    out.sysclk = systemClock(m);
    out.offsetSet = m.offsetSet;
    if (m.offsetSet) {
        const int r = (m.offsetFine - m.offsetCoarse) / 20;
        const double code = m.offsetCoarse * 5000.0 / 1023.0 + r;
        out.offsetMv = (3120.0 - code) * cal.offgain - cal.offzero;
    }
    out.linearVpp = m.asf * cal.ampfullscale / kAsfFullScale / (out.attenuated ? 10.0 : 1.0);
    out.hz = m.ftwUpdate == 16 ? 0.0 : m.ftw * out.sysclk / kTwoTo32;
    const double attenuation = out.attenuated ? 10.0 : 1.0;
    out.vpp = sineVpp(out.linearVpp * attenuation, out.hz, cal) / attenuation;
    out.playStartPs = m.playStartPs;
    out.playing = m.playing;

    const double stepRate = out.sysclk / 4.0;
    const bool ramMode = m.cfr1At > m.tuningAt && (m.cfr1[0] & kRamEnable) != 0;
    out.words = "sine";
    if (switchOn(m, 4, 6)) {
        out.kind = Waveform::Comparator;
        out.words = "square (comparator)";
        const auto complement = m.dacs.find(kLevelDacComplement);
        const int sgaten = complement != m.dacs.end() ? kLevelDacSpan - 2 * complement->second : 0;
        out.vpp = comparatorVpp(sgaten, cal) / (out.attenuated ? 10.0 : 1.0);
    } else if (ramMode && stepRate > 0) {
        const bool frequencies =
            (m.cfr1[0] & kPolarDestination) == 0 && (m.cfr1[0] & kFrequencyDestination) != 0;
        out.single = (m.cfr1[0] & kSingleShot) != 0;
        std::vector<std::uint32_t> words;
        for (const Block& b : playedBlocks(m)) {
            for (int i = 0; i < b.count; ++i) {
                const std::uint32_t w = ramWord(m, b.first + i);
                words.push_back(w);
                out.steps.push_back({frequencies ? w * out.sysclk / kTwoTo32 : levelOf(w),
                                     b.multiplier / stepRate});
            }
        }
        if (frequencies) {
            out.kind = Waveform::Sweep;
            out.vpp = out.linearVpp;  // each step loses its own gain
            out.words = std::string("sine sweep") + (out.single ? " (single)" : "");
        } else {
            out.kind = Waveform::Pattern;
            out.vpp = out.linearVpp;
            out.words = shapeOf(words);
            const double period = out.periodSeconds();
            out.hz = period > 0 ? 1.0 / period : 0.0;
        }
    } else if (m.cfr1At > m.tuningAt && m.startCount > 0) {
        const int kind = m.start[0];
        out.words = kind == 1   ? "sine, external AM"
                    : kind == 2 ? "sine, external FM"
                    : kind == 4 ? "sine, internal FM"
                                : "sine";
    }
    return out;
}

}  // namespace tunx::sim
