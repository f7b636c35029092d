#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tunx {

enum class ControlKind {
    TextBox,
    ComboBox,
    CheckBox,
    Label,
    Frame,
    Button,
    Slider,
    TabStrip,
    Picture,
    Menu
};

// Colour numbers as the program uses them: 0xBBGGRR, or a system colour (high bit set).
using Colour = std::int64_t;
namespace colour {
inline constexpr Colour kRed = 255;
inline constexpr Colour kGreen = 65280;
inline constexpr Colour kWhite = 16777215;
inline constexpr Colour kLightGrey = 192 + 192 * 256 + 192 * 65536;
inline constexpr Colour kSystemFlag = 0x80000000LL;
inline constexpr Colour kButtonFace = kSystemFlag | 0x0F;  // default of every control
inline constexpr Colour kWindowText = kSystemFlag | 0x12;
inline constexpr Colour kActiveBorder = kSystemFlag | 0x0A;  // the neutral button back colour
inline bool isSystem(Colour c) {
    return (c & kSystemFlag) != 0;
}
}  // namespace colour

// One control of a window, as plain data.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string text;  // text of a box, caption of a label, frame, button or check box
    int value = 0;     // check box: 0 clear, 1 ticked, 2 greyed; slider position
    std::vector<std::string> items;  // list entries
    int listIndex = -1;              // selected list entry, -1 none
    bool enabled = true;
    bool visible = true;
    bool multiLine = false;
    Colour back = colour::kButtonFace;
    Colour fore = colour::kWindowText;
    std::string picture;  // file name of the picture shown, empty for none
    std::string group;    // the panel group the view places it in
};

}  // namespace tunx
