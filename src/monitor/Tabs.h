#pragma once

#include <array>
#include <string_view>

#include "window/Control.h"

namespace tunx {

// TabStrip2: what Slider1 moves, by the tab's number (tabs count from 1), and the captions in
// that order.
enum class SliderTab { Ch1Position = 1, Ch2Position, TriggerPosition, HorizontalPosition, C1, C2 };
inline constexpr std::array<std::string_view, 6> kSliderTabCaptions{
    "CH1 Position", "CH2 Position", "Trig. Position", "Hor. Position", "C1", "C2"};

// TabStrip3: the cursors' kind.
enum class CursorTab { Voltage = 1, Time, Off };
inline constexpr std::array<std::string_view, 3> kCursorTabCaptions{"V Cursor", "H Cursor",
                                                                    "Cursor OFF"};

// The tab a strip has selected.
template <typename Tab>
Tab selectedTab(const Control& strip) {
    return static_cast<Tab>(strip.value);
}

}  // namespace tunx
