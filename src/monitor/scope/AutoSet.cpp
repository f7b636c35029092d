// "Auto Set": the scope's settings chosen from a few quick records of what the inputs carry.
#include "monitor/scope/AutoSet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/RunLoop.h"
#include "monitor/plot/Cursors.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Measurements.h"
#include "monitor/scope/ScopeReadout.h"
#include "monitor/scope/ScopeSetup.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

constexpr const char* kNotScope =
    "Auto Set works in the scope modes: choose Scope CH1, Scope CH2 or Scope CH1+CH2 first.";
constexpr const char* kNoSignal =
    "Auto Set found no repeating signal of at least 10 mVpp on the shown channels. The "
    "settings were not changed.";
constexpr const char* kNoRecord =
    "Auto Set took no record from the scope. The settings were not changed.";

// The ranges the 8-bit converter takes: all but 10mV, which needs the 12-bit converter.
bool eightBit(const VoltsRange& r) {
    return r.text != kRange10mV;
}
const VoltsRange& largestRange() {
    return voltsRanges().front();
}
constexpr double kLowestDivisions = 4;
constexpr double kHighestDivisions = 7;
constexpr double kTallestDivisions = 7.5;
constexpr double kFarthestMiddle = 4;  // divisions from the centre line a position reaches
constexpr double kProbeReach = 3.8;    // divisions from the centre line a quick record uses
constexpr int kMostRetakes = 2;        // records again at one time base for a better range

constexpr double kDivisions = 10;
constexpr double kFewestPeriods = 2;
constexpr double kMostPeriods = 5;
constexpr double kBestPeriods = 4;
constexpr double kRounding = 1e-9;  // 10 x 50 ns x 10 MHz is 5 periods, not a little more
constexpr double kFewestSamplesPerPeriod = 8;

// The probes' time bases, fastest first: each finds signals its record holds two periods of
// and samples well enough, and together they cover 3 Hz to 5 MHz.
constexpr std::array<std::string_view, 5> kProbes = {"1us/div", "20us/div", "500us/div", "20ms/div",
                                                     "100ms/div"};
// Beyond real time: the first undersampling look, for 4 MHz and faster.
constexpr std::string_view kUndersamplingProbe = "50ns/div";

constexpr int kMostRecords = 16;     // records one Auto Set takes at most
constexpr int kWaitsForRecord = 60;  // looks at the scope for one record
constexpr int kWaitMs = 50;          // between those looks: 3 s in all, a 1 s record and more
constexpr double kLeastSignalVpp = 0.01;
// A range that showed the signal less than a division tall, or clipped, measured it
// too coarsely to be kept: the record is taken again at the range it suggests.
constexpr double kCoarseDivisions = 1;

constexpr std::int32_t kLowestCode = 0;
constexpr std::int32_t kHighestCode = 255;
constexpr double kUnitsPerDivision = 64;
constexpr double kCentre = 256;
constexpr double kHighestUnit = 512;

// The settings Auto Set may change, to put back when it finds nothing.
struct Panel {
    std::string adc, sampling, timeBase, ch1, ch2, trigMode, trigSource, trigEdge;
    int longRecord = 0;
    std::int16_t ch1pos = 0, ch2pos = 0, triglevel = 0;
    RunState monstate = RunState::Stopped;
    std::string status;
    bool running = false;
};

Panel remember(Form1& w) {
    const MonitorState& m = w.mon();
    return {w.adcselect->text,  w.scopemode->text,  w.seltimediv->text, w.ch1vdiv->text,
            w.ch2vdiv->text,    w.trigmode->text,   w.trigsource->text, w.trigeredge->text,
            w.reclenght->value, m.ch1pos,           m.ch2pos,           m.triglevel,
            m.monstate,         w.textstatus->text, measuring(m)};
}

std::vector<Channel> shownChannels(const MonitorMode& mode) {
    std::vector<Channel> shown;
    if (mode.ch1) {
        shown.push_back(Channel::CH1);
    }
    if (mode.ch2) {
        shown.push_back(Channel::CH2);
    }
    return shown;
}

Ctl rangeList(Form1& w, Channel ch) {
    return ch == Channel::CH1 ? w.ch1vdiv : w.ch2vdiv;
}

// The converter, sampling and time base as their lists' handlers take them.
void applyTimeBase(Form1& w, std::string_view timeBase, bool undersampling) {
    w.adcselect->text = std::string(adc::k8Bit);
    w.scopemode->text = std::string(undersampling ? sampling::kUndersampling : sampling::kRealTime);
    w.seltimediv->text = std::string(timeBase);
    w.scopemode_Click();
}

// Arms the scope with the panel's settings, as START does, and waits for one whole record.
std::optional<ScopeCapture> takeRecord(Form1& w) {
    MonitorState& m = w.mon();
    if (!(setscope2t(w) && channelVoltsPerDiv(w, Channel::CH1) &&
          channelVoltsPerDiv(w, Channel::CH2) && setscope2t(w))) {
        return std::nullopt;
    }
    m.monstate = RunState::Scope;
    for (int look = 0; look < kWaitsForRecord; ++look) {
        const std::uint64_t kept = m.recordsKept;
        if (!scopedisplay2t(w)) {
            return std::nullopt;
        }
        if (m.recordsKept != kept && m.capture) {
            return m.capture;
        }
        w.clock().Sleep(kWaitMs);
    }
    return std::nullopt;
}

// What one record says of one channel.
struct Look {
    Channel ch = Channel::CH1;
    Measurement measured;
    bool clipped = false;
    double low = 0, high = 0;  // volts
};

Look look(const ScopeCapture& c, Channel ch) {
    Look l;
    l.ch = ch;
    const std::vector<double> volts = recordVolts(c, ch);
    l.measured = measure(volts, c.interval);
    if (!volts.empty()) {
        const auto [low, high] = std::minmax_element(volts.begin(), volts.end());
        l.low = *low;
        l.high = *high;
    }
    const std::vector<std::int32_t>& codes = channelOf(c, ch).codes;
    l.clipped = std::any_of(codes.begin(), codes.end(), [](std::int32_t code) {
        return code <= kLowestCode || code >= kHighestCode;
    });
    return l;
}

const VoltsRange& rangeOf(Form1& w, Channel ch) {
    const VoltsRange* r = findRange(rangeList(w, ch)->text);
    return r != nullptr ? *r : largestRange();
}

// The range the next quick record takes the channel at, its zero line on the centre line:
// the largest after a record that clipped, else the most sensitive that keeps what this one
// saw on the plot.
const VoltsRange& probeRange(const Look& l) {
    const double reach = std::max(std::abs(l.high), std::abs(l.low));
    if (!l.clipped) {
        for (const VoltsRange& r :
             voltsRanges() | std::views::reverse | std::views::filter(eightBit)) {
            if (reach / voltsPerDivision(r) <= kProbeReach) {
                return r;
            }
        }
    }
    return largestRange();
}

void putBack(Form1& w, const Panel& p) {
    MonitorState& m = w.mon();
    w.trigmode->text = p.trigMode;
    w.trigsource->text = p.trigSource;
    w.trigeredge->text = p.trigEdge;
    w.reclenght->value = p.longRecord;
    w.ch1vdiv->text = p.ch1;
    w.ch2vdiv->text = p.ch2;
    placeChannel(w, Channel::CH1, p.ch1pos);
    placeChannel(w, Channel::CH2, p.ch2pos);
    placeTriggerLevel(w, p.triglevel);
    w.TabStrip2_Click();
    w.adcselect->text = p.adc;
    w.scopemode->text = p.sampling;
    w.seltimediv->text = p.timeBase;
    w.scopemode_Click();
    channelVoltsPerDiv(w, Channel::CH1);
    channelVoltsPerDiv(w, Channel::CH2);
    // A scope that ran starts over with its own settings; one that stood still stays so.
    m.monstate = p.running ? RunState::StartScope : p.monstate;
    if (!p.running) {
        w.canvas().Clear();
        forgetShownCapture(w);
    }
    w.textstatus->text = p.status;
    w.ui().Repaint(*w.textstatus);
}

void giveUp(Form1& w, const Panel& p, const char* why) {
    putBack(w, p);
    w.ui().MsgBox(why);
}

// The position that puts the middle of the signal on the centre line, as close as the plot
// allows.
std::int16_t centredPosition(const Look& l, double voltsPerDiv) {
    const double middle = (l.high + l.low) / 2;
    const double pos = kCentre - middle / voltsPerDiv * kUnitsPerDivision;
    return static_cast<std::int16_t>(std::lround(std::clamp(pos, 0.0, kHighestUnit)));
}

}  // namespace

const VoltsRange& autosetRange(double pp, double middle) {
    const VoltsRange* tallest = nullptr;
    for (const VoltsRange& r : voltsRanges() | std::views::reverse | std::views::filter(eightBit)) {
        const double divisions = pp / voltsPerDivision(r);
        if (std::abs(middle) / voltsPerDivision(r) > kFarthestMiddle) {
            continue;  // no position brings it onto the plot
        }
        if (divisions >= kLowestDivisions && divisions <= kHighestDivisions) {
            return r;
        }
        if (tallest == nullptr && divisions <= kTallestDivisions) {
            tallest = &r;
        }
    }
    return tallest != nullptr ? *tallest : largestRange();
}

std::optional<AutosetTimeBase> autosetTimeBase(double hz) {
    std::optional<AutosetTimeBase> best;
    double bestScore = 0;
    for (const TimeBase& tb : timeBases()) {
        const double periods = kDivisions * secondsPerDivision(tb) * hz;
        if (!(periods >= kFewestPeriods - kRounding && periods <= kMostPeriods + kRounding)) {
            continue;
        }
        AutosetTimeBase candidate{&tb, false};
        if (tb.realTime && !tb.realTime->vslowtb) {
            const double rate = converterRate(false, tb.realTime->slowtb, tb.realTime->adcdiv);
            if (rate / hz < kFewestSamplesPerPeriod) {
                if (!tb.under) {
                    continue;
                }
                candidate.undersampling = true;
            }
        } else if (tb.under) {
            candidate.undersampling = true;
        } else {
            continue;
        }
        const double score = std::abs(std::log(periods / kBestPeriods));
        if (!best || score < bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

void autoset(Form1& w) {
    MonitorState& m = w.mon();
    const MonitorMode* mode = chosenMode(w);
    if (mode == nullptr || !mode->isScope()) {
        w.ui().MsgBox(kNotScope);
        return;
    }
    const Panel before = remember(w);
    const std::vector<Channel> channels = shownChannels(*mode);

    // The quick records: free-running, short, the largest range with the zero line on the
    // centre line, the fastest probe first.
    w.trigmode->text = std::string(trigger::kFreeRunning);
    w.reclenght->value = kCleared;
    for (Channel ch : channels) {
        rangeList(w, ch)->text = std::string(largestRange().text);
        placeChannel(w, ch, static_cast<std::int16_t>(kCentre));
    }
    w.TabStrip2_Click();
    std::size_t probe = 0;
    std::string_view timeBase = kProbes[probe];
    bool undersampling = false;
    applyTimeBase(w, timeBase, undersampling);

    std::vector<Look> looks;
    bool settled = false;
    bool targeted = false;  // the time base was chosen for the frequency `known`
    std::optional<double> known;
    int retakes = 0;
    for (int record = 0; record < kMostRecords && !settled; ++record) {
        const std::optional<ScopeCapture> c = takeRecord(w);
        if (!c) {
            giveUp(w, before, kNoRecord);
            return;
        }
        looks.clear();
        bool coarse = false;
        for (Channel ch : channels) {
            looks.push_back(look(*c, ch));
            const Look& l = looks.back();
            const VoltsRange& next = probeRange(l);
            const double divisions = l.measured.pp / voltsPerDivision(rangeOf(w, ch));
            if (next.text != rangeOf(w, ch).text) {
                coarse = coarse || l.clipped || divisions < kCoarseDivisions;
                rangeList(w, ch)->text = std::string(next.text);
            }
        }
        if (coarse && retakes < kMostRetakes) {
            ++retakes;
            continue;  // the same time base again, at the range the signal asks for
        }
        const Look& strongest = *std::max_element(
            looks.begin(), looks.end(),
            [](const Look& a, const Look& b) { return a.measured.pp < b.measured.pp; });
        // At a time base chosen for it, a record of two periods may hold too few crossings
        // to measure again: the frequency found before stands.
        std::optional<double> hz = strongest.measured.frequency;
        if (!hz && targeted) {
            hz = known;
        }
        // Less than the least signal is noise, whatever it seems to repeat at; a slower probe
        // may see more of a slow signal.
        if (strongest.measured.pp < kLeastSignalVpp) {
            hz.reset();
        }
        known = hz;
        std::optional<AutosetTimeBase> target;
        if (hz) {
            target = autosetTimeBase(*hz);
            // A signal faster than real time samples well is looked at in equivalent time.
            const bool tooFast = *hz * c->interval * kFewestSamplesPerPeriod > 1;
            if (tooFast && !undersampling && !(target && target->undersampling)) {
                target = AutosetTimeBase{findTimeBase(kUndersamplingProbe), true};
            }
        }
        if (!target) {
            if (undersampling || ++probe == kProbes.size()) {
                break;
            }
            timeBase = kProbes[probe];
            targeted = false;
        } else {
            targeted = true;
            settled = target->timeBase->text == timeBase && target->undersampling == undersampling;
            timeBase = target->timeBase->text;
            undersampling = target->undersampling;
        }
        retakes = 0;
        if (!settled) {
            applyTimeBase(w, timeBase, undersampling);
        }
    }
    if (!settled) {
        giveUp(w, before, kNoSignal);
        return;
    }

    // Each channel 4 to 7 divisions tall with its middle on the centre line; the trigger at the
    // strongest one's middle.
    for (const Look& l : looks) {
        const VoltsRange& r = autosetRange(l.measured.pp, (l.high + l.low) / 2);
        rangeList(w, l.ch)->text = std::string(r.text);
        placeChannel(w, l.ch, centredPosition(l, voltsPerDivision(r)));
    }
    const Look& strongest = *std::max_element(
        looks.begin(), looks.end(),
        [](const Look& a, const Look& b) { return a.measured.pp < b.measured.pp; });
    const double perDiv = voltsPerDivision(rangeOf(w, strongest.ch));
    const double pos = strongest.ch == Channel::CH1 ? m.ch1pos : m.ch2pos;
    const double level = pos + (strongest.high + strongest.low) / 2 / perDiv * kUnitsPerDivision;
    placeTriggerLevel(w,
                      static_cast<std::int16_t>(std::lround(std::clamp(level, 0.0, kHighestUnit))));
    w.TabStrip2_Click();
    w.trigmode->text = std::string(trigger::kAuto);
    w.trigeredge->text = std::string(trigger::kPositive);
    w.trigsource->text = std::string(strongest.ch == Channel::CH1 ? trigger::kCH1 : trigger::kCH2);
    channelVoltsPerDiv(w, Channel::CH1);
    channelVoltsPerDiv(w, Channel::CH2);
    m.monstate = RunState::StartScope;
    showRunState(w);
}

void Form1::cmdautoset_Click() {
    autoset(*this);
}

}  // namespace tunx
