// Reference traces: taken from the record on the plot, written and read as a scope export.
#include "monitor/scope/Reference.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sstream>

#include "common/LineReader.h"
#include "monitor/scope/Capture.h"

namespace tunx {

namespace {

constexpr std::string_view kTimeColumn = "time_s";
constexpr std::string_view kCh1Column = "CH1_V";
constexpr std::string_view kCh2Column = "CH2_V";
constexpr const char* kChannelNames[] = {"CH1", "CH2"};

// A number of a CSV cell: the export's plain form with a dot, or an exponent.
std::optional<double> cellNumber(std::string_view cell) {
    while (!cell.empty() && cell.front() == ' ') {
        cell.remove_prefix(1);
    }
    while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\r')) {
        cell.remove_suffix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (cell.empty() || error != std::errc{} || end != cell.data() + cell.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> cells(std::string_view line) {
    std::vector<std::string_view> out;
    for (std::size_t from = 0;;) {
        const std::size_t comma = line.find(',', from);
        out.push_back(line.substr(from, comma == std::string_view::npos ? comma : comma - from));
        if (comma == std::string_view::npos) {
            return out;
        }
        from = comma + 1;
    }
}

// The trace a column heading of the export names; an averaged channel's ("CH1_avg16_V") is
// the channel's.
std::optional<ReferenceTrace> traceOfColumn(std::string_view column) {
    ReferenceTrace ref;
    constexpr std::string_view kAveraged = "_avg";
    if (column.size() > kCh1Column.size() + kAveraged.size() && column.ends_with("_V") &&
        column.substr(3, kAveraged.size()) == kAveraged &&
        column.find_first_not_of("0123456789", 3 + kAveraged.size()) == column.size() - 2) {
        return traceOfColumn(column.starts_with("CH1")   ? kCh1Column
                             : column.starts_with("CH2") ? kCh2Column
                                                         : column.substr(0, 0));
    }
    if (column == kCh1Column || column == kCh2Column) {
        const bool one = column == kCh1Column;
        ref.source = kChannelNames[one ? 0 : 1];
        ref.scale = one ? ReferenceScale::CH1 : ReferenceScale::CH2;
        return ref;
    }
    for (const MathOp op : {MathOp::Sum, MathOp::Difference, MathOp::Product}) {
        if (column == mathColumn(op)) {
            ref.source = std::string(mathName(op));
            ref.unit = std::string(mathUnit(op));
            ref.scale = ReferenceScale::Math;
            return ref;
        }
    }
    return std::nullopt;
}

std::string number(double v) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
    return error == std::errc{} ? std::string(buffer.data(), end) : std::string("0");
}

std::optional<ReferenceTrace> refused(std::string& why, std::string text) {
    why = std::move(text);
    return std::nullopt;
}

std::optional<ReferenceTrace> readLines(LineReader& in, std::string& why) {
    const std::optional<std::string> heading = in.next();
    if (!heading || in.lastEnd() == LineReader::LineEnd::Cut) {
        return refused(why, "it has no heading line");
    }
    const std::vector<std::string_view> names = cells(*heading);
    if (names.size() < 2 || names[0] != kTimeColumn) {
        return refused(why, "its first line is not the scope export's heading \"time_s,...\"");
    }
    std::optional<ReferenceTrace> ref = traceOfColumn(names[1]);
    if (!ref) {
        return refused(why, "its second column \"" + std::string(names[1]) +
                                "\" is none of CH1_V, CH2_V or a math column");
    }
    int lineNumber = 1;
    while (const std::optional<std::string> line = in.next()) {
        ++lineNumber;
        if (in.lastEnd() == LineReader::LineEnd::Cut) {
            return refused(why, "line " + std::to_string(lineNumber) + " is far too long");
        }
        if (line->empty()) {
            continue;
        }
        const std::vector<std::string_view> row = cells(*line);
        const std::optional<double> time = cellNumber(row[0]);
        const std::optional<double> value =
            row.size() > 1 ? cellNumber(row[1]) : std::optional<double>();
        if (!time || !value) {
            return refused(
                why, "line " + std::to_string(lineNumber) + " does not hold a time and a value");
        }
        if (*time < 0 || (!ref->times.empty() && *time <= ref->times.back())) {
            return refused(why, "the time of line " + std::to_string(lineNumber) +
                                    " does not come after the one before");
        }
        if (ref->values.size() == kMostReferenceValues) {
            return refused(
                why, "it holds more than " + std::to_string(kMostReferenceValues) + " values");
        }
        ref->times.push_back(*time);
        ref->values.push_back(*value);
    }
    if (ref->values.size() < 2) {
        return refused(why, "it holds fewer than two values");
    }
    // Times from the trace's first value, as the plot draws it.
    const double start = ref->times.front();
    for (double& t : ref->times) {
        t -= start;
    }
    return ref;
}

}  // namespace

std::optional<ReferenceTrace> referenceOf(const ScopeCapture& record, ReferenceSource source,
                                          MathOp math) {
    ReferenceTrace ref;
    if (source == ReferenceSource::Math) {
        if (math == MathOp::Off) {
            return std::nullopt;
        }
        ref.values = shownMath(record, math);
        ref.source = std::string(mathName(math));
        ref.unit = std::string(mathUnit(math));
        ref.scale = ReferenceScale::Math;
    } else {
        const bool one = source == ReferenceSource::CH1;
        ref.values = shownVolts(record, one ? Channel::CH1 : Channel::CH2);
        ref.source = kChannelNames[one ? 0 : 1];
        ref.scale = one ? ReferenceScale::CH1 : ReferenceScale::CH2;
    }
    if (ref.values.size() < 2 || record.interval <= 0) {
        return std::nullopt;
    }
    ref.values.resize(std::min(ref.values.size(), kMostReferenceValues));
    for (std::size_t i = 0; i < ref.values.size(); ++i) {
        ref.times.push_back(static_cast<double>(i) * record.interval);
    }
    return ref;
}

std::string referenceCsv(const ReferenceTrace& ref) {
    std::string column;
    if (ref.scale == ReferenceScale::Math) {
        for (const MathOp op : {MathOp::Sum, MathOp::Difference, MathOp::Product}) {
            if (ref.source == mathName(op)) {
                column = mathColumn(op);
            }
        }
    } else {
        column = ref.scale == ReferenceScale::CH1 ? kCh1Column : kCh2Column;
    }
    std::string text = std::string(kTimeColumn) + "," + column + "\n";
    for (std::size_t i = 0; i < ref.values.size() && i < ref.times.size(); ++i) {
        text += number(ref.times[i]) + "," + number(ref.values[i]) + "\n";
    }
    return text;
}

std::optional<ReferenceTrace> readReferenceCsv(std::istream& in, std::string& why) {
    LineReader reader(in);
    return readLines(reader, why);
}

std::optional<ReferenceTrace> readReferenceFile(const std::string& path, std::string& why) {
    LineReader reader(path);
    if (!reader.isOpen()) {
        return refused(why, reader.kind() == FileKind::Missing
                                ? "there is no such file"
                                : unreadableFileText("it", reader.kind()));
    }
    return readLines(reader, why);
}

}  // namespace tunx
