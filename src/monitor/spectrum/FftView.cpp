// The F F T button: the amplitude spectrum of the last record in dBFS or dBVrms.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/Measurements.h"
#include "monitor/spectrum/Fft.h"
#include "monitor/spectrum/FftWindows.h"
#include "monitor/spectrum/SpectrumAverage.h"

namespace tunx {

namespace {

constexpr const char* kNoRate = "Invalid time base for FFT!,  Valid Range is from 100ns to 100ms";
constexpr const char* kHertz = " Hz";
constexpr std::array<std::string_view, 9> kDbfsLabels = {"-80", "-70", "-60", "-50", "-40",
                                                         "-30", "-20", "-10", "0"};
constexpr std::array<std::string_view, 9> kDbvrmsLabels = {"-70", "-60", "-50", "-40", "-30",
                                                           "-20", "-10", "0",   "10"};
constexpr const char* kNoRecord =
    "No scope record of this channel to show as a spectrum: press START first.";
constexpr const char* kNoLine = "\u2014";
constexpr double kRmsOfPeakToPeak = 0.3536;
constexpr double kCodesPerDivision = 64;
constexpr int kFirstDrawnBin = 4;
constexpr double kFullScale8 = 128;  // the amplitude of a sine filling each converter
constexpr double kFullScale12 = 2048;
constexpr double kFloorCodes = 1e-9;  // a line of nothing: far below every scale
// A line stands above the noise when it is this much above the spectrum's median level: the
// strongest of 510 bins of white noise comes about 10 dB above their median.
constexpr double kAboveNoiseDb = 20;
constexpr int kPeakDigits = 4;
constexpr double kUnitsPerDivision = 64;
constexpr double kCodesPerDivision8 = 32;
constexpr const char* kAveragedOver = "  avg ";
constexpr Colour kHoldColour = colour::kGreen;

// A spectrum's levels drawn from the grid's top line down, 10 dB a division.
void drawLevels(Form1& w, const std::vector<double>& levels, double topLevel, Colour colour) {
    const MonitorState& m = w.mon();
    const auto row = [&](std::size_t k) {
        return std::clamp((topLevel - levels[k - 1]) * plot::kRowsPerDb, 0.0, double(plot::kRows));
    };
    for (std::size_t k = kFirstDrawnBin; k <= levels.size(); ++k) {
        w.canvas().Line(double(k) - 1 + m.originx, row(k - 1) + m.originy, double(k) + m.originx,
                        row(k) + m.originy, colour, plot::kTraceWidth, LineStyle::Solid);
    }
}

// sigrms from sigpp and the channel's volts per division when the record was taken (and its
// scale with the 12-bit converter); a range without volts per division leaves it as it was.
void calcmaxrmsfft(MonitorState& m, const ChannelCapture& channel, bool twelveBit) {
    if (channel.voltsPerDiv <= 0) {
        return;
    }
    double rms = m.sigpp * (channel.voltsPerDiv / kCodesPerDivision) * kRmsOfPeakToPeak;
    if (twelveBit) {
        rms *= channel.scale;
    }
    m.sigrms = rms;
}

// Beside the picture, the lines' physical levels, kept for export, and the strongest line
// beside the button. They come from the record's own samples only (a record shorter than the
// transform is not stretched by padding): less their mean, windowed over their length, then
// transformed with zeros after them, so that a sine of amplitude a codes gives a line of a.
// a is 20 log10(a / full scale) dBFS, where a sine filling the converter is full scale, or
// 20 log10(a x volts per code / sqrt 2) dBVrms. Returns the strongest line's level (from
// bin 3 on), none without samples.
std::optional<double> keepSpectrum(Form1& w, const SpectrumInput& in, const ScopeCapture& record,
                                   const ChannelCapture& channel) {
    MonitorState& m = w.mon();
    KeptMeasurements& kept = m.kept;
    kept.spectrum.clear();
    kept.spectrumHold.clear();
    kept.spectrumAveraged = 1;
    kept.binHz = record.spectrumRate / kFftPoints;
    const bool dbvrms = w.fftscale->text == fftscale::kDbvrms;
    kept.spectrumUnit = std::string(dbvrms ? fftscale::kDbvrms : fftscale::kDbfs);
    ShownLines shown = shownLines(w, lineAmplitudes(in, w.fftwindow->text));
    if (shown.amplitudes.empty()) {
        w.fftpeak->text = kNoLine;
        return std::nullopt;
    }

    const bool twelveBit = record.converter == Converter::TwelveBit;
    const double voltsPerCode = twelveBit ? channel.scale * channel.voltsPerDiv / kUnitsPerDivision
                                          : channel.voltsPerDiv / kCodesPerDivision8;
    const double fullScale = twelveBit ? kFullScale12 : kFullScale8;
    const auto level = [&](double amplitude) {
        const double a = std::max(amplitude, kFloorCodes);
        return dbvrms ? 20 * std::log10(std::max(a * voltsPerCode, kFloorCodes) / std::sqrt(2.0))
                      : 20 * std::log10(a / fullScale);
    };
    std::size_t peak = kFirstLevelBin;
    for (std::size_t k = 1; k <= kSpectrumColumns; ++k) {
        kept.spectrum.push_back(level(shown.amplitudes[k - 1]));
        if (k >= kFirstLevelBin && kept.spectrum.back() > kept.spectrum[peak - 1]) {
            peak = k;
        }
    }
    std::transform(shown.maxHold.begin(), shown.maxHold.end(),
                   std::back_inserter(kept.spectrumHold), level);
    const double strongest = kept.spectrum[peak - 1];
    std::vector<double> levels(kept.spectrum.begin() + kFirstLevelBin - 1, kept.spectrum.end());
    const auto middle = levels.begin() + static_cast<long>(levels.size() / 2);
    std::nth_element(levels.begin(), middle, levels.end());
    w.fftpeak->text = strongest - *middle < kAboveNoiseDb
                          ? std::string(kNoLine)
                          : withPrefix(static_cast<double>(peak) * kept.binHz, "Hz", kPeakDigits) +
                                "  " + formatFixed(strongest, 1) + " " + kept.spectrumUnit;
    kept.spectrumAveraged = shown.averaged;
    if (shown.averaged > 1) {
        w.fftpeak->text += kAveragedOver + std::to_string(shown.averaged);
    }
    return strongest;
}

void showSpectrum(Form1& w) {
    MonitorState& m = w.mon();
    // The record the spectrum is of, with the rate and ranges it was taken with.
    const MonitorMode* mode = chosenMode(w);
    const bool ch2 = mode != nullptr && mode->ch2 && !mode->ch1;
    if (!m.capture || (ch2 ? m.capture->ch2 : m.capture->ch1).codes.empty()) {
        w.ui().MsgBox(kNoRecord);
        return;
    }
    const ScopeCapture& record = *m.capture;
    const ChannelCapture& channel = ch2 ? record.ch2 : record.ch1;
    if (record.spectrumRate == 0) {
        w.ui().MsgBox(kNoRate);
        return;
    }
    w.fftmaxfrequency->enabled = true;
    w.fftmaxfrequency->visible = true;
    const bool twelveBit = record.converter == Converter::TwelveBit;
    SpectrumInput in = spectrumInputOf(record, ch2);
    const Colour colour = ch2 ? m.ch2colour : m.ch1colour;

    const bool dbvrms = w.fftscale->text == fftscale::kDbvrms;
    if (dbvrms || w.fftscale->text == fftscale::kDbfs) {
        const auto& labels = dbvrms ? kDbvrmsLabels : kDbfsLabels;
        const auto divs = w.divLabels();
        for (std::size_t i = 0; i < divs.size(); ++i) {
            (*divs[i])->text = std::string(labels[i]);
        }
        w.ldivunit->text = std::string(dbvrms ? fftscale::kDbvrms : fftscale::kDbfs);
    }
    w.ch1text->visible = false;
    w.ch2text->visible = false;
    w.fftmaxfrequency->text =
        formatGrouped(record.spectrumRate / 2, 0, w.state().host.groupSeparator) + kHertz;

    m.sigpp = CInt(double(in.largest) - in.smallest);
    try {
        calcmaxrmsfft(m, channel, twelveBit);
    } catch (const RuntimeError&) {
        // sigrms stays as it was
    }
    if (m.sigrms <= 0) {
        m.sigrms = 1.0;
    }
    const double rmsDbv = 20 * std::log10(m.sigrms);

    const std::optional<double> strongestDbfs = keepSpectrum(w, in, record, channel);
    const KeptMeasurements& kept = m.kept;
    const bool averaged = kept.spectrumAveraged > 1;
    // The window chosen beside the button ("Rectangular" leaves the samples as they are).
    applyWindow(w.fftwindow->text, in.re);
    std::array<double, kFftPoints> im{};
    fft1024(in.re, im);
    w.canvas().Clear();
    mgrid1(w.canvas());
    m.fftmag = fftMagnitudes(in.re, im);
    const double strongest = strongestLevel(m.fftmag);
    const double offset =
        dbvrms ? dbvrmsOffset(strongest, rmsDbv) : dbfsOffset(strongest, strongestDbfs.value_or(0));
    // With the average or the max hold on, the levels kept are drawn: the max hold behind, in
    // its own colour, the average over it.
    if (averaged || !kept.spectrumHold.empty()) {
        const double top = dbvrms ? plot::kDbvrmsTop : 0;
        if (!kept.spectrumHold.empty()) {
            drawLevels(w, kept.spectrumHold, top, kHoldColour);
        }
        drawLevels(w, kept.spectrum, top, colour);
        return;
    }
    const auto rows = spectrumRows(m.fftmag, offset);
    for (int k = kFirstDrawnBin; k <= kSpectrumColumns; ++k) {
        const auto i = static_cast<std::size_t>(k);
        w.canvas().Line(k - 1 + m.originx, rows[i - 1] + m.originy, k + m.originx,
                        rows[i] + m.originy, colour, plot::kTraceWidth, LineStyle::Solid);
    }
}

}  // namespace

void Form1::cmdfft_Click() {
    cmdstop_Click();
    reclenght->value = 1;
    mon().fftflag = true;
    showSpectrum(*this);
}

}  // namespace tunx
