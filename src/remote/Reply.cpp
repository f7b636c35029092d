#include "remote/Reply.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>

namespace tunx::remote::reply {

namespace {

// Plain digits from a ten-thousandth up to this, an exponent outside.
constexpr double kPlainFrom = 1e-4;
constexpr double kPlainBelow = 1e15;

template <typename T>
std::string shortest(T value) {
    if (!std::isfinite(value)) {
        value = static_cast<T>(kNotKnown);
    }
    const double size = std::abs(static_cast<double>(value));
    const auto format = size == 0 || (size >= kPlainFrom && size < kPlainBelow)
                            ? std::chars_format::fixed
                            : std::chars_format::scientific;
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
    std::string text(buffer.data(), ec == std::errc{} ? end : buffer.data());
    for (char& c : text) {
        if (c == 'e') {
            c = 'E';
        }
    }
    return text;
}

}  // namespace

std::string number(double value) {
    return shortest(value);
}

std::string integer(long long value) {
    return std::to_string(value);
}

std::string flag(bool on) {
    return std::string(1, on ? '1' : '0');
}

std::string word(std::string_view text) {
    return std::string(text);
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string block(std::string_view bytes) {
    const std::string length = std::to_string(bytes.size());
    std::string out(1, '#');
    out += std::to_string(length.size());
    out += length;
    out.append(bytes);
    return out;
}

std::string float32LittleEndian(std::span<const double> values) {
    std::string out;
    out.reserve(values.size() * sizeof(float));
    for (double v : values) {
        const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(v));
        for (int shift = 0; shift < 32; shift += 8) {
            out += static_cast<char>((bits >> shift) & 0xFFU);
        }
    }
    return out;
}

std::string float32Text(std::span<const double> values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += shortest(static_cast<float>(values[i]));
    }
    return out;
}

}  // namespace tunx::remote::reply
