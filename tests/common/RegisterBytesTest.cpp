#include "common/RegisterBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

#include "common/RuntimeError.h"

namespace tunx {
namespace {

struct SplitCase {
    std::int32_t value;
    std::array<int, 4> bytes;
};

class RegisterBytesSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(RegisterBytesSplit, FourBytesMostSignificantFirstAndTheLowPair) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(registerBytes(c.value), c.bytes);
    const BytePair low = lowBytes(c.value);
    EXPECT_EQ(low.high, c.bytes[2]);
    EXPECT_EQ(low.low, c.bytes[3]);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegisterBytesSplit,
    ::testing::Values(SplitCase{0, {0, 0, 0, 0}}, SplitCase{8000, {0, 0, 31, 64}},
                      SplitCase{65535, {0, 0, 255, 255}}, SplitCase{65536, {0, 1, 0, 0}},
                      SplitCase{-383, {255, 255, 254, 129}},  // two's complement
                      SplitCase{-2147483647 - 1, {128, 0, 0, 0}},
                      SplitCase{2147483647, {127, 255, 255, 255}}));

struct CheckedCase {
    double value;
    int high;
    int low;
};

class Unsigned16Fits : public ::testing::TestWithParam<CheckedCase> {};

TEST_P(Unsigned16Fits, RoundsHalfToEvenAndSplits) {
    const CheckedCase& c = GetParam();
    EXPECT_EQ(unsigned16(c.value), c.high * 256 + c.low);
    const BytePair b = split16(c.value);
    EXPECT_EQ(b.high, c.high);
    EXPECT_EQ(b.low, c.low);
}

INSTANTIATE_TEST_SUITE_P(Values, Unsigned16Fits,
                         ::testing::Values(CheckedCase{0, 0, 0}, CheckedCase{-0.5, 0, 0},
                                           CheckedCase{2.5, 0, 2}, CheckedCase{300, 1, 44},
                                           CheckedCase{65534.5, 255, 254},
                                           CheckedCase{65535, 255, 255}));

class Unsigned16Overflows : public ::testing::TestWithParam<double> {};

TEST_P(Unsigned16Overflows, RaisesOverflow) {
    const double value = GetParam();
    try {
        split16(value);
        FAIL() << "no error for " << value;
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.description(), kOverflow);
    }
    EXPECT_THROW(unsigned16(value), RuntimeError);
}

INSTANTIATE_TEST_SUITE_P(Values, Unsigned16Overflows,
                         ::testing::Values(-1.0, -0.6, 65535.5, 65536.0, 1e12,
                                           std::numeric_limits<double>::quiet_NaN(),
                                           std::numeric_limits<double>::infinity()));

}  // namespace
}  // namespace tunx
