#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tunx {

// Which vertical scale a reference trace is drawn on: the V/div of the channel it came from,
// or the math trace's.
enum class ReferenceScale { CH1, CH2, Math };

// A trace kept apart from the records: its values and the times they were taken at, so that it
// is drawn at the V/div and time base of the moment, not where it once stood on the screen.
struct ReferenceTrace {
    std::string source;      // what it shows: "CH1", "CH2", "CH1−CH2", or a file's column
    std::string unit = "V";  // "V", or "V²" for a product
    ReferenceScale scale = ReferenceScale::CH1;
    std::vector<double> times;   // seconds from the trace's first value
    std::vector<double> values;  // in `unit`
};

// REF A and REF B, and a count that goes up with every change (whoever keeps them elsewhere
// compares it).
struct References {
    std::array<std::optional<ReferenceTrace>, 2> traces;
    std::uint64_t revision = 0;
};

}  // namespace tunx
