#include "dds/Profile.h"

#include <cmath>

#include "common/LineReader.h"
#include "common/Numbers.h"
#include "common/RuntimeError.h"

namespace tunx {

namespace {

constexpr char kFieldSeparator = '\t';

constexpr double kDegreesPerRadian = 57.29577951;
constexpr double kPhaseSteps = 16384.0;  // phase word steps per turn, before the shift by 2
constexpr double kDegreesPerTurn = 360.0;
constexpr double kQuarterTurn = 4096.0;
constexpr double kWordShift = 4.0;
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kVoltageNudgeMv = 0.1;  // keeps a point of 0 mV off the arcsine's pole

// The second tab-separated field: the text between the first and the second tab.
std::string_view valueField(std::string_view line) {
    const auto tab = line.find(kFieldSeparator);
    if (tab == std::string_view::npos) {
        throw RuntimeError(kSubscriptOutOfRange);
    }
    const auto rest = line.substr(tab + 1);
    return rest.substr(0, rest.find(kFieldSeparator));
}

}  // namespace

ArbTarget arbTarget(std::string_view text) {
    if (text == kTargetFreq) {
        return ArbTarget::Freq;
    }
    if (text == kTargetPhase) {
        return ArbTarget::Phase;
    }
    return ArbTarget::Voltage;
}

std::vector<std::int32_t> readProfilePoints(const std::string& path, int count) {
    if (count < 0 || count > kMaxProfilePoints) {
        throw RuntimeError(kSubscriptOutOfRange);
    }
    LineReader file(path);
    if (!file.isOpen()) {
        const std::string why = unreadableFileText(path, file.kind());
        if (!why.empty()) {
            throw UnreadableProfile(why);
        }
        throw RuntimeError(kFileNotFound);
    }
    for (int i = 0; i < kProfileHeaderLines; ++i) {
        requireLine(file);
    }
    std::vector<std::int32_t> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        points.push_back(CLng(CDbl(valueField(requireLine(file)))));
    }
    return points;
}

std::int32_t profileWord(ArbTarget target, std::int32_t value, const Calibration& cal,
                         std::int32_t ramclk) {
    switch (target) {
        case ArbTarget::Voltage: {
            const double half = cal.ampfullscale / 2.0;
            const double x = value + kVoltageNudgeMv;
            const double y = cal.ampfullscale - x * cal.flat1M;
            const double z = divide(half - y, half);
            // The arcsine is defined inside (-1, 1) only: at +-1 its tangent form divides by 0.
            if (!(std::fabs(z) < 1.0)) {
                throw RuntimeError(kOverflow);
            }
            const double angle = std::atan(z / std::sqrt(1.0 - z * z)) * kDegreesPerRadian;
            return CInt(kWordShift * (angle * kPhaseSteps / kDegreesPerTurn - kQuarterTurn));
        }
        case ArbTarget::Phase:
            return CLng(value * kPhaseSteps / kDegreesPerTurn * kWordShift);
        case ArbTarget::Freq:
            return CLng(divide(value * kTwoTo32, ramclk) * cal.clkcorr);
    }
    throw RuntimeError(kOverflow);
}

}  // namespace tunx
