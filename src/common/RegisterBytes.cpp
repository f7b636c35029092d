#include "common/RegisterBytes.h"

#include "common/Numbers.h"
#include "common/RuntimeError.h"

namespace tunx {

std::array<int, 4> registerBytes(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<int>((bits >> 24) & 0xFFU), static_cast<int>((bits >> 16) & 0xFFU),
            static_cast<int>((bits >> 8) & 0xFFU), static_cast<int>(bits & 0xFFU)};
}

BytePair lowBytes(std::int32_t value) {
    const auto bytes = registerBytes(value);
    return {bytes[2], bytes[3]};
}

std::int32_t unsigned16(double value) {
    const std::int32_t v = CLng(value);
    if (v < 0 || v > kMaxUnsigned16) {
        throw RuntimeError(kOverflow);
    }
    return v;
}

BytePair split16(double value) {
    return lowBytes(unsigned16(value));
}

}  // namespace tunx
