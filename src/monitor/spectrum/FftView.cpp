// The F F T button: the amplitude spectrum of the last record in dBFS or dBVrms.
#include <cmath>
#include <string_view>

#include "common/Numbers.h"
#include "common/RuntimeError.h"
#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/Measurements.h"
#include "monitor/scope/Ranges.h"
#include "monitor/spectrum/Fft.h"
#include "monitor/spectrum/FftWindows.h"

namespace tunx {

namespace {

constexpr const char* kNoRate = "Invalid time base for FFT!,  Valid Range is from 100ns to 100ms";
constexpr const char* kHertz = " Hz";
constexpr std::array<std::string_view, 9> kDbfsLabels = {"-80", "-70", "-60", "-50", "-40",
                                                         "-30", "-20", "-10", "0"};
constexpr std::array<std::string_view, 9> kDbvrmsLabels = {"-70", "-60", "-50", "-40", "-30",
                                                           "-20", "-10", "0",   "10"};
constexpr double kRmsOfPeakToPeak = 0.3536;
constexpr double kCodesPerDivision = 64;
constexpr int kFirstDrawnBin = 4;
constexpr std::size_t kFirstLevelBin = 3;  // the first bins (0 Hz included) are left out
constexpr double kFullScale8 = 128;        // the amplitude of a sine filling each converter
constexpr double kFullScale12 = 2048;
constexpr double kFloorCodes = 1e-9;  // a line of nothing: far below every scale
constexpr int kPeakDigits = 4;
constexpr double kDivisions = 8;
constexpr double kMillivoltsPerVolt = 1000;
constexpr double kUnitsPerDivision = 64;
constexpr double kCodesPerDivision8 = 32;

// Volts per division of a range text, "2V" included; nothing for other texts.
std::optional<double> voltsPerDivision(std::string_view text) {
    struct Range {
        std::string_view text;
        double volts;
    };
    constexpr Range kRanges[] = {{"2V", 2},     {"1V", 1},      {"0.5V", 0.5},  {"0.2V", 0.2},
                                 {"0.1V", 0.1}, {"50mV", 0.05}, {"20mV", 0.02}, {"10mV", 0.01}};
    for (const Range& r : kRanges) {
        if (r.text == text) {
            return r.volts;
        }
    }
    return std::nullopt;
}

// sigrms from sigpp and the selected channel's volts per division (and the channel scale
// with the 12-bit converter); other modes or texts leave it as it was.
void calcmaxrmsfft(Form1& w) {
    MonitorState& m = w.mon();
    const MonitorMode* mode = chosenMode(w);
    if (mode == nullptr || !mode->singleChannel()) {
        return;
    }
    const bool one = mode->ch1;
    const std::optional<double> v = voltsPerDivision((one ? w.ch1vdiv : w.ch2vdiv)->text);
    if (!v) {
        return;
    }
    double rms = m.sigpp * (*v / kCodesPerDivision) * kRmsOfPeakToPeak;
    if (w.adcselect->text == adc::k12Bit) {
        rms *= one ? m.ch1scale : m.ch2scale;
    }
    m.sigrms = rms;
}

// Beside the picture, the lines' physical levels, kept for export, and the strongest line
// beside the button. They come from the record's own samples only (a record shorter than the
// transform is not stretched by padding): less their mean, windowed over their length, then
// transformed with zeros after them, so that a sine of amplitude a codes gives a line of a.
// a is 20 log10(a / full scale) dBFS, where a sine filling the converter is full scale, or
// 20 log10(a x volts per code / sqrt 2) dBVrms.
void keepSpectrum(Form1& w, const SpectrumInput& in, bool twelveBit, bool ch2) {
    MonitorState& m = w.mon();
    KeptMeasurements& kept = m.kept;
    kept.spectrum.clear();
    kept.binHz = m.fftrate / kFftPoints;
    const bool dbvrms = w.fftscale->text == fftscale::kDbvrms;
    kept.spectrumUnit = std::string(dbvrms ? fftscale::kDbvrms : fftscale::kDbfs);
    const auto n = static_cast<std::size_t>(in.samples);
    if (n == 0) {
        w.fftpeak->text.clear();
        return;
    }
    std::array<double, kFftPoints> re{}, im{};
    double mean = 0;
    for (std::size_t t = 0; t < n; ++t) {
        mean += in.re[t] / static_cast<double>(n);
    }
    for (std::size_t t = 0; t < n; ++t) {
        re[t] = in.re[t] - mean;
    }
    applyWindow(w.fftwindow->text, std::span(re).first(n));
    fft1024(re, im);

    const VoltsRange* range = findRange((ch2 ? w.ch2vdivtext : w.ch1vdivtext)->text);
    const double vdiv = range == nullptr ? 0 : range->k / kDivisions / kMillivoltsPerVolt;
    const double voltsPerCode = twelveBit
                                    ? (ch2 ? m.ch2scale : m.ch1scale) * vdiv / kUnitsPerDivision
                                    : vdiv / kCodesPerDivision8;
    const double fullScale = twelveBit ? kFullScale12 : kFullScale8;
    std::size_t peak = kFirstLevelBin;
    for (std::size_t k = 1; k <= kSpectrumColumns; ++k) {
        const double a =
            std::max(2 * std::hypot(re[k], im[k]) / static_cast<double>(n), kFloorCodes);
        kept.spectrum.push_back(
            dbvrms ? 20 * std::log10(std::max(a * voltsPerCode, kFloorCodes) / std::sqrt(2.0))
                   : 20 * std::log10(a / fullScale));
        if (k >= kFirstLevelBin && kept.spectrum.back() > kept.spectrum[peak - 1]) {
            peak = k;
        }
    }
    w.fftpeak->text = withPrefix(static_cast<double>(peak) * kept.binHz, "Hz", kPeakDigits) + "  " +
                      formatFixed(kept.spectrum[peak - 1], 1) + " " + kept.spectrumUnit;
}

void showSpectrum(Form1& w) {
    MonitorState& m = w.mon();
    if (m.fftrate == 0) {
        w.ui().MsgBox(kNoRate);
        return;
    }
    w.fftmaxfrequency->enabled = true;
    w.fftmaxfrequency->visible = true;
    const MonitorMode* mode = chosenMode(w);
    const bool ch2 = mode != nullptr && mode->ch2 && !mode->ch1;
    const bool twelveBit = w.adcselect->text == adc::k12Bit;
    SpectrumInput in = spectrumInput(m.record, m.recordBytes, twelveBit, ch2);
    const Colour colour = colourOf(ch2 ? m.ch2colour : m.ch1colour);

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
        formatGrouped(m.fftrate / 2, 0, w.state().host.groupSeparator) + kHertz;

    m.sigpp = CInt(double(in.largest) - in.smallest);
    try {
        calcmaxrmsfft(w);
    } catch (const RuntimeError&) {
        // sigrms stays as it was
    }
    if (m.sigrms <= 0) {
        m.sigrms = 1.0;
    }
    const double rmsDbv = 20 * std::log10(m.sigrms);

    keepSpectrum(w, in, twelveBit, ch2);
    // The window chosen beside the button ("Rectangular" leaves the samples as they are).
    applyWindow(w.fftwindow->text, in.re);
    std::array<double, kFftPoints> im{};
    fft1024(in.re, im);
    w.canvas().Clear();
    mgrid1(w.canvas());
    m.fftmag = fftMagnitudes(in.re, im);
    const double strongest = strongestLevel(m.fftmag);
    const double offset = dbvrms ? dbvrmsOffset(strongest, rmsDbv) : dbfsOffset(strongest);
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
