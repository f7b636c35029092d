#include "common/Numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "common/RuntimeError.h"

namespace tunx {

double roundHalfEven(double x) {
    if (!std::isfinite(x)) {
        return x;
    }
    const double down = std::floor(x);
    const double diff = x - down;
    if (diff < 0.5) {
        return down;
    }
    if (diff > 0.5) {
        return down + 1.0;
    }
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

namespace {

template <typename Int>
Int checkedRound(double x) {
    const double r = roundHalfEven(x);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max())) {
        throw RuntimeError(kOverflow);
    }
    return static_cast<Int>(r);
}

}  // namespace

std::int16_t CInt(double x) {
    return checkedRound<std::int16_t>(x);
}
std::int32_t CLng(double x) {
    return checkedRound<std::int32_t>(x);
}
std::uint8_t CByte(double x) {
    return checkedRound<std::uint8_t>(x);
}

float CSng(double x) {
    if (std::isfinite(x) && std::fabs(x) > static_cast<double>(std::numeric_limits<float>::max())) {
        throw RuntimeError(kOverflow);
    }
    return static_cast<float>(x);
}

double divide(double numerator, double denominator) {
    if (denominator == 0.0) {
        throw RuntimeError(kDivisionByZero);
    }
    const double q = numerator / denominator;
    if (!std::isfinite(q)) {
        throw RuntimeError(kOverflow);
    }
    return q;
}

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Shape check of a decimal number: sign, digits, optional point and fraction, optional exponent.
bool hasNumberShape(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    return i == s.size();
}

std::string trimBlanks(std::string_view text) {
    const char* blanks = " \t";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    const std::string s = trimBlanks(text);
    if (s.empty() || !hasNumberShape(s)) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool IsNumeric(std::string_view text) {
    return parseNumber(text).has_value();
}

double CDbl(std::string_view text) {
    const std::string s = trimBlanks(text);
    if (s.empty() || !hasNumberShape(s)) {
        throw RuntimeError(kTypeMismatch);
    }
    const auto value = parseNumber(s);
    if (!value) {
        throw RuntimeError(kOverflow);
    }
    return *value;
}

std::string formatFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        throw RuntimeError(kOverflow);
    }
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string out = buf;
    if (out.size() > 1 && out[0] == '-' && out.find_first_not_of("-0.") == std::string::npos) {
        out.erase(0, 1);  // no "-0.00"
    }
    return out;
}

std::string formatGeneral(double value) {
    if (!std::isfinite(value)) {
        throw RuntimeError(kOverflow);
    }
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, value);
        if (std::strtod(buf, nullptr) == value) {
            break;
        }
    }
    std::string out = buf;
    if (out.find('e') != std::string::npos) {
        // Plain digits for ordinary magnitudes, as a field would show them.
        const double mag = std::fabs(value);
        if (mag >= 1e-5 && mag < 1e15) {
            std::snprintf(buf, sizeof buf, "%.17f", value);
            out = buf;
            while (!out.empty() && out.back() == '0') {
                out.pop_back();
            }
            if (!out.empty() && out.back() == '.') {
                out.pop_back();
            }
        }
    }
    return out;
}

std::string formatGrouped(double value, int decimals, char group, char point) {
    std::string fixed = formatFixed(value, decimals);
    std::string sign;
    if (!fixed.empty() && fixed[0] == '-') {
        sign = "-";
        fixed.erase(0, 1);
    }
    const auto dot = fixed.find('.');
    std::string whole = fixed.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : fixed.substr(dot + 1);
    std::string grouped;
    const int n = static_cast<int>(whole.size());
    for (int i = 0; i < n; ++i) {
        grouped += whole[static_cast<std::size_t>(i)];
        const int left = n - 1 - i;
        if (left > 0 && left % 3 == 0 && group != '\0') {
            grouped += group;
        }
    }
    return sign + grouped + (frac.empty() ? "" : std::string(1, point) + frac);
}

}  // namespace tunx
