#include "monitor/sweep/SweepLevel.h"

#include <algorithm>
#include <cmath>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"

namespace tunx {

namespace {

constexpr double kTwoPow32 = 4'294'967'296.0;
constexpr double kUncorrectedFrom = 199'900'000.0;
constexpr double kNoWordFrom = 200'000'000.0;
constexpr double kHalfClockAbove = 199'999'999.0;
constexpr std::array<int, 4> kHalfClockBytes = {128, 0, 0, 0};

constexpr double kDbmvPerDbv = 60;
constexpr double kDbmPerDbv = 13;  // 50-ohm system
constexpr double kLn10 = 2.30258509299405;
constexpr double kMinMv = 0.01;
constexpr double kDbmvFloor = 25;
constexpr std::int32_t kTopRow = 32;
constexpr std::int32_t kBottomRow = 544;

constexpr std::array<DisplayScale, 6> kScales{{
    {"100mVrms/Div",
     {"0", "100", "200", "300", "400", "500", "600", "700", "800"},
     "mVrms",
     800,
     1.5625,
     0,
     " mVrms"},
    {"250mVrms/Div",
     {"0", "250", "500", "750", "1000", "1250", "1500", "1750", "2000"},
     "mVrms",
     2000,
     3.9,
     0,
     " mVrms"},
    {"5dBmV/Div",
     {"25", "30", "35", "40", "45", "50", "55", "60", "65"},
     "dBmV",
     65,
     0.078125,
     1,
     " dBmV"},
    {"10dBV/Div",
     {"-80", "-70", "-60", "-50", "-40", "-30", "-20", "-10", "0"},
     "dBV",
     0,
     0.15625,
     1,
     " dBV"},
    {"10dBm/Div",
     {"-60", "-50", "-40", "-30", "-20", "-10", "0", "10", "20"},
     "dBm",
     20,
     0.15625,
     1,
     " dBm"},
    {"15dBm/Div",
     {"-105", "-90", "-75", "-60", "-45", "-30", "-15", "0", "15"},
     "dBm",
     15,
     0.234375,
     1,
     " dBm"},
}};

std::int32_t nearest(double x) {
    return CLng(x);
}

// The row of a level `rows` below the top edge of a scale that tops out at row 32; a level
// above the top stays on the top edge.
std::int32_t belowTop(double rowsUnderTop) {
    return nearest(std::max(0.0, -rowsUnderTop)) + kTopRow;
}

}  // namespace

std::array<int, 4> sweepTuningBytes(double hz, SweepRule rule, double sweepclk, double clkcorr) {
    double word = 0;
    if (hz < kUncorrectedFrom) {
        word = rule == SweepRule::Frequency ? divide(hz * kTwoPow32, sweepclk) * clkcorr
                                            : hz * kTwoPow32 / kSweepClock;
    } else if (hz < kNoWordFrom) {
        word = divide(hz * kTwoPow32, sweepclk);
    }
    const std::array<int, 4> bytes = registerBytes(CLng(word));
    return hz > kHalfClockAbove ? kHalfClockBytes : bytes;
}

Level levelFromDetector(float detmv, const Calibration& cal) {
    return levelFromDbv(
        CSng(divide(double(detmv) + cal.rfdetoffset, cal.rfdetslope) + cal.rfdetintercept));
}

Level levelFromDbv(float leveldbv) {
    Level l;
    l.leveldbv = leveldbv;
    l.leveldbmv = l.leveldbv + kDbmvPerDbv;
    l.levelmv = std::pow(10.0, l.leveldbmv / 20);
    return l;
}

const std::array<DisplayScale, 6>& displayScales() {
    return kScales;
}

const DisplayScale* findDisplayScale(std::string_view text) {
    for (const DisplayScale& s : kScales) {
        if (s.text == text) {
            return &s;
        }
    }
    return nullptr;
}

double levelIn(const DisplayScale& scale, float leveldbv) {
    const Level level = levelFromDbv(leveldbv);
    if (scale.unit == kScales[0].unit) {
        return level.levelmv;
    }
    if (scale.unit == kScales[2].unit) {
        return level.leveldbmv;
    }
    if (scale.unit == kScales[4].unit) {
        return leveldbv + kDbmPerDbv;
    }
    return leveldbv;
}

SweepPoint sweepPoint(std::string_view scale, Level& level, char group) {
    SweepPoint p;
    double y = 0;
    if (scale == kScales[0].text || scale == kScales[1].text) {
        p.readout = formatGrouped(level.levelmv, 0, group);
        level.levelmv = std::max(level.levelmv, kMinMv);
        y = nearest(kBottomRow - level.levelmv / (scale == kScales[0].text ? 1.5625 : 3.906));
    } else if (scale == kScales[2].text) {
        p.readout = formatGrouped(level.leveldbmv, 1, group);
        level.levelmv = std::max(level.levelmv, kMinMv);
        level.leveldbmv = std::max(20 * std::log(level.levelmv) / kLn10, kDbmvFloor);
        y = nearest(kBottomRow - (level.leveldbmv - kDbmvFloor) * 12.8);
    } else if (scale == kScales[3].text) {
        p.readout = formatGrouped(level.leveldbv, 1, group);
        y = belowTop(level.leveldbv * 6.4);
    } else if (scale == kScales[4].text) {
        level.leveldbv = CSng(level.leveldbv + kDbmPerDbv - 20);
        p.readout = formatGrouped(level.leveldbv + 20.0, 1, group);
        y = belowTop(level.leveldbv * 6.4);
    } else if (scale == kScales[5].text) {
        level.leveldbv = CSng(level.leveldbv + kDbmPerDbv - 15);
        p.readout = formatGrouped(level.leveldbv + 15.0, 1, group);
        y = belowTop(level.leveldbv * 4.2666);
    }
    p.row = static_cast<std::int32_t>(std::clamp(y, double(kTopRow), double(kBottomRow)));
    return p;
}

}  // namespace tunx
