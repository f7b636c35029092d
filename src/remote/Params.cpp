#include "remote/Params.h"

#include <array>
#include <cctype>
#include <cmath>

#include "remote/Error.h"

namespace tunx::remote {

std::string mnemonicShortForm(std::string_view pattern) {
    std::string out;
    for (char c : pattern) {
        if (std::isupper(static_cast<unsigned char>(c)) != 0 ||
            std::isdigit(static_cast<unsigned char>(c)) != 0) {
            out += c;
        }
    }
    return out;
}

bool mnemonicMatches(std::string_view pattern, std::string_view word) {
    std::string longForm;
    for (char c : pattern) {
        longForm += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return word == mnemonicShortForm(pattern) || word == longForm;
}

namespace param {

namespace {

constexpr std::string_view kMin = "MINimum";
constexpr std::string_view kMax = "MAXimum";
constexpr std::string_view kDef = "DEFault";
constexpr std::string_view kOn = "ON";
constexpr std::string_view kOff = "OFF";
constexpr std::string_view kHertz = "HZ";
constexpr int kChannels = 2;

struct Prefix {
    std::string_view text;
    double scale;
};
// Longest first, so that "MA" is tried before "M".
constexpr std::array<Prefix, 8> kPrefixes{{{"MA", 1e6},
                                           {"K", 1e3},
                                           {"M", 1e-3},
                                           {"U", 1e-6},
                                           {"N", 1e-9},
                                           {"P", 1e-12},
                                           {"G", 1e9},
                                           {"", 1}}};

// The factor a written unit stands for, in `unit`.
double scaleOf(const std::string& suffix, std::string_view unit) {
    if (suffix.empty()) {
        return 1;
    }
    if (unit.empty()) {
        throw ScpiError(error::kSuffixNotAllowed, suffix);
    }
    if (suffix.size() >= unit.size() && suffix.ends_with(unit)) {
        const std::string_view prefix =
            std::string_view(suffix).substr(0, suffix.size() - unit.size());
        if (prefix == "M" && unit == kHertz) {
            return 1e6;  // MHz is megahertz, by the standard's rule
        }
        for (const Prefix& p : kPrefixes) {
            if (prefix == p.text) {
                return p.scale;
            }
        }
    }
    throw ScpiError(error::kInvalidSuffix, suffix);
}

}  // namespace

double number(const Param& p, std::string_view unit, const std::optional<Bounds>& bounds) {
    if (p.kind == Param::Kind::Character) {
        if (bounds) {
            if (mnemonicMatches(kMin, p.text)) {
                return bounds->min;
            }
            if (mnemonicMatches(kMax, p.text)) {
                return bounds->max;
            }
            if (bounds->def && mnemonicMatches(kDef, p.text)) {
                return *bounds->def;
            }
        }
        throw ScpiError(error::kIllegalValue, p.text);
    }
    if (p.kind != Param::Kind::Numeric) {
        throw ScpiError(error::kDataType, "a number is needed");
    }
    const double v = p.number * scaleOf(p.suffix, unit);
    if (!std::isfinite(v)) {
        throw ScpiError(error::kOutOfRange, p.text + p.suffix);
    }
    return v;
}

double numberWithin(const Param& p, std::string_view unit, const Bounds& bounds,
                    const std::string& what) {
    const double v = number(p, unit, bounds);
    if (v < bounds.min || v > bounds.max) {
        throw ScpiError(error::kOutOfRange, what);
    }
    return v;
}

bool boolean(const Param& p) {
    if (p.kind == Param::Kind::Numeric && p.suffix.empty()) {
        return std::round(p.number) != 0;
    }
    if (p.kind == Param::Kind::Character) {
        if (p.text == kOn) {
            return true;
        }
        if (p.text == kOff) {
            return false;
        }
    }
    throw ScpiError(error::kIllegalValue, "ON or OFF is needed");
}

std::size_t choice(const Param& p, std::span<const std::string_view> choices) {
    if (p.kind == Param::Kind::Character) {
        std::size_t i = 0;
        for (std::string_view c : choices) {
            if (mnemonicMatches(c, p.text)) {
                return i;
            }
            ++i;
        }
    }
    std::string names;
    for (std::string_view c : choices) {
        if (!names.empty()) {
            names += '|';
        }
        names += c;
    }
    throw ScpiError(error::kIllegalValue, "one of " + names + " is needed");
}

std::string text(const Param& p) {
    if (p.kind == Param::Kind::String || p.kind == Param::Kind::Character) {
        return p.text;
    }
    throw ScpiError(error::kDataType, "a string is needed");
}

int channel(const Param& p) {
    if (p.kind == Param::Kind::Character) {
        std::size_t digits = p.text.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(p.text[digits - 1])) != 0) {
            --digits;
        }
        const std::string_view word = std::string_view(p.text).substr(0, digits);
        if (digits < p.text.size() && p.text.size() - digits == 1 &&
            (word == "CH" || mnemonicMatches("CHANnel", word))) {
            const int n = p.text.back() - '0';
            if (n >= 1 && n <= kChannels) {
                return n;
            }
        }
    }
    throw ScpiError(error::kIllegalValue, "CH1 or CH2 is needed");
}

int channelSuffix(int n) {
    if (n < 1 || n > kChannels) {
        throw ScpiError(error::kHeaderSuffix, "channels are 1 and 2");
    }
    return n;
}

}  // namespace param
}  // namespace tunx::remote
