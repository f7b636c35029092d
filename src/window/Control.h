#pragma once

#include <string>
#include <vector>

#include "common/Colour.h"

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
    Menu,
    Timer,    // no widget: the view runs it
    Progress  // a bar from `minimum` to `maximum` at `value`, its text written on it
};

// One control of a window, as plain data.
struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string text;  // text of a box, caption of a label, frame, button or check box
    int value = 0;     // check box: 0 clear, 1 ticked, 2 greyed; slider position; tab 1..n
    int minimum = 0;   // slider range
    int maximum = 0;
    std::vector<std::string> items;  // list entries
    int listIndex = -1;              // selected list entry, -1 none
    bool enabled = true;
    bool visible = true;
    bool multiLine = false;
    Colour back = colour::kButtonFace;
    Colour fore = colour::kWindowText;
    std::string picture;  // file name of the picture shown, empty for none
    std::string group;    // the panel group the view places it in
    // Vertical position in the picture's drawing units, for the labels that mark a level
    // beside the plot (the channel and trigger indicators).
    double top = 0;
};

}  // namespace tunx
