#include <gtest/gtest.h>

#include <string>

#include "common/RuntimeError.h"
#include "monitor/Ranges.h"

namespace tunx {
namespace {

// A calibration with unit gains, offsets of 8000 with slope 1 for the volt groups and
// slope 0.05 for the millivolt groups, and a 4096 mV converter reference.
Calibration plainCalibration() {
    Calibration cal;
    cal.adcref = 4096;
    cal.ch1gainv = cal.ch1gaindv = cal.ch1gainmv = 1;
    cal.ch2gainv = cal.ch2gaindv = cal.ch2gainmv = 1;
    cal.ch1offv = 8000;
    cal.ch2offv = 8000;
    cal.ch1offmv = cal.ch2offmv = 8000;
    cal.ch1offslopev = cal.ch2offslopev = 1;
    cal.ch1offslopemv = cal.ch2offslopemv = 0.05f;
    return cal;
}

struct Row {
    const char* what;
    Channel ch;
    const char* range;
    void (*tweak)(Calibration&);
    double pos;
    std::int32_t spanadc;
    std::int16_t span;
    std::int32_t rangeDac;
    std::int32_t offsetDac;
    Command first, second;
};

void none(Calibration&) {}

const Row kRows[] = {
    {"1V plain",
     Channel::CH1,
     "1V",
     none,
     256,
     8000,
     8000,
     1640,
     1639,
     {32, 4, 9, 0},
     {32, 3, 2, 1}},
    {"CH1 rounds k x g x 4096 / adcref once",
     Channel::CH1,
     "1V",
     [](Calibration& c) { c.ch1gainv = 0.9993f, c.adcref = 3600; },
     256,
     9096,
     7994,
     1639,
     0,
     {32, 4, 9, 0},
     {32, 3, 2, 1}},
    {"CH2 rounds k x g first",
     Channel::CH2,
     "1V",
     [](Calibration& c) { c.ch2gainv = 0.9993f, c.adcref = 3600; },
     256,
     9095,
     7994,
     1639,
     0,
     {32, 4, 10, 0},
     {32, 7, 9, 1}},
    {"CH1 0.2V takes the position against k x g",
     Channel::CH1,
     "0.2V",
     [](Calibration& c) { c.ch1gaindv = 1.0003f; },
     500,
     1600,
     1600,
     328,
     2389,
     {32, 4, 9, 1},
     {32, 3, 2, 1}},
    {"CH1 0.1V takes it against the rounded span",
     Channel::CH1,
     "0.1V",
     [](Calibration& c) { c.ch1gaindv = 1.0003f; },
     500,
     800,
     800,
     164,
     2629,
     {32, 4, 9, 1},
     {32, 3, 2, 1}},
    {"CH1 volt ranges use the unrounded offset",
     Channel::CH1,
     "1V",
     [](Calibration& c) { c.ch1offv = 8000.4f, c.ch1offslopev = 22.857143f; },
     1,
     8000,
     8000,
     1640,
     2869,
     {32, 4, 9, 0},
     {32, 3, 2, 1}},
    {"CH1 50mV", Channel::CH1, "50mV", none, 256, 400, 400, 82, 1639, {32, 4, 9, 1}, {32, 3, 2, 0}},
    {"CH1 10mV shares the 20mV range DAC step",
     Channel::CH1,
     "10mV",
     none,
     256,
     80,
     80,
     33,
     2623,
     {32, 4, 9, 1},
     {32, 3, 2, 0}},
    {"CH2 20mV",
     Channel::CH2,
     "20mV",
     none,
     128,
     160,
     160,
     33,
     2623,
     {32, 4, 10, 1},
     {32, 7, 9, 0}},
    {"CH2 0.2V",
     Channel::CH2,
     "0.2V",
     none,
     256,
     1600,
     1600,
     328,
     2623,
     {32, 4, 10, 1},
     {32, 7, 9, 1}},
};

bool same(const Command& a, const Command& b) {
    return a.code == b.code && a.b1 == b.b1 && a.b2 == b.b2 && a.b3 == b.b3 && a.b4 == b.b4 &&
           a.b5 == b.b5;
}

TEST(Ranges, VoltsPerDivisionArithmeticAndSwitchesForEveryGroup) {
    for (const Row& row : kRows) {
        Calibration cal = plainCalibration();
        row.tweak(cal);
        const VoltsRange* range = findRange(row.range);
        ASSERT_NE(range, nullptr) << row.what;
        const RangeSetting s = computeRange(row.ch, *range, cal);
        EXPECT_EQ(s.spanadc, row.spanadc) << row.what;
        EXPECT_FLOAT_EQ(s.scale, 512.0f / (row.spanadc + 1)) << row.what;
        EXPECT_EQ(s.span, row.span) << row.what;
        EXPECT_EQ(s.rangeDac, row.rangeDac) << row.what;
        if (row.offsetDac != 0) {
            EXPECT_EQ(offsetDacValue(row.pos, s.positionSpan, s.offsetBase, s.offslope),
                      row.offsetDac)
                << row.what;
        }
        const auto switches = rangeSwitches(row.ch, range->group);
        EXPECT_TRUE(same(switches[0], row.first)) << row.what;
        EXPECT_TRUE(same(switches[1], row.second)) << row.what;
    }
}

TEST(Ranges, DacChannelsPerChannel) {
    EXPECT_EQ(rangeDacChannel(Channel::CH1), 4);
    EXPECT_EQ(offsetDacChannel(Channel::CH1), 8);
    EXPECT_EQ(rangeDacChannel(Channel::CH2), 6);
    EXPECT_EQ(offsetDacChannel(Channel::CH2), 5);
}

TEST(Ranges, OnlyTheSevenListEntriesAreRanges) {
    for (const char* text : {"1V", "0.5V", "0.2V", "0.1V", "50mV", "20mV", "10mV"}) {
        EXPECT_NE(findRange(text), nullptr) << text;
    }
    for (const char* text : {"2V", "", "1 V", "1v", "5mV", "abc"}) {
        EXPECT_EQ(findRange(text), nullptr) << text;
    }
}

TEST(Ranges, NonsenseCalibrationRaisesTheProgramsErrors) {
    Calibration cal = plainCalibration();
    cal.adcref = 0;
    EXPECT_THROW(computeRange(Channel::CH1, *findRange("1V"), cal), RuntimeError);
    EXPECT_THROW(offsetDacValue(256, 8000, 8000, 0), RuntimeError);
    cal = plainCalibration();
    cal.ch1gainv = 1e6f;  // a span beyond 16 bits
    EXPECT_THROW(computeRange(Channel::CH1, *findRange("1V"), cal), RuntimeError);
}

}  // namespace
}  // namespace tunx
