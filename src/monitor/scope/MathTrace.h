#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/ScopeCapture.h"

namespace tunx {

class Form1;

// The math trace of "Scope CH1+CH2": both channels' volts combined sample by sample.
enum class MathOp { Off, Sum, Difference, Product };

// mathmode's entries, in MathOp's order.
inline constexpr std::array<std::string_view, 4> kMathModeTexts = {"Off", "CH1+CH2", "CH1\u2212CH2",
                                                                   "CH1\u00d7CH2"};
// The same as a script writes them ("off", "CH1+CH2", "CH1-CH2", "CH1xCH2").
inline constexpr std::array<std::string_view, 4> kMathModeWords = {"off", "CH1+CH2", "CH1-CH2",
                                                                   "CH1xCH2"};

// The operation an entry of mathmode names (Off for any other text).
MathOp mathOpOf(std::string_view entry);
// The operation mathmode shows now.
MathOp mathOpNow(const Form1& w);
// The unit of the math trace: "V", or "V²" for a product.
std::string_view mathUnit(MathOp op);
// Its name in the measurement line and the captions ("CH1−CH2").
std::string_view mathName(MathOp op);
// Its column heading in a CSV file (plain characters: "CH1-CH2_V", "CH1xCH2_V2").
std::string mathColumn(MathOp op);

// mathvdiv's entries for the operation: "5V" ... "10mV", or "5V²" ... "0.01V²" for a product,
// the same number of entries in the same order for both.
std::vector<std::string> mathRangeTexts(MathOp op);
// Units per division of an entry of mathvdiv (either unit); none for another text.
std::optional<double> mathPerDivision(std::string_view entry);

// The math of the samples the plot shows of a record, from sample `from` on, as many as both
// channels hold; empty when the operation is Off or a channel was not recorded.
std::vector<double> mathValues(const ScopeCapture& c, MathOp op, std::size_t from,
                               std::size_t count);
// The math of what the plot shows of the record.
std::vector<double> shownMath(const ScopeCapture& c, MathOp op);

// The math trace is drawn and measured now: "Scope CH1+CH2" with an operation chosen.
bool mathShown(const Form1& w);

}  // namespace tunx
