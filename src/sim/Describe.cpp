// The instrument's output put into words, from what the commands have programmed.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/VirtualInstrument.h"

namespace tunx::sim {

namespace {

constexpr double kReferenceHz = 20e6;  // the fixed reference oscillator
constexpr double kTwoTo32 = 4294967296.0;
constexpr int kRamEnable = 0x80;
constexpr int kFrequencyDestination = 0x02;
constexpr int kPhaseDestination = 0x40;
constexpr int kPulseLevelHigh = 127;

std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

int word16(int hi, int lo) {
    return hi * 256 + lo;
}

// Index of the last acknowledged command with one of the codes, or -1.
long lastIndexOf(const DeviceModel& m, std::initializer_list<int> codes) {
    for (long i = static_cast<long>(m.commands.size()) - 1; i >= 0; --i) {
        const int c = m.commands[static_cast<std::size_t>(i)][0];
        if (std::find(codes.begin(), codes.end(), c) != codes.end()) {
            return i;
        }
    }
    return -1;
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

// Classifies the shape held in RAM words [start, start + count).
std::string ramShape(const DeviceModel& m, int start, int count) {
    if (count <= 0) {
        return "arbitrary";
    }
    std::vector<int> levels;
    for (int i = 0; i < count; ++i) {
        levels.push_back(
            static_cast<int>(m.ram[static_cast<std::size_t>(start + i) % kRamWords] >> 24));
    }
    const bool twoLevel = std::all_of(levels.begin(), levels.end(),
                                      [](int v) { return v == 0 || v == kPulseLevelHigh; });
    if (twoLevel) {
        const auto high = std::count(levels.begin(), levels.end(), kPulseLevelHigh);
        return 2 * high == static_cast<long>(levels.size()) ? "square" : "pulse";
    }
    if (count >= 100) {
        std::vector<int> words;
        for (int i = 0; i < count; ++i) {
            words.push_back(static_cast<std::int16_t>(
                m.ram[static_cast<std::size_t>(start + i) % kRamWords] >> 16));
        }
        const auto peak = std::max_element(words.begin(), words.end()) - words.begin();
        const auto trough = std::min_element(words.begin(), words.end()) - words.begin();
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

}  // namespace

std::vector<std::string> VirtualInstrument::describe() const {
    const DeviceModel& m = model_;
    std::vector<std::string> out;
    const bool attenuated = m.switches.count({3, 15}) != 0 && m.switches.at({3, 15}) == 1;
    const int levelA = m.dacs.count(3) != 0 ? m.dacs.at(3) : 0;
    out.push_back(std::string("output ") + (m.outputClosed ? "off" : "on") + ", level DAC " +
                  std::to_string(levelA) + ", attenuator " + (attenuated ? "20 dB" : "off"));

    const double sysclk = systemClock(m);
    const double stepRate = sysclk / 4.0;
    const long ftwAt = lastIndexOf(m, {5, 6});
    const long cfr1At = lastIndexOf(m, {1});
    const bool square2 = m.switches.count({4, 6}) != 0 && m.switches.at({4, 6}) == 1;
    const bool ramMode = cfr1At > ftwAt && (m.cfr1[0] & kRamEnable) != 0;
    const double sineHz = m.ftw * sysclk / kTwoTo32;

    std::string waveform = "sine";
    std::string frequency = number(m.ftwUpdate == 16 ? 0.0 : sineHz, 3) + " Hz";
    if (square2) {
        waveform = "square (comparator)";
    } else if (ramMode && (m.cfr1[0] & kPhaseDestination) == 0 &&
               (m.cfr1[0] & kFrequencyDestination) != 0) {
        const int steps = m.ramCount;
        const double first =
            m.ram[static_cast<std::size_t>(m.ramStart) % kRamWords] * sysclk / kTwoTo32;
        const double last =
            m.ram[static_cast<std::size_t>(m.ramStart + std::max(steps - 1, 0)) % kRamWords] *
            sysclk / kTwoTo32;
        const int dwell = word16(m.multipliers[0], m.multipliers[1]);
        waveform = std::string("sine sweep") + (m.cfr1[0] & 0x08 ? " (single)" : "");
        frequency = number(first, 1) + " Hz to " + number(last, 1) + " Hz in " +
                    std::to_string(steps) + " steps of " + number(dwell / stepRate * 1e6, 2) +
                    " us";
    } else if (ramMode) {
        const int words = m.ramCount;
        const int k = std::max(1, word16(m.multipliers[0], m.multipliers[1]));
        waveform = ramShape(m, m.ramStart, words);
        if (words > 0 && stepRate > 0) {
            frequency = number(stepRate / (static_cast<double>(words) * k), 3) + " Hz";
        }
    } else if (cfr1At > ftwAt && m.startCount > 0) {
        const int kind = m.start[0];
        waveform = kind == 1   ? "sine, external AM"
                   : kind == 2 ? "sine, external FM"
                   : kind == 4 ? "sine, internal FM"
                               : "sine";
    }
    out.push_back("waveform " + waveform);
    out.push_back("frequency " + frequency);
    const double mvpp = m.asf * cal_.ampfullscale / 16383.0 / (attenuated ? 10.0 : 1.0);
    out.push_back("amplitude " + number(mvpp, 1) + " mVpp");
    if (m.offsetSet) {
        const int r = (m.offsetFine - m.offsetCoarse) / 20;
        const double code = m.offsetCoarse * 5000.0 / 1023.0 + r;
        out.push_back("offset " + number((3120.0 - code) * cal_.offgain - cal_.offzero, 0) + " mV");
    } else {
        out.push_back("offset not set");
    }
    out.push_back("clock " + number(sysclk, 0) + " Hz");
    out.push_back("triggers " + std::to_string(m.triggerCount));
    return out;
}

}  // namespace tunx::sim
