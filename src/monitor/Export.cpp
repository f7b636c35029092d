// The monitor's measurements written out as CSV files.
#include "monitor/Export.h"

#include <array>
#include <charconv>
#include <cmath>

#include "common/SafeSave.h"
#include "monitor/Form1.h"
#include "monitor/scope/Capture.h"
#include "monitor/sweep/SweepLevel.h"

namespace tunx {

namespace {

constexpr const char* kNothingYet = "nothing has been measured yet";
constexpr const char* kDbv = "dBV";
constexpr double kPlainUpTo = 1e15;
// A number as CSV text: the shortest that reads back as the same value, dot decimal, without
// an exponent for the magnitudes a measurement has.
std::string number(double v) {
    std::array<char, 400> buffer{};
    const auto format =
        std::abs(v) < kPlainUpTo ? std::chars_format::fixed : std::chars_format::general;
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, format);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string("nan");
}

}  // namespace

std::optional<ExportKind> exportKind(const std::string& word) {
    if (word == "scope") {
        return ExportKind::Scope;
    }
    if (word == "sweep") {
        return ExportKind::Sweep;
    }
    if (word == "spectrum") {
        return ExportKind::Spectrum;
    }
    return std::nullopt;
}

Csv scopeCsv(const ScopeCapture& record, MathOp math) {
    // What the plot shows of the record, from its first sample on, each channel in volts.
    const std::vector<double> ch1 = shownVolts(record, Channel::CH1);
    const std::vector<double> ch2 = shownVolts(record, Channel::CH2);
    const std::vector<double> combined = shownMath(record, math);
    Csv csv;
    // The average the display shows names its records: "CH1_avg16_V".
    const std::string averaged =
        record.averagedRecords > 1 ? "_avg" + std::to_string(record.averagedRecords) : "";
    csv.text = "time_s";
    if (!ch1.empty()) {
        csv.text += ",CH1" + averaged + "_V";
    }
    if (!ch2.empty()) {
        csv.text += ",CH2" + averaged + "_V";
    }
    if (!combined.empty()) {
        csv.text += "," + mathColumn(math);
    }
    csv.text += "\n";
    csv.rows = std::max(ch1.size(), ch2.size());
    for (std::size_t i = 0; i < csv.rows; ++i) {
        csv.text += number(static_cast<double>(i) * record.interval);
        for (const std::vector<double>* channel : {&ch1, &ch2, &combined}) {
            if (!channel->empty()) {
                csv.text += ",";
                csv.text += i < channel->size() ? number((*channel)[i]) : std::string();
            }
        }
        csv.text += "\n";
    }
    return csv;
}

Csv sweepCsv(const KeptMeasurements& kept) {
    // The measured levels in the unit of the scale shown (dBV on a scale the list does not
    // have), never the scale's limits; a point that was not measured has no row.
    const DisplayScale* scale = findDisplayScale(kept.scale);
    Csv csv;
    csv.text = (kept.sweepKind == SweepKind::Amplitude ? "amplitude_" + kept.amplitudeUnit
                                                       : std::string("frequency_Hz")) +
               ",level_" + std::string(scale != nullptr ? scale->unit : kDbv) + "\n";
    for (const SweepSample& p : kept.sweep) {
        if (p.dbv) {
            csv.text += number(p.at) + "," +
                        number(scale != nullptr ? levelIn(*scale, *p.dbv) : *p.dbv) + "\n";
            ++csv.rows;
        }
    }
    return csv;
}

Csv spectrumCsv(const KeptMeasurements& kept) {
    Csv csv;
    // With the max hold on, its levels in a third column.
    const bool hold = kept.spectrumHold.size() == kept.spectrum.size();
    csv.text = "frequency_Hz,level_" + kept.spectrumUnit +
               (hold ? ",maxhold_" + kept.spectrumUnit : "") + "\n";
    for (std::size_t i = 0; i < kept.spectrum.size(); ++i) {
        csv.text += number(static_cast<double>(i + 1) * kept.binHz) + "," +
                    number(kept.spectrum[i]) + (hold ? "," + number(kept.spectrumHold[i]) : "") +
                    "\n";
    }
    csv.rows = kept.spectrum.size();
    return csv;
}

Csv csvOf(const MonitorState& m, ExportKind kind, MathOp math) {
    switch (kind) {
        case ExportKind::Scope:
            return m.capture && m.captureShown ? scopeCsv(*m.capture, math) : Csv{};
        case ExportKind::Sweep:
            return sweepCsv(m.kept);
        case ExportKind::Spectrum:
            break;
    }
    return spectrumCsv(m.kept);
}

std::optional<std::size_t> exportTo(Form1& w, ExportKind kind, const std::string& path,
                                    std::string& why) {
    const Csv csv = csvOf(w.mon(), kind, mathShown(w) ? mathOpNow(w) : MathOp::Off);
    if (csv.rows == 0) {
        why = kNothingYet;
        return std::nullopt;
    }
    if (!saveFileSafely(path, csv.text, &why)) {
        return std::nullopt;
    }
    return csv.rows;
}

}  // namespace tunx
