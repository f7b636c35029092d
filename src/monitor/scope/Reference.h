#pragma once

#include <istream>
#include <optional>
#include <string>

#include "monitor/scope/MathTrace.h"
#include "state/References.h"
#include "state/ScopeCapture.h"

namespace tunx {

// A reference holds at most this many values: a scope export of the longest record has 2048.
inline constexpr std::size_t kMostReferenceValues = 8192;

// What a reference is taken from: a channel of the record the plot shows, or its math trace.
enum class ReferenceSource { CH1, CH2, Math };

// What the plot shows of `source` in the record, with its times from the screen's first
// sample; none when the record holds none of it (a channel not recorded, math off).
std::optional<ReferenceTrace> referenceOf(const ScopeCapture& record, ReferenceSource source,
                                          MathOp math);

// A reference as the scope export writes a trace: "time_s,CH1_V", then a row per value.
std::string referenceCsv(const ReferenceTrace& ref);

// The first trace of a scope export (or of referenceCsv's text): the heading must be "time_s"
// and a column the export writes (CH1_V, CH2_V, a math column); every row a time, later than
// the one before, and a finite value; at least two rows and at most kMostReferenceValues.
// None, with `why` saying what is wrong and where, for anything else.
std::optional<ReferenceTrace> readReferenceCsv(std::istream& in, std::string& why);
// The same from a file, which must be a readable text file.
std::optional<ReferenceTrace> readReferenceFile(const std::string& path, std::string& why);

}  // namespace tunx
