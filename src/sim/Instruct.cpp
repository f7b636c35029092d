// The `sim` instructions: the bench, fault injection and the devices the transport reports.
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "sim/VirtualInstrument.h"

namespace tunx::sim {

namespace {

using Words = std::span<const std::string>;

// What a bench can be set to: values beyond (or not numbers at all) are refused, so that no
// level or response of the bench is infinite or undefined.
struct Range {
    double low, high;
    bool holds(std::optional<double> v) const { return v && *v >= low && *v <= high; }
};
constexpr Range kBenchHz{1e-3, 10e9};  // signals and the device under test's frequencies
constexpr Range kQuality{1e-3, 1e6};
constexpr Range kAttenuationDb{0, 300};
constexpr Range kVolts{0, 1000};  // peak to peak
constexpr Range kOffsetVolts{-1000, 1000};
constexpr Range kNoiseMv{0, 1e6};
constexpr Range kOffsetMv{-1e6, 1e6};
constexpr Range kStatus{0, 2147483647};

// A number, optionally followed by k (1e3), M (1e6), G (1e9) or m (1e-3): "1.5M", "500m".
std::optional<double> number(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    double scale = 1;
    std::string digits = text;
    switch (text.back()) {
        case 'k':
            scale = 1e3;
            break;
        case 'M':
            scale = 1e6;
            break;
        case 'G':
            scale = 1e9;
            break;
        case 'm':
            scale = 1e-3;
            break;
        default:
            break;
    }
    if (scale != 1) {
        digits.pop_back();
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double v = std::strtod(digits.c_str(), &end);
    if (end != digits.c_str() + digits.size() || !std::isfinite(v * scale)) {
        return std::nullopt;
    }
    return v * scale;
}

std::optional<int> whole(const std::string& text) {
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < 0) {
        return std::nullopt;
    }
    return v;
}

std::optional<int> channelOf(const std::string& text) {
    if (text == "CH1") {
        return 0;
    }
    if (text == "CH2") {
        return 1;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> VirtualInstrument::instruct(Words w) {
    if (w.empty()) {
        return "sim needs an instruction";
    }
    const std::string& what = w[0];
    const auto args = w.size() - 1;

    if (what == "devices") {
        setDevices({w.begin() + 1, w.end()});
        return std::nullopt;
    }
    if (what == "nak" || what == "mute" || what == "write-error" || what == "cut") {
        const bool hasAfter = what != "cut" && args == 3 && w[2] == "after";
        const auto n = args >= 1 ? whole(w[1]) : std::nullopt;
        const auto after = hasAfter ? whole(w[3]) : std::optional<int>{0};
        if (!n || !after || (args != 1 && !hasAfter)) {
            return what == "cut" ? "expected: sim cut N" : "expected: sim " + what + " N [after K]";
        }
        if (what == "nak") {
            nakNext(*n, *after);
        } else if (what == "mute") {
            muteNext(*n, *after);
        } else if (what == "write-error") {
            failWritesNext(*n, *after);
        } else {
            cutNextRecord(*n);
        }
        return std::nullopt;
    }
    if (what == "fail") {
        const auto status = args == 2 ? number(w[2]) : std::nullopt;
        if (!kStatus.holds(status) || *status != std::floor(*status) ||
            (w[1] != "devices" && w[1] != "open" && w[1] != "baud")) {
            return "expected: sim fail devices|open|baud STATUS";
        }
        const int s = static_cast<int>(*status);
        (w[1] == "devices" ? deviceCountStatus_ : w[1] == "open" ? openStatus_ : baudStatus_) = s;
        return std::nullopt;
    }

    Bench b = bench_;
    if (what == "wire") {
        const auto ch = args == 2 ? channelOf(w[1]) : std::nullopt;
        const std::string to = args == 2 ? w[2] : "";
        if (!ch || (to != "generator" && to != "dut" && to != "off")) {
            return "expected: sim wire CH1|CH2 generator|dut|off";
        }
        b.wire[static_cast<std::size_t>(*ch)] = to == "generator" ? Wire::Generator
                                                : to == "dut"     ? Wire::Dut
                                                                  : Wire::Off;
    } else if (what == "dut") {
        const std::string kind = args >= 1 ? w[1] : "";
        const auto fArg = args >= 2 ? number(w[2]) : std::nullopt;
        const auto qArg = args == 3 ? number(w[3]) : std::nullopt;
        const double f = fArg.value_or(0.0);
        const double q = qArg.value_or(0.0);
        Dut d;
        if (kind == "none" && args == 1) {
            d.kind = Dut::Kind::None;
        } else if ((kind == "lowpass" || kind == "highpass") && args == 2 && kBenchHz.holds(fArg)) {
            d.kind = kind == "lowpass" ? Dut::Kind::Lowpass : Dut::Kind::Highpass;
            d.hz = f;
        } else if (kind == "bandpass" && args == 3 && kBenchHz.holds(fArg) &&
                   kQuality.holds(qArg)) {
            d.kind = Dut::Kind::Bandpass;
            d.hz = f;
            d.q = q;
        } else if (kind == "attenuate" && args == 2 && kAttenuationDb.holds(fArg)) {
            d.kind = Dut::Kind::Attenuate;
            d.db = f;
        } else {
            return "expected: sim dut none|lowpass F|highpass F|bandpass F Q|attenuate DB "
                   "(F in Hz from 1m to 10G, Q from 1m to 1M, DB from 0 to 300)";
        }
        b.dut = d;
    } else if (what == "signal") {
        const auto ch = args >= 4 ? channelOf(w[1]) : std::nullopt;
        const std::string shape = args >= 4 ? w[2] : "";
        const auto f = args >= 4 ? number(w[3]) : std::nullopt;
        const auto vpp = args >= 4 ? number(w[4]) : std::nullopt;
        const auto offset = args == 5 ? number(w[5]) : std::optional<double>{0.0};
        if (!ch || (shape != "sine" && shape != "square") || !kBenchHz.holds(f) ||
            !kVolts.holds(vpp) || !kOffsetVolts.holds(offset) || args > 5) {
            return "expected: sim signal CH1|CH2 sine|square F VPP [OFFSET] (F in Hz from 1m to "
                   "10G, VPP from 0 to 1000 volts, OFFSET from -1000 to 1000 volts)";
        }
        const auto c = static_cast<std::size_t>(*ch);
        b.wire[c] = Wire::External;
        b.external[c] = {shape == "square", *f, *vpp * 1000.0, *offset * 1000.0};
    } else if (what == "noise") {
        const auto mv = args == 1 ? number(w[1]) : std::nullopt;
        if (!kNoiseMv.holds(mv)) {
            return "expected: sim noise MV (millivolts rms, from 0 to 1000000)";
        }
        b.noiseMv = *mv;
    } else if (what == "seed") {
        const auto n = args == 1 ? whole(w[1]) : std::nullopt;
        if (!n) {
            return "expected: sim seed N (a whole number, 0 or more)";
        }
        b.seed = static_cast<std::uint64_t>(*n);
    } else if (what == "offset") {
        const auto ch = args == 2 ? channelOf(w[1]) : std::nullopt;
        const auto mv = args == 2 ? number(w[2]) : std::nullopt;
        if (!ch || !kOffsetMv.holds(mv)) {
            return "expected: sim offset CH1|CH2 MV (from -1000000 to 1000000)";
        }
        b.offsetMv[static_cast<std::size_t>(*ch)] = *mv;
    } else {
        return "unknown sim instruction '" + what + "'";
    }
    bench_ = b;
    cache_.stale = true;
    return std::nullopt;
}

}  // namespace tunx::sim
