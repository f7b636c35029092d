#pragma once

#include <optional>
#include <string>

#include "monitor/scope/MathTrace.h"
#include "state/MonitorState.h"

namespace tunx {

class Form1;

// What the monitor exports: the last scope record, sweep or spectrum.
enum class ExportKind { Scope, Sweep, Spectrum };
std::optional<ExportKind> exportKind(const std::string& word);  // "scope", "sweep", "spectrum"

// The CSV text of an export (a header line, then one row per sample, point or bin; a dot as
// the decimal mark), and its number of data rows.
struct Csv {
    std::string text;
    std::size_t rows = 0;
};
// A scope record's channels, and with `math` the math trace of them in a column of its own.
Csv scopeCsv(const ScopeCapture& record, MathOp math = MathOp::Off);
Csv sweepCsv(const KeptMeasurements& kept);
Csv spectrumCsv(const KeptMeasurements& kept);
// The export of `kind` as the monitor has it now: the scope's is of the record the plot shows
// (no rows since new settings cleared it), the others of the last sweep or spectrum.
Csv csvOf(const MonitorState& m, ExportKind kind, MathOp math = MathOp::Off);

// Writes the export to `path` as a safe save. The rows written, or nothing with `why` set.
std::optional<std::size_t> exportTo(Form1& w, ExportKind kind, const std::string& path,
                                    std::string& why);

}  // namespace tunx
