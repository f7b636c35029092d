// The spectrum's power average over the last records, and its max hold.
#include "monitor/spectrum/SpectrumAverage.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "common/Numbers.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/spectrum/FftWindows.h"
#include "window/CheckBox.h"

namespace tunx {

namespace {

// The spectrum of a CH2-only scope mode is CH2's, any other CH1's.
bool showsCh2(Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    return mode != nullptr && mode->ch2 && !mode->ch1;
}

bool holdOn(Form1& w) {
    return ticked(*w.ffthold);
}

// The settings a record's spectrum depends on: the lines of records with other ones are not
// comparable.
std::string settingsKey(Form1& w, const ScopeCapture& record) {
    const bool ch2 = showsCh2(w);
    const ChannelCapture& channel = ch2 ? record.ch2 : record.ch1;
    return std::string(ch2 ? "CH2" : "CH1") + "|" +
           (record.converter == Converter::TwelveBit ? "12" : "8") + "|" +
           formatGeneral(record.spectrumRate) + "|" + formatGeneral(channel.voltsPerDiv) + "|" +
           formatGeneral(channel.scale) + "|" + (record.longRecord ? "long" : "short") + "|" +
           w.fftwindow->text;
}

}  // namespace

SpectrumInput spectrumInputOf(const ScopeCapture& record, bool ch2) {
    const ChannelCapture& channel = ch2 ? record.ch2 : record.ch1;
    const bool twelveBit = record.converter == Converter::TwelveBit;
    const std::size_t first = twelveBit || ch2 ? 1 : 0;
    return spectrumInput(std::span(channel.codes).subspan(std::min(first, channel.codes.size())),
                         twelveBit);
}

std::vector<double> lineAmplitudes(const SpectrumInput& in, std::string_view window) {
    const auto n = static_cast<std::size_t>(in.samples);
    if (n == 0) {
        return {};
    }
    std::array<double, kFftPoints> re{}, im{};
    double mean = 0;
    for (std::size_t t = 0; t < n; ++t) {
        mean += in.re[t] / static_cast<double>(n);
    }
    for (std::size_t t = 0; t < n; ++t) {
        re[t] = in.re[t] - mean;
    }
    applyWindow(window, std::span(re).first(n));
    fft1024(re, im);
    std::vector<double> out;
    out.reserve(kSpectrumColumns);
    for (std::size_t k = 1; k <= kSpectrumColumns; ++k) {
        out.push_back(2 * std::hypot(re[k], im[k]) / static_cast<double>(n));
    }
    return out;
}

std::size_t spectraAveraged(std::string_view text) {
    if (text == kFftAverageTexts[0] || std::find(kFftAverageTexts.begin(), kFftAverageTexts.end(),
                                                 text) == kFftAverageTexts.end()) {
        return 1;
    }
    return static_cast<std::size_t>(std::stoi(std::string(text)));
}

void stackSpectrum(Form1& w) {
    MonitorState& m = w.mon();
    SpectrumHistory& h = m.spectra;
    const std::size_t n = spectraAveraged(w.fftaverage->text);
    if ((n <= 1 && !holdOn(w)) || !m.capture || m.capture->spectrumRate == 0) {
        h = {};
        return;
    }
    const std::vector<double> lines =
        lineAmplitudes(spectrumInputOf(*m.capture, showsCh2(w)), w.fftwindow->text);
    if (lines.empty()) {
        return;
    }
    const std::string key = settingsKey(w, *m.capture);
    if (key != h.key) {
        h = {};
        h.key = key;
    }
    std::vector<double> powers(lines.size());
    std::transform(lines.begin(), lines.end(), powers.begin(), [](double a) { return a * a; });
    if (h.maxHold.empty()) {
        h.maxHold = powers;
    }
    std::transform(h.maxHold.begin(), h.maxHold.end(), powers.begin(), h.maxHold.begin(),
                   [](double held, double p) { return std::max(held, p); });
    h.powers.push_back(std::move(powers));
    while (h.powers.size() > n) {
        h.powers.pop_front();
    }
}

ShownLines shownLines(Form1& w, std::vector<double> last) {
    MonitorState& m = w.mon();
    const SpectrumHistory& h = m.spectra;
    ShownLines shown;
    shown.amplitudes = std::move(last);
    // Only the records of the settings the last one was taken with count.
    if (!m.capture || h.powers.empty() || h.key != settingsKey(w, *m.capture) ||
        shown.amplitudes.empty()) {
        return shown;
    }
    const std::size_t n = std::min(spectraAveraged(w.fftaverage->text), h.powers.size());
    if (n > 1) {
        for (std::size_t k = 0; k < shown.amplitudes.size(); ++k) {
            double sum = 0;
            for (auto it = h.powers.end() - static_cast<long>(n); it != h.powers.end(); ++it) {
                sum += (*it)[k];
            }
            shown.amplitudes[k] = std::sqrt(sum / static_cast<double>(n));
        }
        shown.averaged = n;
    }
    if (holdOn(w)) {
        shown.maxHold.resize(h.maxHold.size());
        std::transform(h.maxHold.begin(), h.maxHold.end(), shown.maxHold.begin(),
                       [](double p) { return std::sqrt(p); });
    }
    return shown;
}

}  // namespace tunx
