#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tunx::remote {

// What a query answers for a value that is not known (the standard's "not a number").
inline constexpr double kNotKnown = 9.91e37;

namespace reply {

// A number as the shortest text that reads back as the same double: plain digits from a
// ten-thousandth to 10^15, an upper-case exponent outside ("1000", "0.015625", "1.5625E-05",
// "9.91E+37"). Infinities and NaN answer kNotKnown.
std::string number(double value);
// A whole number.
std::string integer(long long value);
// 1 or 0.
std::string flag(bool on);
// Character data or any other text as it stands.
std::string word(std::string_view text);
// A string in double quotes, a quote inside written twice; line breaks become spaces, so that
// the answer stays on one line.
std::string quoted(std::string_view text);
// A definite-length block: "#", the number of length digits, the length, the bytes.
std::string block(std::string_view bytes);
// Samples as little-endian 32-bit floats.
std::string float32LittleEndian(std::span<const double> values);
// Samples as numbers separated by commas, each the shortest text of its 32-bit float.
std::string float32Text(std::span<const double> values);

}  // namespace reply
}  // namespace tunx::remote
