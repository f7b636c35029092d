#pragma once

#include <cstdint>

namespace tunx {

// Colour numbers as the program uses them: 0xBBGGRR, or a system colour (high bit set).
using Colour = std::int64_t;
namespace colour {
inline constexpr Colour kBlack = 0;
inline constexpr Colour kRed = 255;
inline constexpr Colour kGreen = 65280;
inline constexpr Colour kYellow = 65535;
inline constexpr Colour kWhite = 16777215;
inline constexpr Colour kLightGrey = 192 + 192 * 256 + 192 * 65536;
inline constexpr Colour kSystemFlag = 0x80000000LL;
inline constexpr Colour kButtonFace = kSystemFlag | 0x0F;  // default of every control
inline constexpr Colour kWindowText = kSystemFlag | 0x12;
inline constexpr Colour kActiveBorder = kSystemFlag | 0x0A;  // the neutral button back colour
// Drawing "in the picture's background colour", whatever that colour is: the canvas that
// draws resolves it. Above the 32 bits of every real or system colour.
inline constexpr Colour kPictureBack = 0x100000000LL;

inline bool isSystem(Colour c) {
    return c != kPictureBack && (c & kSystemFlag) != 0;
}
inline bool isPictureBack(Colour c) {
    return c == kPictureBack;
}
}  // namespace colour

}  // namespace tunx
