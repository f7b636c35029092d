// The math trace: both channels' volts combined sample by sample.
#include "monitor/scope/MathTrace.h"

#include <algorithm>
#include <charconv>

#include "monitor/Form1.h"
#include "monitor/Modes.h"
#include "monitor/scope/Capture.h"

namespace tunx {

namespace {

constexpr std::string_view kVolts = "V";
constexpr std::string_view kSquareVolts = "V\u00b2";
constexpr std::string_view kMilli = "m";
// Both lists in the same order: what one step of the list does is the same for both units.
constexpr std::array<std::string_view, 9> kVoltSteps = {"5V",   "2V",   "1V",   "0.5V", "0.2V",
                                                        "0.1V", "50mV", "20mV", "10mV"};
constexpr std::array<std::string_view, 9> kSquareSteps = {"5",   "2",    "1",    "0.5", "0.2",
                                                          "0.1", "0.05", "0.02", "0.01"};

}  // namespace

MathOp mathOpOf(std::string_view entry) {
    for (std::size_t i = 0; i < kMathModeTexts.size(); ++i) {
        if (entry == kMathModeTexts[i]) {
            return static_cast<MathOp>(i);
        }
    }
    return MathOp::Off;
}

MathOp mathOpNow(const Form1& w) {
    return mathOpOf(w.mathmode->text);
}

std::string_view mathUnit(MathOp op) {
    return op == MathOp::Product ? kSquareVolts : kVolts;
}

std::string_view mathName(MathOp op) {
    return kMathModeTexts[static_cast<std::size_t>(op)];
}

std::string mathColumn(MathOp op) {
    return std::string(kMathModeWords[static_cast<std::size_t>(op)]) +
           (op == MathOp::Product ? "_V2" : "_V");
}

std::vector<std::string> mathRangeTexts(MathOp op) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < kVoltSteps.size(); ++i) {
        out.push_back(op == MathOp::Product
                          ? std::string(kSquareSteps[i]) + std::string(kSquareVolts)
                          : std::string(kVoltSteps[i]));
    }
    return out;
}

std::optional<double> mathPerDivision(std::string_view entry) {
    double scale = 1;
    if (entry.ends_with(kSquareVolts)) {
        entry.remove_suffix(kSquareVolts.size());
    } else if (entry.ends_with(kVolts)) {
        entry.remove_suffix(kVolts.size());
        if (entry.ends_with(kMilli)) {
            entry.remove_suffix(kMilli.size());
            scale = 1e-3;
        }
    } else {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
    if (error != std::errc{} || end != entry.data() + entry.size() || !(value > 0)) {
        return std::nullopt;
    }
    return value * scale;
}

std::vector<double> mathValues(const ScopeCapture& c, MathOp op, std::size_t from,
                               std::size_t count) {
    if (op == MathOp::Off || c.ch1.codes.empty() || c.ch2.codes.empty()) {
        return {};
    }
    const std::vector<double> one = sampleVolts(c, Channel::CH1, from, from + count);
    const std::vector<double> two = sampleVolts(c, Channel::CH2, from, from + count);
    std::vector<double> out(std::min(one.size(), two.size()));
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = op == MathOp::Sum          ? one[i] + two[i]
                 : op == MathOp::Difference ? one[i] - two[i]
                                            : one[i] * two[i];
    }
    return out;
}

std::vector<double> shownMath(const ScopeCapture& c, MathOp op) {
    return mathValues(c, op, c.first, c.count);
}

bool mathShown(const Form1& w) {
    const MonitorMode* mode = chosenMode(w);
    return mode != nullptr && mode->ch1 && mode->ch2 && mathOpNow(w) != MathOp::Off;
}

}  // namespace tunx
