// The slider, the two tab strips, the measuring cursors and the mouse readout of the plot.
#include "monitor/plot/Cursors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "link/Relay.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/Tabs.h"
#include "monitor/plot/Layers.h"
#include "monitor/plot/Plot.h"
#include "monitor/plot/TriggerMarks.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Measurements.h"
#include "monitor/scope/Ranges.h"
#include "monitor/scope/ScopeSetup.h"
#include "monitor/scope/TimeBase.h"
#include "monitor/sweep/SweepLevel.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kScrollFailed = "Scroll Error";
constexpr const char* kNeedLongRecord = "Check 2048 Points Check box first!";
constexpr const char* kNeedStop = "Use Stop Button first!";
constexpr const char* kNoLongRecord =
    "No 2048-sample record on the plot: press START with the box ticked, then STOP.";

constexpr SliderTab kTabCh1 = SliderTab::Ch1Position;
constexpr SliderTab kTabCh2 = SliderTab::Ch2Position;
constexpr SliderTab kTabTrigger = SliderTab::TriggerPosition;
constexpr SliderTab kTabHorizontal = SliderTab::HorizontalPosition;
constexpr SliderTab kTabC1 = SliderTab::C1;
constexpr SliderTab kTabC2 = SliderTab::C2;

constexpr int kSliderTop = 1023;
constexpr double kPlotRows = 512;        // the position indicators' rows over the plot
constexpr double kIndicatorOffset = 25;  // the position labels' top over the plot row
constexpr int kLastColumn = 640;
constexpr double kUnitsPerDivision = 64;

// The mouse readout's plot area.
constexpr double kInsideLeft = 32, kInsideRight = 673, kInsideTop = 32, kInsideBottom = 545;
constexpr double kSweepColumns = 640;
constexpr const char* kHertz = " Hz";
constexpr const char* kDbvrms = " dBVrms";
constexpr const char* kDbfs = " dBFS";

enum class Kind { Voltage, Time };

struct CursorRef {
    Kind kind;
    std::int16_t& position;
    std::int16_t& drawn;
    Colour colour;
};

CursorRef cursor(MonitorState& m, int which) {
    switch (which) {
        case 1:
            return {Kind::Voltage, m.vcur1, m.vcur1drawn, m.cursor1colour};
        case 2:
            return {Kind::Voltage, m.vcur2, m.vcur2drawn, m.cursor2colour};
        case 3:
            return {Kind::Time, m.hcur1, m.hcur1drawn, m.cursor1colour};
        default:
            return {Kind::Time, m.hcur2, m.hcur2drawn, m.cursor2colour};
    }
}

// The other cursor of the same kind: 1 <-> 2, 3 <-> 4.
int partner(int which) {
    return which % 2 == 1 ? which + 1 : which - 1;
}

void drawCursorLine(Form1& w, Kind kind, int at, Colour colour, LineStyle style) {
    const MonitorState& m = w.mon();
    const int x0 = m.originx, y0 = m.originy, s = m.plotscale;
    if (kind == Kind::Voltage) {
        w.canvas().Line(x0 + s, y0 + at, x0 + 320 * s, y0 + at, colour, 1, style);
    } else {
        w.canvas().Line(x0 + at, y0 + s, x0 + at, y0 + 256 * s, colour, 1, style);
    }
}

void drawCursor(Form1& w, int which, LineStyle style) {
    const CursorRef c = cursor(w.mon(), which);
    drawCursorLine(w, c.kind, c.position, c.colour, style);
}

void eraseCursor(Form1& w, int which) {
    const CursorRef c = cursor(w.mon(), which);
    drawCursorLine(w, c.kind, c.position, colour::kPictureBack, LineStyle::Solid);
}

bool sweepMode(Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    return mode != nullptr && mode->sweep;
}

void showReadout(Form1& w) {
    for (const Ctl& c : {w.centerfr, w.labstartfr, w.labstopfr}) {
        c->visible = true;
        c->enabled = true;
    }
}

// Beside the difference: where each cursor stands, and for time cursors the frequency whose
// period is their difference.
constexpr const char* kCursor1 = "C1 ";
constexpr const char* kCursor2 = "C2 ";
constexpr const char* kPerDelta = "   1/\u0394t ";
constexpr const char* kNoFrequency = "\u2014";
constexpr const char* kHertzUnit = "Hz";

// The record the plot shows, if any: the cursors measure it with the settings it was taken
// with, whatever the panel says now.
const ScopeCapture* shownRecord(Form1& w) {
    const MonitorState& m = w.mon();
    return m.capture && m.captureShown ? &*m.capture : nullptr;
}

// cursordelta x V/div / 64, in volts or millivolts by the range of the cursor channel.
void deltacursorvert(Form1& w) {
    MonitorState& m = w.mon();
    showReadout(w);
    const ScopeCapture* shown = shownRecord(w);
    const Channel ch = m.cursorch == 1 ? Channel::CH1 : Channel::CH2;
    const std::string& range = shown != nullptr && !channelOf(*shown, ch).codes.empty()
                                   ? channelOf(*shown, ch).range
                                   : (ch == Channel::CH1 ? w.ch1vdiv : w.ch2vdiv)->text;
    const VoltsRange* r = findRange(range);
    if (r == nullptr) {
        return;
    }
    const ReadoutScale scale = readoutScale(*r);
    const char group = w.state().host.groupSeparator;
    const double perRow = scale.perDivision / kUnitsPerDivision;
    w.centerfr->text = formatGrouped(m.cursordelta * perRow, 2, group) + std::string(scale.unit);
    // A cursor's row counts from the top; the channel's zero line sits `position` units up.
    const bool recorded = shown != nullptr && !channelOf(*shown, ch).codes.empty();
    const int zero =
        recorded ? channelOf(*shown, ch).position : (ch == Channel::CH1 ? m.ch1pos : m.ch2pos);
    const auto level = [&](std::int16_t row) {
        return formatGrouped((plot::kRows - row - zero) * perRow, 2, group) +
               std::string(scale.unit);
    };
    w.labstartfr->text = kCursor1 + level(m.vcur1);
    w.labstopfr->text = kCursor2 + level(m.vcur2);
}

// cursordelta columns in time, in the time base's own unit: a column is the time between two
// samples as the converter took them, over the columns a sample takes on the plot.
void deltacursorhor(Form1& w) {
    MonitorState& m = w.mon();
    showReadout(w);
    const ScopeCapture* shown = shownRecord(w);
    const TimeBase* tb = findTimeBase(shown != nullptr ? shown->timeBase : m.timeBaseInForce);
    if (tb == nullptr) {
        return;
    }
    const double perColumn = shown != nullptr ? shown->interval / shown->hexpand
                                              : m.sampleInterval / (m.vslowtb ? 1.0 : m.hexpand);
    const double unit = secondsPerDivision(*tb) / tb->number;
    const char group = w.state().host.groupSeparator;
    const auto time = [&](double columns) {
        return formatGrouped(columns * perColumn / unit, 2, group) + std::string(tb->unit);
    };
    w.centerfr->text = time(m.cursordelta);
    // From the grid's left edge, where the triggered modes put the trigger point.
    w.labstartfr->text = kCursor1 + time(m.hcur1);
    const double period = std::abs(m.cursordelta * perColumn);
    w.labstopfr->text =
        kCursor2 + time(m.hcur2) + kPerDelta +
        (period > 0 ? withPrefix(1.0 / period, kHertzUnit) : std::string(kNoFrequency));
}

void moveCursor(Form1& w, int v) {
    MonitorState& m = w.mon();
    const int which = m.cursorsel;
    if (which < 1 || which > 4) {
        return;
    }
    const CursorRef moved = cursor(m, which);
    const CursorRef other = cursor(m, partner(which));
    if (moved.drawn != other.drawn) {
        drawCursorLine(w, moved.kind, moved.drawn, colour::kPictureBack, LineStyle::Solid);
    }
    const double s = m.plotscale;
    if (moved.kind == Kind::Voltage) {
        moved.position = CInt((kSliderTop - v) / 4.0 * s);
    } else {
        moved.position =
            static_cast<std::int16_t>(std::min<std::int32_t>(CLng(v / 2.0 * s), kLastColumn));
    }
    drawCursorLine(w, moved.kind, moved.position, moved.colour,
                   moved.position == other.drawn ? LineStyle::Dotted : LineStyle::Solid);
    moved.drawn = moved.position;
    if (moved.kind == Kind::Voltage) {
        m.cursordelta = CInt(double(m.vcur2) - m.vcur1);
        deltacursorvert(w);
    } else {
        m.cursordelta = CInt(double(m.hcur2) - m.hcur1);
        deltacursorhor(w);
    }
}

void redrawStoredTraces(Form1& w) {
    // With references, math or XY the picture is drawn afresh from the record it shows.
    if (const MonitorState& m = w.mon(); layered(w) && m.capture && m.captureShown) {
        drawLayers(w, m.capture->first);
        return;
    }
    const MonitorMode* mode = chosenMode(w);
    if (mode != nullptr && mode->ch1) {
        refreshch1(w);
    }
    if (mode != nullptr && mode->ch2) {
        refreshch2(w);
    }
}

void redrawTrace(Form1& w, const TraceRows& rows, Colour colour) {
    const MonitorState& m = w.mon();
    for (int col = plot::kFirstDrawnColumn; col <= plot::kColumns; ++col) {
        const auto i = static_cast<std::size_t>(col);
        w.canvas().Line(col - 1 + m.originx, rows[i - 1] + m.originy, col + m.originx,
                        rows[i] + m.originy, colour, plot::kTraceWidth, LineStyle::Solid);
    }
}

bool stopped(Form1& w) {
    return w.mon().monstate == RunState::Stopped;
}

// Sets the slider as a program would, within its range: its Change action runs when the value
// changes.
void setSlider(Form1& w, int value) {
    value = std::clamp(value, w.Slider1->minimum, w.Slider1->maximum);
    if (w.Slider1->value != value) {
        w.Slider1->value = value;
        w.Slider1_Change();
    }
}

}  // namespace

void refreshCR(Form1& w) {
    drawTriggerMarks(w);
    const int which = w.mon().cursorsel;
    if (which < 1 || which > 4) {
        return;
    }
    drawCursor(w, partner(which), LineStyle::Dotted);
    drawCursor(w, which, LineStyle::Solid);
}

void erasecursors(Form1& w) {
    for (int which = 1; which <= 4; ++which) {
        eraseCursor(w, which);
    }
}

void refreshch1(Form1& w) {
    redrawTrace(w, w.mon().ch1rows, w.mon().ch1colour);
}

void refreshch2(Form1& w) {
    redrawTrace(w, w.mon().ch2rows, w.mon().ch2colour);
}

void Form1::combocursorselect_Click() {
    if (combocursorselect->text == trigger::kCH1) {
        mon().cursorch = 1;
    } else if (combocursorselect->text == trigger::kCH2) {
        mon().cursorch = 2;
    }
    Slider1_Scroll();
}

void Form1::TabStrip3_Click() {
    MonitorState& m = mon();
    erasecursors(*this);
    const bool second = selectedTab<SliderTab>(*TabStrip2) == kTabC2;
    const CursorTab kind = selectedTab<CursorTab>(*TabStrip3);
    if (kind == CursorTab::Voltage) {
        m.cursorsel = second ? 2 : 1;
    } else if (kind == CursorTab::Time) {
        m.cursorsel = second ? 4 : 3;
    } else {
        m.cursorsel = 0;
    }
    TabStrip2_Click();
}

void placeChannel(Form1& w, Channel ch, std::int16_t pos) {
    const bool one = ch == Channel::CH1;
    (one ? w.mon().ch1pos : w.mon().ch2pos) = pos;
    (one ? w.ch1text : w.ch2text)->top = kPlotRows - pos + kIndicatorOffset;
}

void placeTriggerLevel(Form1& w, std::int16_t level) {
    w.mon().triglevel = level;
    w.trigertext->top = kPlotRows - level + kIndicatorOffset;
}

void Form1::TabStrip2_Click() {
    if (sweepMode(*this)) {
        return;
    }
    MonitorState& m = mon();
    const SliderTab tab = selectedTab<SliderTab>(*TabStrip2);
    const bool voltage = selectedTab<CursorTab>(*TabStrip3) == CursorTab::Voltage;
    const bool time = selectedTab<CursorTab>(*TabStrip3) == CursorTab::Time;
    // Each value is the one that the slider maps back to the quantity as it stands (the
    // inverse of Slider1_Scroll), so that choosing a tab moves nothing.
    std::optional<int> value;
    if (tab == kTabCh1 || tab == kTabCh2) {
        const double top = (tab == kTabCh1 ? ch1text : ch2text)->top;
        value = CLng((kPlotRows - (top - kIndicatorOffset)) * 2);
    } else if (tab == kTabTrigger) {
        value = m.triglevel * 2;
    } else if (tab == kTabHorizontal) {
        value = CLng((1024.0 - m.horpos) / 2);
    } else if (tab == kTabC1 || tab == kTabC2) {
        const bool first = tab == kTabC1;
        const std::int16_t v = first ? m.vcur1 : m.vcur2;
        const std::int16_t h = first ? m.hcur1 : m.hcur2;
        if (voltage) {
            value = CLng(kSliderTop - v * 4.0 / m.plotscale);
        } else if (time) {
            value = CLng(h * 2.0 / m.plotscale);
        }
        m.cursorflag = true;
        m.cursorsel = static_cast<std::int16_t>(voltage ? (first ? 1 : 2)
                                                : time  ? (first ? 3 : 4)
                                                        : 0);
        if (m.cursorsel != 0) {
            const int other = partner(m.cursorsel);
            eraseCursor(*this, other);
            drawCursor(*this, other, LineStyle::Dotted);
            drawCursor(*this, m.cursorsel, LineStyle::Solid);
        }
    }
    if (value) {
        setSlider(*this, *value);
    }
}

void Form1::Slider1_Change() {
    if (!sweepMode(*this)) {
        Slider1_Scroll();
    }
}

void Form1::Slider1_Scroll() {
    MonitorState& m = mon();
    const int v = Slider1->value;
    const SliderTab tab = selectedTab<SliderTab>(*TabStrip2);
    if (tab == kTabCh1 || tab == kTabCh2) {
        const bool one = tab == kTabCh1;
        Ctl indicator = one ? ch1text : ch2text;
        indicator->top = kPlotRows - v / 2.0 + kIndicatorOffset;
        indicator->fore = one ? m.ch1colour : m.ch2colour;
        std::int16_t& pos = one ? m.ch1pos : m.ch2pos;
        pos = CInt(v / 2.0);
        const Channel ch = one ? Channel::CH1 : Channel::CH2;
        try {
            const std::int32_t value =
                offsetDacValue(pos, one ? m.ch1span : m.ch2span, one ? m.ch1offcal : m.ch2offcal,
                               one ? m.ch1offslope : m.ch2offslope);
            if (!link().send(dacCommand(offsetDacChannel(ch), value), kRelayStep)) {
                ui().MsgBox(kScrollFailed);
            }
        } catch (const RuntimeError&) {
            ui().MsgBox(kScrollFailed);
        }
    } else if (tab == kTabTrigger) {
        trigertext->top = roundHalfEven(kPlotRows - v / 2.0 + kIndicatorOffset);
        trigertext->back = colour::kWhite;
        m.triglevel = CInt(v / 2.0);
        scopeSettingChanged();
    } else if (tab == kTabHorizontal) {
        if (!tickedOrGreyed(*reclenght)) {
            ui().MsgBox(kNeedLongRecord);
            return;
        }
        if (!stopped(*this)) {
            ui().MsgBox(kNeedStop);
            return;
        }
        // Only a long record on the plot has more to show than one screen.
        const ScopeCapture* shown = shownRecord(*this);
        if (shown == nullptr || !shown->longRecord) {
            ui().MsgBox(kNoLongRecord);
            return;
        }
        m.horpos = CInt((1024.0 - v) * 2);
        if (m.cursorflag) {
            canvas().Clear();
            m.cursorflag = false;
        }
        refreshplot2(*this, *shown);
    } else if (tab == kTabC1) {
        mgrid1(canvas());
        if (stopped(*this)) {
            redrawStoredTraces(*this);
        }
        moveCursor(*this, v);
    } else if (tab == kTabC2) {
        if (stopped(*this)) {
            mgrid1(canvas());
            redrawStoredTraces(*this);
        }
        moveCursor(*this, v);
    }
}

void Form1::Picture1_MouseMove(int /*button*/, int /*shift*/, double x, double y) {
    MonitorState& m = mon();
    const bool inside =
        x >= kInsideLeft && x <= kInsideRight && y >= kInsideTop && y <= kInsideBottom;
    const MonitorMode* mode = chosenMode(*this);
    const bool frequencySweep = mode != nullptr && mode->sweep == SweepKind::Frequency;
    const char group = s_.host.groupSeparator;
    if (m.fftflag) {
        Ctl vdivLabel = combocursorselect->text == trigger::kCH1 ? ch1vdivtext : ch2vdivtext;
        centerfr->visible = inside;
        labstartfr->visible = inside;
        for (Ctl c : {tdivtext, vdivLabel}) {
            c->enabled = !inside;
            c->visible = !inside;
        }
    }
    if (frequencySweep) {
        centerfr->visible = inside;
        labstartfr->visible = inside;
    }
    if (m.fftflag) {
        // The spectrum's own bins, at the rate of the record it was taken from.
        centerfr->text = formatGrouped((x - plot::kOrigin) * m.kept.binHz, 0, group) + kHertz;
        const bool dbv = fftscale->text == fftscale::kDbvrms;
        if (dbv || fftscale->text == fftscale::kDbfs) {
            const double level =
                (dbv ? plot::kDbvrmsTop : 0.0) - (y - plot::kOrigin) / plot::kRowsPerDb;
            labstartfr->text = formatGrouped(level, 1, group) + (dbv ? kDbvrms : kDbfs);
        }
    }
    if (frequencySweep) {
        centerfr->text =
            formatGrouped((x - plot::kOrigin) * (m.sweepstopf - m.sweepstartf) / kSweepColumns +
                              m.sweepstartf,
                          0, group) +
            kHertz;
        if (const DisplayScale* scale = findDisplayScale(selrfrange->text)) {
            labstartfr->text =
                formatGrouped(scale->mouseTop - (y - plot::kOrigin) * scale->mousePerRow,
                              scale->mouseDecimals, group) +
                std::string(scale->mouseUnit);
        }
    }
}

}  // namespace tunx
