#pragma once

#include <QWidget>
#include <map>
#include <vector>

#include "app/PanelLayout.h"

class QLabel;

namespace tunx::app {

// The monitor's plot with the texts around it, placed in the picture's drawing units: the
// scale labels beside the grid lines, the channel and trigger indicators beside the level
// they mark (their `top`), and the captions under the plot.
class PlotPanel : public QWidget {
  public:
    PlotPanel(QWidget* picture, QWidget* parent);

    // Places a label of the plot for its role; the indicators follow their control's `top`.
    void placeScale(QLabel* label, int index);
    void placeUnit(QLabel* label);
    void placeIndicator(const Control& control, QLabel* label);
    void placeAxis(QLabel* label, int index, int count);
    void placeCaption(QLabel* label, int index, int count);
    // The row under the captions: readout `index` of `count` side by side, or a bar across.
    void placeReadout(QWidget* widget, int index, int count);
    void placeBar(QWidget* widget);
    // Under the readouts, while shown: a channel's edges (`index` of `count` side by side, one
    // row), and its statistics table below them (fixed-width digits, several rows). The panel
    // grows by them only while one shows.
    void placeEdges(QWidget* widget, int index, int count);
    void placeStatistics(QLabel* label, int index, int count);
    // The counter's gate line in the captions' row and its history lines under it, across
    // the plot while shown; the panel grows by them as far as they reach below its rows.
    void placeCounterLine(QLabel* label);
    void placeCounterLines(QLabel* label);
    // The math trace's measurement line under the readouts, across the plot while shown; the
    // edges and statistics move a row down for it.
    void placeMathReadout(QWidget* widget);

    // Moves an indicator to its control's `top` (after the control changed).
    // The indicator of `control` (a key) moves to where `look` puts it.
    void follow(const Control& control, const Control& look);

    QSize sizeHint() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int extraBottom() const;  // the bottom edge of the lowest extra shown, or 0
    void watch(QWidget* widget);
    void shiftUnderMath();  // the edges and statistics under the math line while it shows
    std::vector<QWidget*> extra_;
    QWidget* picture_;
    bool readoutRow_ = false;
    int grownBy_ = 0;  // the height the window grew by for the extras shown
    std::map<const Control*, QLabel*> indicators_;
    QWidget* mathReadout_ = nullptr;
    std::vector<std::pair<QWidget*, int>> underMath_;  // with their top without the math line
};

}  // namespace tunx::app
