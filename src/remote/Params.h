#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "remote/Parser.h"

namespace tunx::remote {

// Whether character data or a header word (upper case) is one of the two forms of a mnemonic
// written as the standard writes it ("SINusoid": SIN or SINUSOID).
bool mnemonicMatches(std::string_view pattern, std::string_view word);
// The short form of a mnemonic written that way: its capitals and digits ("SINusoid": SIN).
std::string mnemonicShortForm(std::string_view pattern);

namespace param {

// What MINimum, MAXimum and DEFault stand for, where a command takes them.
struct Bounds {
    double min = 0;
    double max = 0;
    std::optional<double> def;
};

// A number in `unit` ("HZ", "V", "S"; "" for a plain number). A unit written after it may
// carry a prefix (K, M for milli, MA for mega, U, N, P, G; "MHZ" is megahertz); another unit is
// "Invalid suffix". MIN, MAX and DEF stand for the bounds, where there are any.
double number(const Param& p, std::string_view unit, const std::optional<Bounds>& bounds = {});
// The same, refused as "Data out of range" outside the bounds.
double numberWithin(const Param& p, std::string_view unit, const Bounds& bounds,
                    const std::string& what);
// ON, OFF, or a number (0 is off).
bool boolean(const Param& p);
// The index of the mnemonic among `choices` that the character data names; "Illegal
// parameter value" for any other.
std::size_t choice(const Param& p, std::span<const std::string_view> choices);
// A string, or character data as written.
std::string text(const Param& p);
// A channel: CH1, CH2 (also CHAN1, CHANNEL2); "Illegal parameter value" for another.
int channel(const Param& p);
// A header's channel number: 1 or 2, else "Header suffix out of range".
int channelSuffix(int n);

}  // namespace param
}  // namespace tunx::remote
