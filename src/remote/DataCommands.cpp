// What the monitor measured, over the socket: the readouts of the last record, the record
// itself, the counter, the sweep, the spectrum and the CSV exports of the File menu.
#include <array>

#include "monitor/Export.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Measurements.h"
#include "monitor/sweep/SweepLevel.h"
#include "remote/CommandTable.h"
#include "remote/Panel.h"
#include "remote/Params.h"
#include "remote/Reply.h"

namespace tunx::remote {

namespace {

constexpr std::array<std::string_view, 2> kFormats = {"REAL", "ASCii"};
constexpr double kFloatBits = 32;
constexpr std::array<std::string_view, 3> kExports = {"SCOPe", "SWEep", "SPECtrum"};
constexpr std::array<ExportKind, 3> kExportKinds = {ExportKind::Scope, ExportKind::Sweep,
                                                    ExportKind::Spectrum};
constexpr const char* kNothingYet = "nothing measured yet";
constexpr std::array<std::string_view, 2> kChannelNames = {"CH1", "CH2"};

// The record the plot shows; none since new settings cleared the plot.
const ScopeCapture* shownRecord(Call& c) {
    const MonitorState& m = c.program.monitor().mon();
    return m.capture && m.captureShown ? &*m.capture : nullptr;
}

// The samples of a channel of that record in volts, those the plot shows (what the window
// measures) or the whole record; empty when it holds none of that channel.
std::vector<double> samplesOf(const ScopeCapture* r, int channel, bool whole = false) {
    if (r == nullptr) {
        return {};
    }
    const Channel ch = channel == 1 ? Channel::CH1 : Channel::CH2;
    return whole ? recordVolts(*r, ch) : shownVolts(*r, ch);
}

int channelParam(const Call& c) {
    return c.params.empty() ? 1 : param::channel(c.params[0]);
}

// A readout of the last record's channel, from the same measurement as the window's; not known
// when the record holds no such channel.
void measurement(Call& c, std::optional<double> (*pick)(const Measurement&)) {
    const ScopeCapture* r = shownRecord(c);
    const std::vector<double> v = samplesOf(r, channelParam(c));
    c.reply =
        reply::number(v.empty() ? kNotKnown : pick(measure(v, r->interval)).value_or(kNotKnown));
}

std::string samplesReply(const RemoteState& state, std::span<const double> values) {
    return state.format == DataFormat::Real ? reply::block(reply::float32LittleEndian(values))
                                            : reply::float32Text(values);
}

void waveformData(Call& c) {
    const std::vector<double> v = samplesOf(shownRecord(c), c.state.waveformSource, true);
    if (v.empty()) {
        throw ScpiError(
            error::kStale,
            "no record of " + std::string(kChannelNames[c.state.waveformSource - 1]) + " yet");
    }
    c.reply = samplesReply(c.state, v);
}

void setFormat(Call& c) {
    const std::size_t i = param::choice(c.params[0], kFormats);
    if (c.params.size() > 1 && param::number(c.params[1], "") != kFloatBits) {
        throw ScpiError(error::kIllegalValue, "32-bit floats only");
    }
    c.state.format = i == 0 ? DataFormat::Real : DataFormat::Ascii;
}

// The sweep's points as frequency (or amplitude) and level pairs, the level in the unit of the
// scale it is shown in (dBV when the scale is none of the list's), as the export writes it; a
// point the detector did not answer for is not known.
void sweepData(Call& c) {
    const KeptMeasurements& kept = c.program.monitor().mon().kept;
    if (kept.sweep.empty()) {
        throw ScpiError(error::kStale, kNothingYet);
    }
    const DisplayScale* scale = findDisplayScale(kept.scale);
    std::string out;
    for (const SweepSample& p : kept.sweep) {
        if (!out.empty()) {
            out += ',';
        }
        out += reply::number(p.at);
        out += ',';
        out += reply::number(!p.dbv             ? kNotKnown
                             : scale != nullptr ? levelIn(*scale, *p.dbv)
                                                : *p.dbv);
    }
    c.reply = out;
}

// The spectrum of the last record, as the F F T button shows it (which stops the scope, as the
// button does).
void spectrumData(Call& c) {
    Form1& mon = c.program.monitor();
    requireEnabled(*mon.cmdfft, "the F F T button");
    if (!mon.mon().capture) {
        throw ScpiError(error::kStale, kNothingYet);  // the button would say so in a message
    }
    press(c.program, mon, *mon.cmdfft);
    const KeptMeasurements& kept = mon.mon().kept;
    if (kept.spectrum.empty()) {
        throw ScpiError(error::kStale, kNothingYet);
    }
    c.reply = samplesReply(c.state, kept.spectrum);
}

void exportData(Call& c) {
    const ExportKind kind = kExportKinds[param::choice(c.params[0], kExports)];
    Form1& monitor = c.program.monitor();
    const Csv csv =
        csvOf(monitor.mon(), kind, mathShown(monitor) ? mathOpNow(monitor) : MathOp::Off);
    if (csv.rows == 0) {
        throw ScpiError(error::kStale, kNothingYet);
    }
    c.reply = reply::block(csv.text);
}

}  // namespace

std::vector<Command> dataCommands() {
    const Count channel{0, 1};
    return {
        {.pattern = "MEASure:VPP",
         .query =
             [](Call& c) {
                 measurement(c, [](const Measurement& m) { return std::optional(m.pp); });
             },
         .queryParams = channel},
        {.pattern = "MEASure:VRMS",
         .query =
             [](Call& c) {
                 measurement(c, [](const Measurement& m) { return std::optional(m.rms); });
             },
         .queryParams = channel},
        {.pattern = "MEASure:VAVerage",
         .query =
             [](Call& c) {
                 measurement(c, [](const Measurement& m) { return std::optional(m.mean); });
             },
         .queryParams = channel},
        {.pattern = "MEASure:FREQuency",
         .query = [](Call& c) { measurement(c, [](const Measurement& m) { return m.frequency; }); },
         .queryParams = channel},
        {.pattern = "WAVeform:SOURce",
         .set = [](Call& c) { c.state.waveformSource = param::channel(c.params[0]); },
         .query =
             [](Call& c) { c.reply = reply::word(kChannelNames[c.state.waveformSource - 1]); }},
        {.pattern = "WAVeform:FORMat",
         .set = setFormat,
         .setParams = {1, 2},
         .query =
             [](Call& c) {
                 c.reply = reply::word(c.state.format == DataFormat::Real ? "REAL" : "ASC");
             }},
        {.pattern = "WAVeform:DATA", .query = waveformData},
        {.pattern = "WAVeform:POINts",
         .query =
             [](Call& c) {
                 c.reply = reply::integer(static_cast<long long>(
                     samplesOf(shownRecord(c), c.state.waveformSource, true).size()));
             }},
        {.pattern = "WAVeform:XINCrement",
         .query =
             [](Call& c) {
                 const ScopeCapture* r = shownRecord(c);
                 c.reply = reply::number(r != nullptr && r->interval > 0 ? r->interval : kNotKnown);
             }},
        {.pattern = "WAVeform:XORigin", .query = [](Call& c) { c.reply = reply::number(0); }},
        {.pattern = "FREQuency:COUNt",
         .query =
             [](Call& c) {
                 c.reply = reply::number(c.program.monitor().mon().countedHz.value_or(kNotKnown));
             }},
        {.pattern = "SWEep:DATA", .query = sweepData},
        {.pattern = "SWEep:POINts",
         .query =
             [](Call& c) {
                 c.reply = reply::integer(
                     static_cast<long long>(c.program.monitor().mon().kept.sweep.size()));
             }},
        {.pattern = "SPECtrum:DATA", .query = spectrumData},
        {.pattern = "SPECtrum:XINCrement",
         .query =
             [](Call& c) {
                 const double bin = c.program.monitor().mon().kept.binHz;
                 c.reply = reply::number(bin > 0 ? bin : kNotKnown);
             }},
        {.pattern = "MONitor:EXPort", .query = exportData, .queryParams = {1, 1}},
    };
}

}  // namespace tunx::remote
