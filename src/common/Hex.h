#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tunx {

// Hexadecimal text to number. The caller's text is replaced by its upper-case form;
// characters outside 0-9 and A-F add nothing but still take their place.
double hextodec(std::string& text);

// Upper-case hexadecimal digits of a 32-bit value, two's complement for negative values
// (the Hex function).
std::string hexText(std::int32_t value);

// A 32-bit value split into four bytes, most significant first, each as decimal text:
// eight upper-case hex digits, each pair converted back with hextodec.
std::array<std::string, 4> ltotx(std::int32_t value);

}  // namespace tunx
