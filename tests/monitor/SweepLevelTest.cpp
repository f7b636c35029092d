#include <gtest/gtest.h>

#include <cmath>

#include "common/RuntimeError.h"
#include "monitor/SweepLevel.h"

namespace tunx {
namespace {

using Bytes = std::array<int, 4>;

TEST(SweepLevel, TuningWordsOfBothRules) {
    struct Row {
        const char* what;
        double hz;
        SweepRule rule;
        double clkcorr;
        Bytes bytes;
    };
    const Row rows[] = {
        {"1 MHz", 1e6, SweepRule::Frequency, 1.0, {0, 163, 215, 10}},
        {"a frequency sweep corrects the clock",
         1e6,
         SweepRule::Frequency,
         1.0001,
         {0, 163, 219, 60}},
        {"an amplitude sweep does not", 1e6, SweepRule::Amplitude, 1.0001, {0, 163, 215, 10}},
        {"199.95 MHz is never corrected",
         199.95e6,
         SweepRule::Frequency,
         1.0001,
         {127, 247, 206, 217}},
        {"200 MHz sends half the clock", 200e6, SweepRule::Frequency, 1.0, {128, 0, 0, 0}},
        {"above as well", 250e6, SweepRule::Amplitude, 1.0, {128, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(sweepTuningBytes(row.hz, row.rule, kSweepClock, row.clkcorr), row.bytes)
            << row.what;
    }
    EXPECT_THROW(sweepTuningBytes(1e6, SweepRule::Frequency, 0, 1), RuntimeError);
}

Calibration detector() {
    Calibration cal;
    cal.rfdetoffset = 512;
    cal.rfdetslope = 24.6f;
    cal.rfdetintercept = -87.5f;
    return cal;
}

TEST(SweepLevel, DetectorMillivoltsToLevels) {
    const Level l = levelFromDetector(1148.5f, detector());
    EXPECT_NEAR(l.leveldbv, -20, 1e-4);
    EXPECT_NEAR(l.leveldbmv, 40, 1e-4);
    EXPECT_NEAR(l.levelmv, 100, 1e-3);
    Calibration flat = detector();
    flat.rfdetslope = 0;
    EXPECT_THROW(levelFromDetector(1000, flat), RuntimeError);
}

// A level from dBV, as the detector conversion would give it.
Level fromDbv(double dbv) {
    Level l;
    l.leveldbv = static_cast<float>(dbv);
    l.leveldbmv = dbv + 60;
    l.levelmv = std::pow(10.0, l.leveldbmv / 20);
    return l;
}

TEST(SweepLevel, RowAndReadoutOfEachScaleWithItsLimits) {
    struct Row {
        const char* scale;
        double dbv;
        const char* readout;
        int row;
    };
    const Row rows[] = {
        {"100mVrms/Div", -20, "100", 448},
        {"100mVrms/Div", 0, "1,000", 32},  // 1 Vrms is above the plot
        {"250mVrms/Div", 0, "1,000", 256},
        {"5dBmV/Div", -60, "25.0", 512},  // 1 mVrms is raised to the 25 dBmV floor
        {"5dBmV/Div", 5, "65.0", 32},     // 65 dBmV gives row 0, limited to 32
        {"10dBV/Div", -85, "-85.0", 544},
        {"10dBV/Div", 0, "0.0", 32},
        {"10dBm/Div", -20, "-7.0", 205},
        {"15dBm/Div", -20, "-7.0", 126},
        // Each scale at both ends: the mVrms and dBmV scales bottom out at row 512 (0 mVrms,
        // 25 dBmV), the dBV and dBm scales at the bottom grid line; all top out at row 32.
        {"100mVrms/Div", -200, "0", 512},
        {"250mVrms/Div", 6.03, "2,002", 32},
        {"250mVrms/Div", -200, "0", 512},
        {"5dBmV/Div", -100, "25.0", 512},
        {"10dBV/Div", -150, "-150.0", 544},
        {"10dBV/Div", 5, "5.0", 64},  // above 0 dBV the row folds back
        {"10dBm/Div", 7, "20.0", 32},
        {"10dBm/Div", -75, "-62.0", 544},
        {"15dBm/Div", 2, "15.0", 32},
        {"15dBm/Div", -140, "-127.0", 544},
    };
    for (const Row& row : rows) {
        Level l = fromDbv(row.dbv);
        const SweepPoint p = sweepPoint(row.scale, l, ',');
        ASSERT_TRUE(p.readout.has_value()) << row.scale;
        EXPECT_EQ(*p.readout, row.readout) << row.scale << " at " << row.dbv << " dBV";
        EXPECT_EQ(p.row, row.row) << row.scale << " at " << row.dbv << " dBV";
    }
    Level l = fromDbv(-20);
    const SweepPoint unknown = sweepPoint("7dB/Div", l, ',');
    EXPECT_FALSE(unknown.readout.has_value());
    EXPECT_EQ(unknown.row, 32);
}

TEST(SweepLevel, ScalesCarryTheirGridLabels) {
    ASSERT_EQ(displayScales().size(), 6u);
    EXPECT_EQ(displayScales()[0].text, "100mVrms/Div");
    const DisplayScale* dbm = findDisplayScale("15dBm/Div");
    ASSERT_NE(dbm, nullptr);
    EXPECT_EQ(dbm->labels[0], "-105");
    EXPECT_EQ(dbm->labels[8], "15");
    EXPECT_EQ(dbm->unit, "dBm");
    EXPECT_EQ(findDisplayScale("100mVrms/div"), nullptr);
}

}  // namespace
}  // namespace tunx
