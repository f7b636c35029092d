#include "app/Colours.h"

#include <array>
#include <cstdint>

namespace tunx::app {

namespace {

// Where each system colour of the program is found in the desktop's palette.
struct SystemColour {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<SystemColour, 22> kSystemColours{{
    {0x00, QPalette::Active, QPalette::Mid},              // scroll bars
    {0x01, QPalette::Active, QPalette::Window},           // desktop
    {0x02, QPalette::Active, QPalette::Highlight},        // active caption
    {0x03, QPalette::Active, QPalette::Mid},              // inactive caption
    {0x04, QPalette::Active, QPalette::Window},           // menu bar
    {0x05, QPalette::Active, QPalette::Base},             // window background
    {0x06, QPalette::Active, QPalette::Shadow},           // window frame
    {0x07, QPalette::Active, QPalette::WindowText},       // menu text
    {0x08, QPalette::Active, QPalette::Text},             // window text
    {0x09, QPalette::Active, QPalette::HighlightedText},  // caption text
    {0x0A, QPalette::Active, QPalette::Window},           // active border
    {0x0B, QPalette::Active, QPalette::Window},           // inactive border
    {0x0C, QPalette::Active, QPalette::Dark},             // application workspace
    {0x0D, QPalette::Active, QPalette::Highlight},        // highlight
    {0x0E, QPalette::Active, QPalette::HighlightedText},  // highlighted text
    {0x0F, QPalette::Active, QPalette::Button},           // button face
    {0x10, QPalette::Active, QPalette::Dark},             // button shadow
    {0x11, QPalette::Disabled, QPalette::Text},           // grey text
    {0x12, QPalette::Active, QPalette::ButtonText},       // button text
    {0x14, QPalette::Active, QPalette::Light},            // button highlight
    {0x17, QPalette::Active, QPalette::ToolTipText},      // tool tip text
    {0x18, QPalette::Active, QPalette::ToolTipBase},      // tool tip back
}};

constexpr Colour kSystemIndexMask = 0xFF;
constexpr Colour kRgbMask = 0xFFFFFF;

}  // namespace

QColor toQColor(Colour colour, const QPalette& palette) {
    if (colour::isSystem(colour)) {
        const auto index = static_cast<int>(colour & kSystemIndexMask);
        for (const SystemColour& s : kSystemColours) {
            if (s.index == index) {
                return palette.color(s.group, s.role);
            }
        }
        return palette.color(QPalette::Active, QPalette::Window);
    }
    const auto rgb = static_cast<std::uint32_t>(colour & kRgbMask);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

}  // namespace tunx::app
