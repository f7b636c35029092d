#include "common/Hex.h"

#include <cctype>
#include <cstdio>

namespace tunx {

double hextodec(std::string& text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    double total = 0.0;
    double weight = 1.0;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const char c = *it;
        if (c >= '0' && c <= '9') {
            total += (c - '0') * weight;
        } else if (c >= 'A' && c <= 'F') {
            total += (c - 'A' + 10) * weight;
        }
        weight *= 16.0;
    }
    return total;
}

std::string hexText(std::int32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<std::uint32_t>(value));
    return buf;
}

}  // namespace tunx
