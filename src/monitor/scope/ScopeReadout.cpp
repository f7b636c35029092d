// Reading the armed acquisition back and drawing it.
#include "monitor/scope/ScopeReadout.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/RunLoop.h"
#include "monitor/plot/Cursors.h"
#include "monitor/plot/Layers.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/AcquisitionDisplay.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Record.h"
#include "monitor/scope/ScopeSetup.h"
#include "monitor/sweep/Sweep.h"
#include "monitor/sweep/SweepProgress.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kDisplayFailed = "Error Displaying scope";
constexpr const char* kReadStep = "_Read ADC_DATA_";
constexpr std::size_t kShortRecord = 1300;
constexpr std::size_t kTriggeredRecord = 2500;
constexpr std::size_t kLongRecord = 4096;
constexpr std::size_t kTwelveBitLastByte = 1280;
constexpr std::size_t kStreamChunk = 100;
constexpr std::uint32_t kScopeTimeoutMs = 3000;
constexpr int kAverageSamples = 640;
constexpr double kRfScale = 0.1;
constexpr double kDetectorMvPerCode = 3300.0 / 4096.0;

enum class Trace { None, CH1, CH2, Both };

Trace tracesOf(Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    if (mode == nullptr || !mode->isScope()) {
        return Trace::None;
    }
    return mode->ch1 && mode->ch2 ? Trace::Both : mode->ch1 ? Trace::CH1 : Trace::CH2;
}

// Reads the two status bytes into the record buffer; true when the first is "A".
bool recordReady(Form1& w) {
    MonitorState& m = w.mon();
    m.record[0] = 0;
    m.record[1] = 0;
    std::uint32_t got = 0;
    w.usb().SI_Read(w.state().link.devhandle, std::span(m.record).first(2), got);
    return m.record[0] == kRecordReady;
}

// Flushes both buffers and requests `count` record bytes.
void requestRecord(Form1& w, std::size_t count) {
    w.usb().SI_FlushBuffers(w.state().link.devhandle, 1, 1);
    w.link().setCommand({code::kReadRecord, static_cast<int>((count >> 8) & 0xFF),
                         static_cast<int>(count & 0xFF), 0, 0, 0});
    w.link().CommSendString2();
}

// Reads the requested record into the buffer from index 0. A record that arrives short, or
// a failed read, is no record: the buffer would mix it with the previous one.
bool receiveRecord(Form1& w, std::size_t count) {
    MonitorState& m = w.mon();
    std::uint32_t got = 0;
    const int status =
        w.usb().SI_Read(w.state().link.devhandle, std::span(m.record).first(count), got);
    if (got > 0) {
        m.recordBytes = got;
    }
    return status == usb::kSuccess && got == count;
}

bool rearm(Form1& w, int modeByte) {
    if (!sendRecordCommand(w, modeByte, kReadStep)) {
        return false;
    }
    w.usb().SI_SetTimeouts(kScopeTimeoutMs, kScopeTimeoutMs);
    return true;
}

bool failed(Form1& w) {
    w.mon().monstate = RunState::Idle;
    w.ui().MsgBox(kDisplayFailed);
    showFailed(w);
    return false;
}

std::size_t recordBytes(Form1& w) {
    if (tickedOrGreyed(*w.reclenght)) {
        return kLongRecord;
    }
    const bool triggered = trigger::waitsForTrigger(w.trigmode->text);
    return w.adcselect->text == adc::k8Bit && triggered ? kTriggeredRecord : kShortRecord;
}

void drawChannel(Form1& w, const Samples& samples, int first, TraceRows& rows, Colour colour,
                 bool twelveBit, float scale) {
    MonitorState& m = w.mon();
    TraceDrawer trace(w.canvas(), rows, colour, m.originx, m.originy, !keepsEarlierTraces(w));
    const std::vector<int> columns = traceColumns(m.hexpand);
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const std::size_t n = static_cast<std::size_t>(first) + j;
        const std::int32_t sample = n < samples.size() ? samples[n] : 0;
        const std::int32_t v = twelveBit ? CLng(sample * double(scale)) : 2 * sample;
        trace.point(columns[j], rowOf(v));
    }
}

// The averaged codes of a channel, from sample `first` (1 for the record's first), drawn as
// drawChannel draws a record's own.
void drawAverage(Form1& w, const std::vector<double>& averaged, int first, TraceRows& rows,
                 Colour colour, bool twelveBit, float scale) {
    MonitorState& m = w.mon();
    TraceDrawer trace(w.canvas(), rows, colour, m.originx, m.originy, !keepsEarlierTraces(w));
    const std::vector<int> columns = traceColumns(m.hexpand);
    for (std::size_t j = 0; j < columns.size(); ++j) {
        const std::size_t n = static_cast<std::size_t>(first - 1) + j;
        const double code = n < averaged.size() ? averaged[n] : 0;
        trace.point(columns[j], rowOf(twelveBit ? CLng(code * double(scale)) : CLng(2 * code)));
    }
}

// The record just read, `bytes` of the buffer, with the settings it was taken with: the
// samples of the channels `traces` draws. The plot shows `shown` samples from `first` (1 for
// the record's first sample); a long record is shown whole, one screen at a time.
ScopeCapture captureOf(Form1& w, Trace traces, std::size_t bytes, bool twelveBit, int first,
                       std::size_t shown) {
    const MonitorState& m = w.mon();
    ScopeCapture c = settingsNow(w);
    const bool one = traces == Trace::CH1 || traces == Trace::Both;
    const bool two = traces == Trace::CH2 || traces == Trace::Both;
    for (std::size_t k = 0; k + 1 < bytes && k + 1 < m.record.size(); k += 2) {
        if (twelveBit) {
            const int high = std::min(m.record[k], kMaxHighByte);
            (two ? c.ch2 : c.ch1).codes.push_back(high * 256 + m.record[k + 1]);
        } else {
            if (one) {
                c.ch1.codes.push_back(m.record[k + 1]);
            }
            if (two) {
                c.ch2.codes.push_back(m.record[k]);
            }
        }
    }
    const std::size_t samples = std::max(c.ch1.codes.size(), c.ch2.codes.size());
    c.first = c.longRecord ? 0 : std::min(static_cast<std::size_t>(first - 1), samples);
    c.count = c.longRecord ? samples : std::min(shown, samples - c.first);
    return c;
}

}  // namespace

bool scopedisplay2t(Form1& w) {
    MonitorState& m = w.mon();
    const Trace traces = tracesOf(w);
    const bool twelveBit = w.adcselect->text == adc::k12Bit;
    try {
        if (!(traces == Trace::Both && twelveBit)) {
            if (!recordReady(w)) {
                setStatus(w, status::kWaiting, true);
            } else {
                setStatus(w, status::kRunning, true);
                const std::size_t count = recordBytes(w);
                requestRecord(w, count);
                if (keepsEarlierTraces(w)) {
                    fadeEarlierTraces(w);
                }
                mgrid1(w.canvas());
                if (!receiveRecord(w, count)) {
                    setStatus(w, status::kWaiting, true);
                } else {
                    // A single acquisition stops once a whole record is shown.
                    if (w.trigmode->text == trigger::kSingle) {
                        m.monstate = RunState::Stopped;
                        w.textstatus->text = std::string(status::kStopped);
                    }
                    Samples ch1{}, ch2{};
                    int first = 1;
                    if (twelveBit) {
                        unpack12(m.record, kTwelveBitLastByte, traces == Trace::CH2 ? ch2 : ch1);
                    } else {
                        unpack8(m.record, 0, count, ch1, ch2);
                        if (trigger::waitsForTrigger(w.trigmode->text)) {
                            const bool onCh2 =
                                traces == Trace::CH2 ||
                                (traces == Trace::Both && w.trigsource->text == trigger::kCH2);
                            first = softwareTrigger(onCh2 ? ch2 : ch1, m.triglevel / 2,
                                                    w.trigeredge->text == trigger::kPositive) +
                                    1;
                        }
                    }
                    const bool one = traces == Trace::CH1 || traces == Trace::Both;
                    const bool two = traces == Trace::CH2 || traces == Trace::Both;
                    ScopeCapture c = captureOf(w, traces, count, twelveBit, first,
                                               traceColumns(m.hexpand).size());
                    // With the average on, the plot shows the mean of the last records.
                    averageRecord(w, c, static_cast<std::size_t>(first - 1));
                    // With references, math or XY the picture is drawn afresh from the record.
                    const bool layers = layered(w);
                    // A channel's samples, or their average while it is on.
                    const auto draw = [&](const Samples& samples,
                                          const std::vector<double>& averaged, TraceRows& rows,
                                          Colour colour, float scale) {
                        if (averaged.empty()) {
                            drawChannel(w, samples, first, rows, colour, twelveBit, scale);
                        } else {
                            drawAverage(w, averaged, first, rows, colour, twelveBit, scale);
                        }
                    };
                    if (one && !layers) {
                        draw(ch1, c.ch1.averaged, m.ch1rows, m.ch1colour, m.ch1scale);
                    }
                    if (two && !layers) {
                        draw(ch2, c.ch2.averaged, m.ch2rows, m.ch2colour, m.ch2scale);
                    }
                    keepCapture(w, std::move(c));
                    if (layers) {
                        drawLayers(w, m.capture->first);
                    }
                    if (!w.acqtext->text.empty()) {
                        showAcquisition(w);
                    }
                }
            }
        }
        refreshCR(w);
        if (!rearm(w, rearmModeByte(w, trigger::waitsForTrigger(w.trigmode->text)))) {
            return failed(w);
        }
    } catch (const RuntimeError&) {
        return failed(w);
    }
    return true;
}

namespace {

// Peak detect in the rolling display: each streamed sample goes to the column of its time, and
// a column, once its samples are all in, is drawn as a bar from the lowest to the highest,
// stretched to meet the bar before it so that a steep edge leaves no gap.
void drawPeakColumns(Form1& w, Trace traces, std::uint32_t got, ScopeCapture& shown) {
    MonitorState& m = w.mon();
    RollingState& r = m.rolling;
    const bool twelveBit = w.adcselect->text == adc::k12Bit;
    const std::int64_t divider = recordDivider(w);
    const std::int64_t full = std::max<std::int64_t>(1, m.adcdiv);
    // The channels drawn (CH1, CH2): the 12-bit converter records the mode's one channel.
    const std::array<bool, 2> drawn =
        twelveBit ? std::array<bool, 2>{traces != Trace::CH2, traces == Trace::CH2}
                  : std::array<bool, 2>{traces == Trace::CH1 || traces == Trace::Both,
                                        traces == Trace::CH2 || traces == Trace::Both};
    const std::array<TraceRows*, 2> rows{&m.ch1rows, &m.ch2rows};
    const std::array<Colour, 2> colours{m.ch1colour, m.ch2colour};
    const auto finishColumn = [&](std::size_t ch) {
        std::int32_t low = r.low[ch], high = r.high[ch];
        if (r.columnBefore) {
            low = std::min(low, r.highBefore[ch]);
            high = std::max(high, r.lowBefore[ch]);
        }
        if (r.column >= plot::kFirstDrawnColumn) {
            w.canvas().Line(r.column + m.originx, rowOf(high) + m.originy, r.column + m.originx,
                            rowOf(low) + m.originy, colours[ch], plot::kTraceWidth,
                            LineStyle::Solid);
        }
        (*rows[ch])[static_cast<std::size_t>(std::clamp<int>(r.column, 0, 1000))] =
            static_cast<std::int16_t>(rowOf(r.high[ch]));
        r.lowBefore[ch] = r.low[ch];
        r.highBefore[ch] = r.high[ch];
    };
    const RollingState start;
    for (std::size_t k = 0; k + 1 < got; k += 2) {
        const auto column = static_cast<std::int16_t>(start.column + r.samples * divider / full);
        if (column >= plot::kColumns) {
            r.column = plot::kColumns;
            return;
        }
        const bool fresh = r.samples == 0 || column != r.column;
        if (fresh && r.samples > 0) {
            // The column before is whole.
            for (std::size_t ch : {std::size_t{0}, std::size_t{1}}) {
                if (drawn[ch]) {
                    finishColumn(ch);
                }
            }
            r.columnBefore = true;
        }
        r.column = column;
        ++r.samples;
        std::array<std::optional<std::int32_t>, 2> units;
        if (twelveBit) {
            const std::int32_t sample = m.record[k] * 256 + m.record[k + 1];
            const bool onCh2 = drawn[1];
            units[onCh2 ? 1 : 0] = CLng(sample * double(onCh2 ? m.ch2scale : m.ch1scale));
            (onCh2 ? shown.ch2 : shown.ch1).codes.push_back(sample);
        } else {
            if (drawn[0]) {
                units[0] = 2 * m.record[k + 1];
                shown.ch1.codes.push_back(m.record[k + 1]);
            }
            if (drawn[1]) {
                units[1] = 2 * m.record[k];
                shown.ch2.codes.push_back(m.record[k]);
            }
        }
        for (std::size_t ch : {std::size_t{0}, std::size_t{1}}) {
            if (units[ch]) {
                r.low[ch] = fresh ? *units[ch] : std::min(r.low[ch], *units[ch]);
                r.high[ch] = fresh ? *units[ch] : std::max(r.high[ch], *units[ch]);
            }
        }
    }
}

}  // namespace

bool scopedisplayslow(Form1& w) {
    MonitorState& m = w.mon();
    RollingState& r = m.rolling;
    const Trace traces = tracesOf(w);
    const bool twelveBit = w.adcselect->text == adc::k12Bit;
    const bool peak = peakStreaming(w);
    try {
        std::uint32_t got = 0;
        const std::size_t chunk = peak ? kStreamChunk * kPeakSamplesPerColumn : kStreamChunk;
        w.usb().SI_Read(w.state().link.devhandle, std::span(m.record).first(chunk), got);
        if (got > 0) {
            m.recordBytes = got;
        }
        r.dataNow = got > 0;
        // The samples of this pass make the record the plot shows.
        if (!m.capture || !m.captureShown || !m.capture->rolling) {
            ScopeCapture c = settingsNow(w);
            c.rolling = true;
            c.hexpand = 1;
            if (peak) {
                // Several samples a column, each at the faster rate.
                const double perSample = double(recordDivider(w)) / std::max(1, m.adcdiv);
                c.peakDetect = true;
                c.hexpand = static_cast<float>(perSample);
                c.interval *= perSample;
            }
            m.capture = std::move(c);
            m.captureShown = true;
        }
        ScopeCapture& shown = *m.capture;
        Canvas& canvas = w.canvas();
        const auto plotPoint = [&](std::int16_t& prevColumn, std::int16_t& prevRow, TraceRows& rows,
                                   std::int32_t v, Colour colour) {
            const std::int32_t row = rowOf(v);
            if (r.column >= plot::kFirstDrawnColumn) {
                canvas.Line(prevColumn + m.originx, prevRow + m.originy, r.column + m.originx,
                            row + m.originy, colour, plot::kTraceWidth, LineStyle::Solid);
            }
            prevColumn = r.column;
            prevRow = static_cast<std::int16_t>(row);
            rows[static_cast<std::size_t>(std::clamp<int>(r.column, 0, 1000))] = prevRow;
        };
        if (peak) {
            drawPeakColumns(w, traces, got, shown);
        }
        for (std::size_t k = 0; !peak && k + 1 < got && r.column < plot::kColumns; k += 2) {
            if (twelveBit) {
                const std::int32_t sample = m.record[k] * 256 + m.record[k + 1];
                if (traces == Trace::CH2) {
                    plotPoint(r.ch2Column, r.ch2Row, m.ch2rows, CLng(sample * double(m.ch2scale)),
                              m.ch2colour);
                    shown.ch2.codes.push_back(sample);
                } else {
                    plotPoint(r.ch1Column, r.ch1Row, m.ch1rows, CLng(sample * double(m.ch1scale)),
                              m.ch1colour);
                    shown.ch1.codes.push_back(sample);
                }
            } else {
                if (traces == Trace::CH1 || traces == Trace::Both) {
                    plotPoint(r.ch1Column, r.ch1Row, m.ch1rows, 2 * m.record[k + 1], m.ch1colour);
                    shown.ch1.codes.push_back(m.record[k + 1]);
                }
                if (traces == Trace::CH2 || traces == Trace::Both) {
                    plotPoint(r.ch2Column, r.ch2Row, m.ch2rows, 2 * m.record[k], m.ch2colour);
                    shown.ch2.codes.push_back(m.record[k]);
                }
            }
            ++r.column;
        }
        if (got > 0) {
            shown.count = std::max(shown.ch1.codes.size(), shown.ch2.codes.size());
            showMeasurements(w);
        }
        if (r.column >= plot::kColumns) {
            if (w.trigmode->text == trigger::kSingle) {
                m.monstate = RunState::Stopped;
                w.textstatus->text = std::string(status::kStopped);
            } else {
                m.monstate = RunState::StartScope;
            }
        }
        if (!r.dataNow && r.dataBefore) {
            setStatus(w, status::kWaiting, true);
        } else if (r.dataNow && !r.dataBefore) {
            setStatus(w, status::kRunning, true);
        }
        r.dataBefore = r.dataNow;
    } catch (const RuntimeError&) {
        return failed(w);
    }
    return true;
}

Averaged getscopeavg(Form1& w) {
    MonitorState& m = w.mon();
    const Trace traces = tracesOf(w);
    const bool twelveBit = w.adcselect->text == adc::k12Bit;
    bool whole = true;
    try {
        if (!recordReady(w)) {
            m.scopeavg1 = 0;
            m.scopeavg2 = 0;
            whole = false;
        }
        const std::size_t count = tickedOrGreyed(*w.reclenght) ? kLongRecord : kShortRecord;
        requestRecord(w, count);
        if (!twelveBit) {
            mgrid1(w.canvas());
        }
        if (receiveRecord(w, count)) {
            Samples ch1{}, ch2{};
            if (twelveBit) {
                unpack12(m.record, kTwelveBitLastByte, traces == Trace::CH2 ? ch2 : ch1);
            } else {
                unpack8(m.record, 0, count, ch1, ch2);
            }
            const auto average = [&](const Samples& s, float scale) {
                double sum = 0;
                for (int n = 1; n <= kAverageSamples; ++n) {
                    sum += s[static_cast<std::size_t>(n)];
                }
                if (twelveBit) {
                    return CInt(CLng(sum / kAverageSamples) * double(scale));
                }
                return CInt(2 * sum / kAverageSamples);
            };
            if (traces == Trace::CH1 || traces == Trace::Both) {
                m.scopeavg1 = average(ch1, m.ch1scale);
            }
            if (traces == Trace::CH2 || traces == Trace::Both) {
                m.scopeavg2 = average(ch2, m.ch2scale);
            }
        } else {
            // Nothing usable arrived: no channel is corrected.
            m.scopeavg1 = 0;
            m.scopeavg2 = 0;
            whole = false;
        }
        refreshCR(w);
        // The calibration's records never wait for a trigger.
        if (!rearm(w, rearmModeByte(w, false))) {
            failed(w);
            return Averaged::Failed;
        }
    } catch (const RuntimeError&) {
        failed(w);
        return Averaged::Failed;
    }
    return whole ? Averaged::Taken : Averaged::NoRecord;
}

bool scopedisplayrf(Form1& w) {
    MonitorState& m = w.mon();
    m.ch1scale = static_cast<float>(kRfScale);
    try {
        if (!recordReady(w)) {
            return failed(w);
        }
        requestRecord(w, kShortRecord);
        mgrid1(w.canvas());
        if (!receiveRecord(w, kShortRecord)) {
            return failed(w);
        }
        Samples samples{};
        unpack12(m.record, kTwelveBitLastByte, samples);
        TraceDrawer trace(w.canvas(), m.ch1rows, m.ch1colour, m.originx, m.originy);
        // Each column is a point of the generator's sweep from the start to the stop frequency.
        startKeeping(w, SweepKind::Fast);
        const double start = m.sweepstartf - 1, stop = m.sweepstopf - 1;
        for (int c = 1; c <= plot::kColumns; ++c) {
            m.detmv = CSng(samples[static_cast<std::size_t>(c)] * kDetectorMvPerCode);
            float dbv = 0;
            trace.point(c, sweepRowOf(w, &dbv) - m.originy);
            keepPoint(w, start + (c - 1) * (stop - start) / (plot::kColumns - 1), dbv);
        }
    } catch (const RuntimeError&) {
        return failed(w);
    }
    return true;
}

}  // namespace tunx
