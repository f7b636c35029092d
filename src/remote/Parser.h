#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "remote/Error.h"

namespace tunx::remote {

// One node of a command header: its mnemonic in upper case ("FREQ", "CHANNEL") and the number
// written right after it, if any ("CHAN2" gives "CHAN" and 2).
struct Node {
    std::string mnemonic;
    std::optional<int> suffix;
};

// A command header, resolved against the path of the commands before it in the same line.
struct Header {
    bool common = false;      // "*IDN?": one node, without the star
    std::vector<Node> nodes;  // from the root
    bool query = false;
};

// One parameter as written.
struct Param {
    enum class Kind { Numeric, Character, String, Block };
    Kind kind = Kind::Numeric;
    std::string text;  // numbers as written, character data in upper case, string and block
                       // contents as they are
    double number = 0;
    std::string suffix;  // a number's unit as written after it, in upper case ("KHZ", "MV")
};

// One command of a line: its header and parameters.
struct Unit {
    Header header;
    std::vector<Param> params;
};

// Splits one line (without its line end; blocks inside it are whole) into its commands. The
// whole line is read before anything runs: any fault of syntax raises ScpiError (-1xx), so that
// a malformed line changes nothing.
//
// Commands are separated by ';'. A header that starts with ':' is written from the root; any
// other continues from the node above the previous command's last one, as the standard's path
// rule says; common commands ("*CLS") leave that path alone. Parameters follow the header
// after white space, separated by ','. They are decimal numbers with an optional unit suffix
// ("1.5E3", "1 kHz"), #H/#Q/#B numbers, character data ("MAX", "CH1"), strings in single or
// double quotes (a quote written twice stands for itself), and definite blocks ("#15hello";
// "#0..." runs to the end of the line).
std::vector<Unit> parseLine(std::string_view line);

// The longest mnemonic and character data the standard allows.
inline constexpr std::size_t kMaxMnemonic = 12;

}  // namespace tunx::remote
