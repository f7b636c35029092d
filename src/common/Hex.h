#pragma once

#include <cstdint>
#include <string>

namespace tunx {

// Hexadecimal text to number. The caller's text is replaced by its upper-case form;
// characters outside 0-9 and A-F add nothing but still take their place.
double hextodec(std::string& text);

// Upper-case hexadecimal digits of a 32-bit value, two's complement for negative values
// (the Hex function).
std::string hexText(std::int32_t value);

}  // namespace tunx
