#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "controls/Form1Controls.h"
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

// The monitor's plot: the picture, the scale labels on its left (bottom line first), the
// level indicators on its right at their `top`, and two rows of captions under it.
struct PlotPlacement {
    Ctl picture;
    std::vector<Ctl> scale;
    Ctl scaleUnit;
    std::vector<Ctl> indicators;
    std::vector<Ctl> axis;      // under the plot: left, centre, right
    std::vector<Ctl> captions;  // the row below, from the left
    // One row under the captions, which the modes share: side by side readouts (a scope
    // mode's measurements), or one bar across (a sweep's progress).
    std::vector<Ctl> readouts;
    Ctl bar;
    // Under the readouts while they show: each channel's edges, and its statistics table.
    std::vector<Ctl> edges;
    std::vector<Ctl> statistics;
    // The counter's lines while its large display shows (its mode leaves the captions and
    // readouts empty): one in the captions' row, one of several rows from the readouts' row.
    Ctl counterLine;
    Ctl counterLines;
    // The math trace's measurement line, under the readouts while it shows.
    Ctl mathReadout;
};

struct PanelLayout {
    std::vector<Column> columns;
    // When set, the plot comes first, left of the columns.
    std::optional<PlotPlacement> plot;
};

// The placement of the generator window's controls.
PanelLayout generatorPanelLayout(const frmMainControls& w);
// The placement of the monitor window's controls.
PanelLayout monitorPanelLayout(const Form1Controls& w);

}  // namespace tunx::app
