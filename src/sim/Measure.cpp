// The measuring side: scope records, streaming, the level detector and the counter.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "sim/VirtualInstrument.h"

namespace tunx::sim {

namespace {

constexpr std::uint8_t kDone = 65;  // "A": a record or a counter reading is ready
constexpr int kModeBase = 0x0F;
constexpr int kModeNormal = 3;
constexpr int kModeLong = 4;
constexpr int kModeRestartSweep = 16;
constexpr int kModeTwelveBit = 64;
constexpr int kModeStreaming = 128;
constexpr int kLongRecord = 2048;
constexpr int kRecord8 = 1250;  // sample pairs: the 2500 bytes of a triggered 8-bit read-out
constexpr int kRecord12 = 650;  // samples: the 1300 bytes of a 12-bit read-out
constexpr std::size_t kTriggerSearchLimit = std::size_t{1} << 19;  // samples
constexpr std::size_t kChunk = 4096;
constexpr double kDetectorReferenceMv = 3300;
constexpr double kDetectorLoad = 0.5;  // a matched 50-ohm input sees half the open voltage
constexpr double kCountableVpp = 20;   // mV peak to peak the counter needs
constexpr std::int64_t kCounterIntervalPs = kPsPerMs;
constexpr std::pair<int, int> kDetectorLine{7, 2};
constexpr std::pair<int, int> kClockLine{4, 11};
constexpr std::pair<int, int> kCounterPrescalerLine{4, 8};
constexpr std::pair<int, int> kCounterDirectLine{4, 4};

std::int64_t psOf(double seconds) {
    return std::llround(seconds * kPsPerSecond);
}

}  // namespace

bool VirtualInstrument::detectorRouted() const {
    const auto it = model_.switches.find(kDetectorLine);
    return it != model_.switches.end() && it->second == 1;
}

// The mode byte's + 64 chooses the converter and the record format; switch line 4.0, which
// the program sets to match, is only reported.
void VirtualInstrument::arm(const std::array<int, 6>& c) {
    ScopeRecord r;
    r.armed = true;
    r.mode = c[5];
    r.divider = (std::uint32_t(c[1]) << 24) | (std::uint32_t(c[2]) << 16) |
                (std::uint32_t(c[3]) << 8) | std::uint32_t(c[4]);
    r.slow = c[0] == 42;
    r.twelveBit = (r.mode & kModeTwelveBit) != 0;
    r.streaming = (r.mode & kModeStreaming) != 0;
    const auto clock = model_.switches.find(kClockLine);
    r.rate = sampleRate(r.twelveBit, r.slow, r.divider,
                        clock != model_.switches.end() && clock->second == 1);
    r.samples = (r.mode & kModeBase) == kModeLong ? kLongRecord
                : r.twelveBit                     ? kRecord12
                                                  : kRecord8;
    r.waitsForTrigger =
        !r.streaming && trigger_.code != 0 && (r.twelveBit || (r.mode & kModeBase) == kModeNormal);
    r.armPs = time_.nowPs();
    r.startPs = r.armPs;
    r.started = !r.waitsForTrigger;
    r.statusOwed = !r.streaming;
    record_ = r;
    last_ = Acquisition::Scope;
    counter_.owed = false;
    if ((r.mode & kModeRestartSweep) != 0) {
        // The fast sweep: the generator's sweep starts again with the record.
        generatorChanged();
        model_.playStartPs = r.armPs;
        model_.playing = true;
    }
}

// Codes of the converter as the record takes them from one channel.
void VirtualInstrument::sourceCodes(int channel, bool twelveBit, std::int64_t t0Ps, double stepPs,
                                    std::span<double> out) const {
    if (twelveBit && channel == 0 && detectorRouted()) {
        for (std::size_t n = 0; n < out.size(); ++n) {
            out[n] = detectorCodeAt(t0Ps + std::llround(static_cast<double>(n) * stepPs));
        }
        return;
    }
    if (!twelveBit && channel == 0 && detectorRouted()) {
        std::fill(out.begin(), out.end(), 0.0);  // CH1 IN is switched to the detector
    } else {
        inputVolts(channel, t0Ps, stepPs, out);
    }
    const ChannelScale s = channelScale(model_, cal_, channel);
    for (double& v : out) {
        v = twelveBit ? s.code12(v, cal_.adcref) : s.code8(v);
    }
}

// When the record's status is due, searching for the trigger up to `limitPs`; nothing while
// no trigger has come.
std::optional<std::int64_t> VirtualInstrument::recordReadyPs(std::int64_t limitPs) {
    ScopeRecord& r = record_;
    const double stepPs = kPsPerSecond / r.rate;
    if (!r.started) {
        const int channel = trigger_.channel();
        const double level = trigger_.level;
        const bool rising = trigger_.rising();
        std::vector<double>& codes = volts_[static_cast<std::size_t>(1 - channel)];
        codes.resize(kChunk + 1);
        std::size_t searched = 0;
        double previous = 0;
        while (searched < kTriggerSearchLimit) {
            const std::int64_t t0 = r.armPs + std::llround(static_cast<double>(searched) * stepPs);
            if (t0 > limitPs) {
                break;
            }
            sourceCodes(channel, r.twelveBit, t0, stepPs, {codes.data(), kChunk});
            for (std::size_t n = 0; n < kChunk; ++n) {
                const double v = codes[n];
                const bool crossed =
                    (searched + n) > 0 &&
                    (rising ? previous < level && v >= level : previous > level && v <= level);
                previous = v;
                if (crossed) {
                    r.started = true;
                    r.startPs = t0 + std::llround(static_cast<double>(n) * stepPs);
                    break;
                }
            }
            if (r.started) {
                break;
            }
            searched += kChunk;
        }
        if (!r.started) {
            return std::nullopt;
        }
    }
    return r.startPs + psOf(r.samples / r.rate);
}

// Puts the status of a finished record or counter reading in the reply, if it is due by
// `limitPs`, letting the time run on to it.
void VirtualInstrument::deliverDueReplies(std::int64_t limitPs) {
    std::optional<std::int64_t> due;
    if (record_.statusOwed) {
        due = recordReadyPs(limitPs);
    } else if (counter_.owed) {
        due = counter_.startPs + counter_.samples * kCounterIntervalPs;
    }
    if (!due || *due > limitPs) {
        return;
    }
    time_.waitUntil(*due);
    record_.statusOwed = false;
    counter_.owed = false;
    pending_.push(kDone);
    pending_.push(kDone);
}

void VirtualInstrument::appendSamples(std::int64_t t0Ps, std::size_t samples, std::size_t bytes) {
    const ScopeRecord& r = record_;
    const double stepPs = kPsPerSecond / r.rate;
    for (auto& v : volts_) {
        if (v.size() < samples) {
            v.resize(samples);
        }
    }
    std::size_t sent = 0;
    const auto put = [&](int code) {
        if (sent < bytes) {
            pending_.push(static_cast<std::uint8_t>(code));
            ++sent;
        }
    };
    if (r.twelveBit) {
        std::span<double> codes{volts_[0].data(), samples};
        sourceCodes(trigger_.source == 3 ? 1 : 0, true, t0Ps, stepPs, codes);
        for (double c : codes) {
            const int v = static_cast<int>(c);
            put(v >> 8);
            put(v & 0xFF);
        }
        return;
    }
    std::span<double> ch1{volts_[0].data(), samples};
    std::span<double> ch2{volts_[1].data(), samples};
    sourceCodes(0, false, t0Ps, stepPs, ch1);
    sourceCodes(1, false, t0Ps, stepPs, ch2);
    for (std::size_t n = 0; n < samples; ++n) {
        put(static_cast<int>(ch2[n]));
        put(static_cast<int>(ch1[n]));
    }
}

void VirtualInstrument::sendRecord(int bytes) {
    if (!record_.armed || bytes <= 0) {
        for (int i = 0; i < bytes; ++i) {
            pending_.push(0);
        }
        return;
    }
    const auto n = static_cast<std::size_t>(bytes);
    appendSamples(record_.startPs, (n + 1) / 2, n);
}

// Samples that have come since the last read (at least one with the virtual clock).
void VirtualInstrument::stream(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned) {
    ScopeRecord& r = record_;
    const std::int64_t wanted = static_cast<std::int64_t>(buffer.size() / 2);
    if (wanted == 0) {
        return;
    }
    const double stepPs = kPsPerSecond / r.rate;
    const auto instant = [&](std::int64_t n) {
        return r.startPs + std::llround(static_cast<double>(n) * stepPs);
    };
    std::int64_t now = time_.nowPs();
    if (instant(r.streamed) > now) {
        const std::int64_t next = instant(r.streamed);
        if (next > now + std::int64_t{readTimeout_} * kPsPerMs) {
            return;
        }
        time_.waitUntil(next);
        now = std::max(time_.nowPs(), next);
    }
    const std::int64_t available =
        static_cast<std::int64_t>(static_cast<double>(now - r.startPs) / stepPs) + 1 - r.streamed;
    const std::int64_t count = std::clamp<std::int64_t>(available, 1, wanted);
    appendSamples(instant(r.streamed), static_cast<std::size_t>(count),
                  static_cast<std::size_t>(count * 2));
    r.streamed += count;
    bytesReturned = static_cast<std::uint32_t>(pending_.pop(buffer));
}

std::uint16_t VirtualInstrument::detectorCodeAt(std::int64_t tPs) const {
    const double signal = kDetectorLoad * plan(0).acRmsAt(tPs);
    const double rms = std::hypot(signal, bench_.noiseMv);
    if (rms <= 0) {
        return 0;
    }
    const double dbv = 20.0 * std::log10(rms / 1000.0);
    const double mv = (dbv - cal_.rfdetintercept) * cal_.rfdetslope - cal_.rfdetoffset;
    return codeWithin<std::uint16_t>(mv * 4096.0 / kDetectorReferenceMv, 4095);
}

// 1 on the direct range; 16 or 128 as the two code-40 commands set the prescaler; 0 when they
// set nothing the prescaler knows.
int VirtualInstrument::prescaler() const {
    const auto line = [&](std::pair<int, int> l) {
        const auto it = model_.switches.find(l);
        return it == model_.switches.end() ? -1 : it->second;
    };
    if (line(kCounterPrescalerLine) != 1 || line(kCounterDirectLine) == 1) {
        return 1;
    }
    const auto& a = prescaler_.first;
    const auto& b = prescaler_.second;
    if (a[0] == 3 && a[1] == 128 && a[2] == 40 && b[1] == 0 && b[2] == 129) {
        return 16;
    }
    if (a[0] == 3 && a[1] == 0 && a[2] == 40 && b[1] == 2 && b[2] == 3) {
        return 128;
    }
    return 0;
}

bool VirtualInstrument::counterHasInput() const {
    return prescaler() > 0 &&
           2.0 * std::numbers::sqrt2 * plan(1).acRmsAt(time_.nowPs()) >= kCountableVpp;
}

// The free-running 16-bit counter, sampled every millisecond from the start of the reading:
// input periods divided by the prescaler.
void VirtualInstrument::sendCounterSamples(int bytes) {
    const SignalPlan p = plan(1);
    const int divide = prescaler();
    const bool counts = counterHasInput();
    for (int i = 0; i < bytes; i += 2) {
        const std::int64_t t = counter_.startPs + (i / 2) * kCounterIntervalPs;
        const long double c = counts ? std::fmod(std::floor(p.cycles(t) / divide), 65536.0L) : 0;
        const auto value =
            static_cast<std::uint16_t>(std::isfinite(c) ? static_cast<std::int64_t>(c) : 0);
        pending_.push(static_cast<std::uint8_t>(value >> 8));
        if (i + 1 < bytes) {
            pending_.push(static_cast<std::uint8_t>(value & 0xFF));
        }
    }
}

}  // namespace tunx::sim
