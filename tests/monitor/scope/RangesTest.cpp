#include <gtest/gtest.h>

#include <string>

#include "common/RuntimeError.h"
#include "monitor/scope/Ranges.h"

namespace tunx {
namespace {

// A calibration with the row's gain for every group of both channels, its offset and slope
// for both volt and millivolt groups, and its converter reference.
Calibration calibration(float gain, float adcref, float offset, float slope) {
    Calibration c;
    c.adcref = static_cast<std::int16_t>(adcref);
    c.ch1gainv = c.ch1gaindv = c.ch1gainmv = c.ch2gainv = c.ch2gaindv = c.ch2gainmv = gain;
    c.ch1offv = offset;
    c.ch2offv = c.ch1offmv = c.ch2offmv = static_cast<std::int16_t>(offset);
    c.ch1offslopev = c.ch2offslopev = c.ch1offslopemv = c.ch2offslopemv = slope;
    return c;
}

TEST(Ranges, VoltsPerDivisionArithmeticOfBothChannels) {
    struct Row {
        Channel ch;
        const char* range;
        float gain, adcref, offset, slope;
        double pos;
        std::int32_t spanadc;
        std::int16_t span;
        std::int32_t rangeDac, offsetDac;  // 0: not checked
    };
    constexpr Channel CH1 = Channel::CH1, CH2 = Channel::CH2;
    const Row rows[] = {
        {CH1, "1V", 1, 4096, 8000, 1, 256, 8000, 8000, 1640, 1639},
        // CH1 rounds k x g x 4096 / adcref once, CH2 rounds k x g first.
        {CH1, "1V", 0.9993f, 3600, 8000, 1, 256, 9096, 7994, 1639, 0},
        {CH2, "1V", 0.9993f, 3600, 8000, 1, 256, 9095, 7994, 1639, 0},
        // CH1 0.2V takes the position against k x g, 0.1V against the rounded span.
        {CH1, "0.2V", 1.0003f, 4096, 8000, 1, 500, 1600, 1600, 328, 2389},
        {CH1, "0.1V", 1.0003f, 4096, 8000, 1, 500, 800, 800, 164, 2629},
        {CH1, "1V", 1, 4096, 8000.4f, 22.857143f, 1, 8000, 8000, 1640, 2869},  // unrounded c
        {CH1, "50mV", 1, 4096, 8000, 0.05f, 256, 400, 400, 82, 1639},
        {CH1, "10mV", 1, 4096, 8000, 0.05f, 256, 80, 80, 33, 2623},  // the 20mV range DAC step
        {CH2, "20mV", 1, 4096, 8000, 0.05f, 128, 160, 160, 33, 2623},
        {CH2, "0.2V", 1, 4096, 8000, 1, 256, 1600, 1600, 328, 2623},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.range) + " CH" + std::to_string(int(row.ch)));
        const VoltsRange* range = findRange(row.range);
        ASSERT_NE(range, nullptr);
        const RangeSetting s =
            computeRange(row.ch, *range, calibration(row.gain, row.adcref, row.offset, row.slope));
        EXPECT_EQ(std::tuple(s.spanadc, s.span, s.rangeDac),
                  std::tuple(row.spanadc, row.span, row.rangeDac));
        EXPECT_FLOAT_EQ(s.scale, 512.0f / (row.spanadc + 1));
        if (row.offsetDac != 0) {
            EXPECT_EQ(offsetDacValue(row.pos, s.positionSpan, s.offsetBase, s.offslope),
                      row.offsetDac);
        }
    }
}

TEST(Ranges, SwitchesAndDacChannelsOfEachGroup) {
    using Bytes = std::array<int, 5>;
    struct Row {
        Channel ch;
        RangeGroup group;
        Bytes first, second;  // the bytes of the two code-32 commands
        int rangeDac, offsetDac;
    };
    const Row rows[] = {
        {Channel::CH1, RangeGroup::Volt, {4, 9, 0}, {3, 2, 1}, 4, 8},
        {Channel::CH1, RangeGroup::DeciVolt, {4, 9, 1}, {3, 2, 1}, 4, 8},
        {Channel::CH1, RangeGroup::MilliVolt, {4, 9, 1}, {3, 2, 0}, 4, 8},
        {Channel::CH2, RangeGroup::Volt, {4, 10, 0}, {7, 9, 1}, 6, 5},
        {Channel::CH2, RangeGroup::DeciVolt, {4, 10, 1}, {7, 9, 1}, 6, 5},
        {Channel::CH2, RangeGroup::MilliVolt, {4, 10, 1}, {7, 9, 0}, 6, 5},
    };
    const auto bytes = [](const Command& c) {
        EXPECT_EQ(c.code, 32);
        return Bytes{c.b1, c.b2, c.b3, c.b4, c.b5};
    };
    for (const Row& row : rows) {
        const auto switches = rangeSwitches(row.ch, row.group);
        EXPECT_EQ(bytes(switches[0]), row.first) << int(row.group);
        EXPECT_EQ(bytes(switches[1]), row.second) << int(row.group);
        EXPECT_EQ(rangeDacChannel(row.ch), row.rangeDac);
        EXPECT_EQ(offsetDacChannel(row.ch), row.offsetDac);
    }
}

TEST(Ranges, OnlyTheSevenListEntriesAreRangesAndNonsenseCalibrationRaisesErrors) {
    for (const char* text : {"1V", "0.5V", "0.2V", "0.1V", "50mV", "20mV", "10mV"}) {
        EXPECT_NE(findRange(text), nullptr) << text;
    }
    for (const char* text : {"2V", "", "1 V", "1v", "5mV"}) {
        EXPECT_EQ(findRange(text), nullptr) << text;
    }
    EXPECT_THROW(computeRange(Channel::CH1, *findRange("1V"), calibration(1, 0, 8000, 1)),
                 RuntimeError);
    EXPECT_THROW(offsetDacValue(256, 8000, 8000, 0), RuntimeError);
    // A span beyond 16 bits.
    EXPECT_THROW(computeRange(Channel::CH1, *findRange("1V"), calibration(1e6f, 4096, 8000, 1)),
                 RuntimeError);
}

}  // namespace
}  // namespace tunx
