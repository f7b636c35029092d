// How the scope shows its records: the running average of the last ones, peak detect in the
// rolling display, and earlier traces that stay on the plot, fading or not.
#include "monitor/scope/AcquisitionDisplay.h"

#include <algorithm>
#include <cmath>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/scope/Capture.h"

namespace tunx {

namespace {

constexpr std::string_view kAveragePrefix = "Average ";
// A fading trace keeps e^-3 (5 %) of its contrast when its time is up; the picture's last
// steps take the rest.
constexpr double kFadeTimeConstants = 3;
constexpr double kMsPerSecond = 1000;

// The settings a record's codes depend on, and the count: records of other ones are not
// averaged together.
std::string settingsKey(const ScopeCapture& c, std::size_t n) {
    std::string key = std::to_string(n) + "|" + (c.converter == Converter::TwelveBit ? "12" : "8") +
                      "|" + (c.undersampling ? "u" : "r") + "|" + c.timeBase + "|" +
                      formatGeneral(c.hexpand) + "|" + (c.longRecord ? "long" : "short") + "|" +
                      c.trigger.mode + "|" + c.trigger.edge + "|" + c.trigger.source + "|" +
                      std::to_string(c.trigger.level);
    for (const ChannelCapture* ch : {&c.ch1, &c.ch2}) {
        key += "|" + (ch->codes.empty() ? std::string("-") : ch->range) + "|" +
               std::to_string(ch->position) + "|" + formatGeneral(ch->scale);
    }
    return key;
}

// Adds (sign 1) or takes away (sign -1) a record's aligned codes to the sums.
void count(TraceAverage& a, const std::array<std::vector<std::int32_t>, 2>& record, int sign) {
    for (std::size_t ch = 0; ch < record.size(); ++ch) {
        const std::vector<std::int32_t>& codes = record[ch];
        if (a.sums[ch].size() < codes.size()) {
            a.sums[ch].resize(codes.size());
            a.counts[ch].resize(codes.size());
        }
        for (std::size_t j = 0; j < codes.size(); ++j) {
            a.sums[ch][j] += sign * codes[j];
            a.counts[ch][j] = static_cast<std::uint32_t>(static_cast<int>(a.counts[ch][j]) + sign);
        }
    }
}

}  // namespace

std::size_t recordsAveraged(std::string_view acqmode) {
    if (std::find(kAcqModeTexts.begin(), kAcqModeTexts.end(), acqmode) == kAcqModeTexts.end() ||
        !acqmode.starts_with(kAveragePrefix)) {
        return 1;
    }
    return static_cast<std::size_t>(std::stoi(std::string(acqmode.substr(kAveragePrefix.size()))));
}

Persistence persistenceOf(std::string_view text) {
    if (text == kPersistenceTexts[1]) {
        return {true, 0.5};
    }
    if (text == kPersistenceTexts[2]) {
        return {true, 2};
    }
    if (text == kPersistenceTexts[3]) {
        return {true, 0};
    }
    return {};
}

bool peakStreaming(Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    return w.mon().vslowtb && w.acqmode->text == kPeakDetect && mode != nullptr && mode->isScope();
}

std::int32_t recordDivider(Form1& w) {
    const std::int32_t divider = w.mon().adcdiv;
    if (!peakStreaming(w)) {
        return divider;
    }
    return std::max<std::int32_t>(1, CLng(double(divider) / kPeakSamplesPerColumn));
}

void restartAcquisition(Form1& w) {
    MonitorState& m = w.mon();
    m.average = {};
    m.fadedAtMs = w.clock().elapsedMs();
}

void averageRecord(Form1& w, ScopeCapture& c, std::size_t alignAt) {
    TraceAverage& a = w.mon().average;
    const std::size_t n = recordsAveraged(w.acqmode->text);
    if (n <= 1 || c.rolling) {
        a = {};
        return;
    }
    const std::string key = settingsKey(c, n);
    if (key != a.key) {
        a = {};
        a.key = key;
    }
    std::array<std::vector<std::int32_t>, 2> aligned;
    for (Channel ch : {Channel::CH1, Channel::CH2}) {
        const std::vector<std::int32_t>& codes = channelOf(c, ch).codes;
        if (alignAt < codes.size()) {
            aligned[ch == Channel::CH1 ? 0 : 1].assign(codes.begin() + static_cast<long>(alignAt),
                                                       codes.end());
        }
    }
    count(a, aligned, 1);
    a.records.push_back(std::move(aligned));
    while (a.records.size() > n) {
        count(a, a.records.front(), -1);
        a.records.pop_front();
    }
    for (Channel ch : {Channel::CH1, Channel::CH2}) {
        ChannelCapture& channel = channelOf(c, ch);
        const std::size_t i = ch == Channel::CH1 ? 0 : 1;
        channel.averaged.assign(channel.codes.begin(), channel.codes.end());
        for (std::size_t j = 0; j < a.sums[i].size() && alignAt + j < channel.averaged.size();
             ++j) {
            if (a.counts[i][j] > 0) {
                channel.averaged[alignAt + j] =
                    static_cast<double>(a.sums[i][j]) / static_cast<double>(a.counts[i][j]);
            }
        }
    }
    c.averagedRecords = a.records.size();
}

bool keepsEarlierTraces(Form1& w) {
    return persistenceOf(w.persistence->text).on;
}

void fadeEarlierTraces(Form1& w) {
    MonitorState& m = w.mon();
    const Persistence p = persistenceOf(w.persistence->text);
    const long long now = w.clock().elapsedMs();
    const long long since = now - m.fadedAtMs;
    if (!p.on || p.seconds == 0 || since <= 0) {
        return;
    }
    m.fadedAtMs = now;
    const double tau = p.seconds * kMsPerSecond / kFadeTimeConstants;
    w.canvas().Fade(std::exp(-static_cast<double>(since) / tau));
}

std::string acquisitionCaption(Form1& w) {
    // Short: it shares the row under the plot with the time base and the V/div.
    const MonitorMode* mode = chosenMode(w);
    if (mode == nullptr || !mode->isScope()) {
        return {};
    }
    const MonitorState& m = w.mon();
    const std::size_t n = recordsAveraged(w.acqmode->text);
    if (w.acqmode->text == kPeakDetect) {
        return peakStreaming(w) ? "Peak x" + std::to_string(kPeakSamplesPerColumn)
                                : std::string("Peak: as Normal");
    }
    if (n > 1 && m.vslowtb) {
        return "Avg: none here";
    }
    if (n > 1) {
        const std::size_t taken =
            m.capture && m.captureShown ? std::min(m.capture->averagedRecords, n) : 0;
        return "Avg " + (taken < n ? std::to_string(taken) + "/" : std::string()) +
               std::to_string(n);
    }
    return {};
}

void Form1::acqmode_Click() {
    showAcquisition(*this);
    scopeSettingChanged();
}

void Form1::persistence_Click() {
    showAcquisition(*this);
    scopeSettingChanged();
}

void showAcquisition(Form1& w) {
    std::string caption = acquisitionCaption(w);
    w.acqtext->visible = !caption.empty();
    if (w.acqtext->text != caption) {
        w.acqtext->text = std::move(caption);
    }
}

}  // namespace tunx
