#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "common/RuntimeError.h"

namespace tunx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The result as text, or the description of the run-time error it raised.
std::string outcome(const std::function<long long()>& f) {
    try {
        return std::to_string(f());
    } catch (const RuntimeError& e) {
        return e.description();
    }
}

TEST(CheckedConversion, RoundsHalfToEvenOrRaisesOverflow) {
    const std::pair<double, double> halves[] = {{2.5, 2}, {3.5, 4},    {-2.5, -2},  {-3.5, -4},
                                                {0.5, 0}, {2.4999, 2}, {2.5001, 3}, {-0.4, 0}};
    for (const auto& [in, out] : halves) {
        EXPECT_EQ(roundHalfEven(in), out) << in;
    }
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(CByte(255.4), 255);
    EXPECT_EQ(unsigned16(65534.5), 65534);
    EXPECT_EQ(unsigned16(-0.5), 0);
    for (const double v : {32767.5, -32769.0, 1e9, kNaN}) {
        EXPECT_EQ(outcome([v] { return CInt(v); }), "Overflow") << v;
    }
    for (const double v : {2147483648.0, kNaN, kInf}) {
        EXPECT_EQ(outcome([v] { return CLng(v); }), "Overflow") << v;
    }
    for (const double v : {256.0, -1.0}) {
        EXPECT_EQ(outcome([v] { return CByte(v); }), "Overflow") << v;
    }
    // A 16-bit command field.
    for (const double v : {-1.0, -0.6, 65535.5, kNaN, kInf}) {
        EXPECT_EQ(outcome([v] { return split16(v).low; }), "Overflow") << v;
    }
}

// Field text: the numeric test and its conversion, which raises "Type mismatch" otherwise.
TEST(FieldNumber, NumericTestAndConversion) {
    for (const char* text : {"1", " 1.5 ", "-2", "+.5", "1e3", "2.5E-3", "5."}) {
        EXPECT_TRUE(IsNumeric(text)) << text;
        EXPECT_EQ(CDbl(text), std::stod(text));
    }
    for (const char* text : {"", " ", "abc", "1,5", "nan", "inf", "1e", "--1", "0x10", "1 2"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
        EXPECT_EQ(outcome([&] { return static_cast<long long>(CDbl(text)); }), "Type mismatch");
    }
    EXPECT_FALSE(IsNumeric("1e999"));
    EXPECT_EQ(outcome([] { return static_cast<long long>(CDbl("1e999")); }), "Overflow");
}

TEST(Text, Formatting) {
    EXPECT_EQ(formatFixed(100.000493, 5), "100.00049");
    EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(formatGeneral(29999.99975 / 30), "999.9999916666667");
    EXPECT_EQ(formatGeneral(0.1), "0.1");
    EXPECT_EQ(formatGrouped(17142857, 0), "17,142,857");
    EXPECT_EQ(formatGrouped(1500000, 0, '.'), "1.500.000");
    EXPECT_EQ(formatGrouped(-1234.56, 1), "-1,234.6");
}

// A register value's four bytes, most significant first, and the last two of them as a 16-bit
// field: negative values give their two's-complement bytes.
TEST(RegisterBytes, MostSignificantFirstTwosComplement) {
    using B = std::array<int, 4>;
    const std::pair<std::int32_t, B> rows[] = {
        {0, {0, 0, 0, 0}},
        {10737, {0, 0, 41, 241}},
        {65535, {0, 0, 255, 255}},
        {65536, {0, 1, 0, 0}},
        {2147483647, {127, 255, 255, 255}},
        {-1, {255, 255, 255, 255}},
        {-383, {255, 255, 254, 129}},
        {-2147483647 - 1, {128, 0, 0, 0}},
    };
    for (const auto& [value, bytes] : rows) {
        EXPECT_EQ(registerBytes(value), bytes) << value;
        EXPECT_EQ(std::pair(lowBytes(value).high, lowBytes(value).low),
                  std::pair(bytes[2], bytes[3]))
            << value;
    }
}

}  // namespace
}  // namespace tunx
