#include <gtest/gtest.h>

#include <cmath>

#include "common/RuntimeError.h"
#include "monitor/sweep/SweepLevel.h"

namespace tunx {
namespace {

TEST(SweepLevel, TuningWordsOfBothRules) {
    struct Row {
        double hz;
        SweepRule rule;
        double clkcorr;
        std::array<int, 4> bytes;
    };
    const Row rows[] = {
        {1e6, SweepRule::Frequency, 1.0, {0, 163, 215, 10}},
        {1e6, SweepRule::Frequency, 1.0001, {0, 163, 219, 60}},  // a frequency sweep corrects
        {1e6, SweepRule::Amplitude, 1.0001, {0, 163, 215, 10}},  // an amplitude sweep does not
        {199.95e6, SweepRule::Frequency, 1.0001, {127, 247, 206, 217}},  // never corrected
        {200e6, SweepRule::Frequency, 1.0, {128, 0, 0, 0}},  // 200 MHz sends half the clock
        {250e6, SweepRule::Amplitude, 1.0, {128, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(sweepTuningBytes(row.hz, row.rule, kSweepClock, row.clkcorr), row.bytes)
            << row.hz << " " << row.clkcorr;
    }
    EXPECT_THROW(sweepTuningBytes(1e6, SweepRule::Frequency, 0, 1), RuntimeError);
}

TEST(SweepLevel, DetectorMillivoltsToLevels) {
    Calibration cal;
    cal.rfdetoffset = 512;
    cal.rfdetslope = 24.6f;
    cal.rfdetintercept = -87.5f;
    const Level l = levelFromDetector(1148.5f, cal);
    EXPECT_NEAR(l.leveldbv, -20, 1e-4);
    EXPECT_NEAR(l.leveldbmv, 40, 1e-4);
    EXPECT_NEAR(l.levelmv, 100, 1e-3);
    cal.rfdetslope = 0;
    EXPECT_THROW(levelFromDetector(1000, cal), RuntimeError);
}

// A level from dBV, as the detector conversion would give it.
Level fromDbv(double dbv) {
    Level l;
    l.leveldbv = static_cast<float>(dbv);
    l.leveldbmv = dbv + 60;
    l.levelmv = std::pow(10.0, l.leveldbmv / 20);
    return l;
}

// Each scale's row and readout, at both ends: every scale puts its lowest label on the bottom
// grid line (row 544) and its highest on the top edge (row 32), levels beyond stay on them, and
// the readout shows the level measured.
TEST(SweepLevel, RowAndReadoutOfEachScaleWithItsLimits) {
    struct Row {
        const char* scale;
        double dbv;
        const char* readout;
        int row;
    };
    const Row rows[] = {
        {"100mVrms/Div", -20, "100", 480},   {"100mVrms/Div", 0, "1,000", 32},
        {"100mVrms/Div", -200, "0", 544},    {"250mVrms/Div", 0, "1,000", 288},
        {"250mVrms/Div", 6.03, "2,002", 32}, {"250mVrms/Div", -200, "0", 544},
        {"5dBmV/Div", -60, "0.0", 544},      {"5dBmV/Div", 5, "65.0", 32},
        {"5dBmV/Div", -30, "30.0", 480},     {"10dBV/Div", -85, "-85.0", 544},
        {"10dBV/Div", 0, "0.0", 32},         {"10dBV/Div", -150, "-150.0", 544},
        {"10dBV/Div", 5, "5.0", 32},         {"10dBm/Div", -20, "-7.0", 205},
        {"10dBm/Div", 7, "20.0", 32},        {"10dBm/Div", 10, "23.0", 32},
        {"10dBm/Div", -75, "-62.0", 544},    {"15dBm/Div", -20, "-7.0", 126},
        {"15dBm/Div", 2, "15.0", 32},        {"15dBm/Div", 10, "23.0", 32},
        {"15dBm/Div", -140, "-127.0", 544},
    };
    for (const Row& row : rows) {
        Level level = fromDbv(row.dbv);
        const SweepPoint p = sweepPoint(row.scale, level, ',');
        EXPECT_EQ(std::pair(p.readout, p.row),
                  std::pair(std::optional<std::string>(row.readout), row.row))
            << row.scale << " at " << row.dbv << " dBV";
    }
    Level level = fromDbv(-20);
    const SweepPoint unknown = sweepPoint("7dB/Div", level, ',');
    EXPECT_EQ(std::pair(unknown.readout, unknown.row), std::pair(std::optional<std::string>(), 32));
}

}  // namespace
}  // namespace tunx
