#pragma once

#include <string_view>
#include <vector>

#include "controls/frmMainControls.h"

namespace tunx::app {

// Where a window's controls sit on screen. The window model only says which group a
// control belongs to; the view places each group as a box in a column, and each box holds
// rows of cells. A cell holds a control (none leaves the cell empty) and may span columns.
struct Cell {
    Ctl control;
    int span = 1;
};
using Row = std::vector<Cell>;

struct GroupPlacement {
    std::string_view group;
    std::vector<Row> rows;
    // A group without a frame has an untitled box, unless this asks for its name as title.
    bool titled = false;
};
using Column = std::vector<GroupPlacement>;

struct PanelLayout {
    std::vector<Column> columns;
};

// The placement of the generator window's controls.
PanelLayout generatorPanelLayout(const frmMainControls& w);

}  // namespace tunx::app
