#include "dds/RegisterBytes.h"

#include <string>

#include "common/Hex.h"

namespace tunx {

std::array<int, 4> registerBytes(std::int32_t value) {
    const auto text = ltotx(value);
    return {std::stoi(text[0]), std::stoi(text[1]), std::stoi(text[2]), std::stoi(text[3])};
}

std::array<int, 2> lowBytes(std::int32_t value) {
    const auto bytes = registerBytes(value);
    return {bytes[2], bytes[3]};
}

}  // namespace tunx
