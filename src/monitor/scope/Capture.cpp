// The record the scope accepted, kept with the settings it was taken with, and the
// measurement line of what the plot shows of it.
#include "monitor/scope/Capture.h"

#include <algorithm>
#include <string>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/scope/MathTrace.h"
#include "monitor/scope/Measurements.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr double kUnitsPerDivision = 64;
constexpr std::int32_t kLastCode8 = 255;
constexpr std::int32_t kLastCode12 = 4095;
constexpr const char* kNotKnown = "\u2014";

ChannelCapture channelNow(const Ctl& rangeInForce, std::int16_t position, float scale) {
    ChannelCapture c;
    c.range = rangeInForce->text;
    const VoltsRange* range = findRange(c.range);
    c.voltsPerDiv = range == nullptr ? 0 : voltsPerDivision(*range);
    c.position = position;
    c.scale = scale;
    return c;
}

// A channel's readouts under the plot: its measurement line, and beside the original its edges
// and statistics.
struct Readout {
    Ctl label;
    Channel ch;
    const char* name;
    Ctl timing;
    Ctl stats;
};

std::array<Readout, 2> readouts(Form1& w) {
    return {Readout{w.measch1, Channel::CH1, "CH1", w.timech1, w.statch1},
            Readout{w.measch2, Channel::CH2, "CH2", w.timech2, w.statch2}};
}

ChannelStats& statsOf(MonitorState& m, Channel ch) {
    return m.stats[ch == Channel::CH1 ? 0 : 1];
}

// What the plot shows of a channel measures; nothing when it shows none of it.
std::optional<Measurement> shownMeasurement(const ScopeCapture& c, Channel ch) {
    const std::vector<double> volts = shownVolts(c, ch);
    if (volts.empty()) {
        return std::nullopt;
    }
    Measurement measured = measure(volts, c.interval);
    measured.clipped = shownClipped(c, ch);
    return measured;
}

// The edges and statistics of a channel the plot draws, while the statistics are on.
void showStatistics(Form1& w, const Readout& r, bool drawn, const std::optional<Measurement>& m) {
    const bool on = drawn && tickedOrGreyed(*w.measstats);
    r.timing->visible = on;
    r.stats->visible = on;
    r.timing->text = !on ? std::string()
                     : m ? timingText(r.name, *m)
                         : std::string(r.name) + "  " + kNotKnown;
    r.stats->text = on ? statisticsText(r.name, statsOf(w.mon(), r.ch)) : std::string();
}

}  // namespace

const ChannelCapture& channelOf(const ScopeCapture& c, Channel ch) {
    return ch == Channel::CH1 ? c.ch1 : c.ch2;
}

ChannelCapture& channelOf(ScopeCapture& c, Channel ch) {
    return ch == Channel::CH1 ? c.ch1 : c.ch2;
}

ScopeCapture settingsNow(Form1& w) {
    const MonitorState& m = w.mon();
    ScopeCapture c;
    const bool twelveBit = w.adcselect->text == adc::k12Bit;
    c.converter = twelveBit ? Converter::TwelveBit : Converter::EightBit;
    c.undersampling = m.equivalentTime;
    c.timeBase = m.timeBaseInForce;
    c.interval = m.sampleInterval;
    c.spectrumRate = m.fftrate;
    c.hexpand = m.hexpand;
    c.longRecord = tickedOrGreyed(*w.reclenght);
    c.trigger = {w.trigmode->text, w.trigeredge->text, w.trigsource->text, m.triglevel};
    c.ch1 = channelNow(w.ch1vdivtext, m.ch1pos, m.ch1scale);
    c.ch2 = channelNow(w.ch2vdivtext, m.ch2pos, m.ch2scale);
    return c;
}

std::vector<double> sampleVolts(const ScopeCapture& c, Channel ch, std::size_t from,
                                std::size_t to) {
    const ChannelCapture& channel = channelOf(c, ch);
    const bool twelveBit = c.converter == Converter::TwelveBit;
    std::vector<double> out;
    // The average where the display shows it.
    const bool averaged = channel.averaged.size() == channel.codes.size();
    for (std::size_t n = from; n < std::min(to, channel.codes.size()); ++n) {
        const double code = averaged ? channel.averaged[n] : channel.codes[n];
        const double units = twelveBit ? code * double(channel.scale) : 2.0 * code;
        out.push_back((units - channel.position) * channel.voltsPerDiv / kUnitsPerDivision);
    }
    return out;
}

std::vector<double> shownVolts(const ScopeCapture& c, Channel ch) {
    return sampleVolts(c, ch, c.first, c.first + c.count);
}

std::vector<double> recordVolts(const ScopeCapture& c, Channel ch) {
    return sampleVolts(c, ch, 0, channelOf(c, ch).codes.size());
}

bool shownClipped(const ScopeCapture& c, Channel ch) {
    const ChannelCapture& channel = channelOf(c, ch);
    const std::int32_t last = c.converter == Converter::TwelveBit ? kLastCode12 : kLastCode8;
    const std::size_t end = std::min(c.first + c.count, channel.codes.size());
    const auto from = channel.codes.begin() + static_cast<long>(std::min(c.first, end));
    return std::any_of(from, channel.codes.begin() + static_cast<long>(end),
                       [last](std::int32_t code) { return code <= 0 || code >= last; });
}

void keepCapture(Form1& w, ScopeCapture c) {
    MonitorState& m = w.mon();
    m.capture = std::move(c);
    m.captureShown = true;
    ++m.recordsKept;
    if (tickedOrGreyed(*w.measstats)) {
        for (const Readout& r : readouts(w)) {
            if (const std::optional<Measurement> measured = shownMeasurement(*m.capture, r.ch)) {
                addToStats(statsOf(m, r.ch), *measured);
            }
        }
    }
    showMeasurements(w);
}

namespace {

// The math trace's measurement line, while the math trace shows.
void showMathMeasurement(Form1& w, const ScopeCapture* c) {
    const MathOp op = mathOpNow(w);
    const bool shown = mathShown(w);
    w.measmath->visible = shown;
    if (!shown) {
        w.measmath->text.clear();
        return;
    }
    const std::string name(mathName(op));
    const std::vector<double> values = c == nullptr ? std::vector<double>() : shownMath(*c, op);
    if (values.empty()) {
        w.measmath->text = name + "  " + kNotKnown;
        return;
    }
    Measurement measured = measure(values, c->interval);
    measured.clipped = shownClipped(*c, Channel::CH1) || shownClipped(*c, Channel::CH2);
    w.measmath->text = measurementText(name, measured, std::string(mathUnit(op)));
}

}  // namespace

void showMeasurements(Form1& w) {
    const MonitorState& m = w.mon();
    showMathMeasurement(w, &*m.capture);
    for (const Readout& r : readouts(w)) {
        const bool recorded = !channelOf(*m.capture, r.ch).codes.empty();
        r.label->visible = recorded;
        if (!recorded) {
            r.label->text.clear();
            showStatistics(w, r, false, std::nullopt);
            continue;
        }
        const std::optional<Measurement> measured = shownMeasurement(*m.capture, r.ch);
        r.label->text =
            measured ? measurementText(r.name, *measured) : std::string(r.name) + "  " + kNotKnown;
        showStatistics(w, r, true, measured);
    }
}

void resetStatistics(Form1& w) {
    w.mon().stats = {};
    for (const Readout& r : readouts(w)) {
        if (r.stats->visible) {
            r.stats->text = statisticsText(r.name, statsOf(w.mon(), r.ch));
        }
    }
}

void showMeasurementsNow(Form1& w) {
    if (w.mon().capture && w.mon().captureShown) {
        showMeasurements(w);
    } else {
        forgetShownCapture(w);
    }
}

void Form1::measstats_Click() {
    showMeasurementsNow(*this);
}

void Form1::cmdresetstats_Click() {
    resetStatistics(*this);
}

void forgetShownCapture(Form1& w) {
    w.mon().captureShown = false;
    showMathMeasurement(w, nullptr);
    const MonitorMode* mode = chosenMode(w);
    for (const Readout& r : readouts(w)) {
        const bool drawn = mode != nullptr && (r.ch == Channel::CH1 ? mode->ch1 : mode->ch2);
        r.label->visible = drawn;
        r.label->text = drawn ? std::string(r.name) + "  " + kNotKnown : std::string();
        showStatistics(w, r, drawn, std::nullopt);
    }
}

void hideMeasurements(Form1& w) {
    for (const Ctl& c :
         {w.measch1, w.measch2, w.timech1, w.timech2, w.statch1, w.statch2, w.measmath}) {
        c->visible = false;
    }
}

}  // namespace tunx
