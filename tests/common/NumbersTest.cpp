#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/Hex.h"
#include "common/Numbers.h"
#include "common/RuntimeError.h"

namespace tunx {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Row {
        double in, out;
    };
    for (const Row& r : {Row{2.5, 2}, Row{3.5, 4}, Row{-2.5, -2}, Row{-3.5, -4}, Row{0.5, 0},
                         Row{1.5, 2}, Row{2.4999, 2}, Row{2.5001, 3}, Row{-0.4, 0}}) {
        EXPECT_EQ(roundHalfEven(r.in), r.out) << r.in;
    }
}

TEST(CheckedConversion, RaisesOverflowOutsideTheRange) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);  // half to even stays in range
    EXPECT_THROW(CInt(32767.5), RuntimeError);
    EXPECT_THROW(CInt(-32769), RuntimeError);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_THROW(CLng(2147483648.0), RuntimeError);
    EXPECT_THROW(CLng(std::nan("")), RuntimeError);
    EXPECT_THROW(CLng(std::numeric_limits<double>::infinity()), RuntimeError);
    EXPECT_EQ(CByte(255.4), 255);
    EXPECT_THROW(CByte(256), RuntimeError);
    EXPECT_THROW(CByte(-1), RuntimeError);
    try {
        CInt(1e9);
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.description(), "Overflow");
    }
}

TEST(NumericTest, AcceptsOrdinaryNumbersOnly) {
    struct Row {
        const char* text;
        bool numeric;
    };
    for (const Row& r :
         {Row{"1", true}, Row{" 1.5 ", true}, Row{"-2", true}, Row{"+.5", true}, Row{"1e3", true},
          Row{"2.5E-3", true}, Row{"5.", true}, Row{"", false}, Row{" ", false}, Row{"abc", false},
          Row{"1,5", false}, Row{"nan", false}, Row{"inf", false}, Row{"1e", false},
          Row{"--1", false}, Row{"0x10", false}, Row{"1e999", false}, Row{"1 2", false}}) {
        EXPECT_EQ(IsNumeric(r.text), r.numeric) << '"' << r.text << '"';
    }
}

TEST(FieldNumber, NonNumericTextIsATypeMismatch) {
    EXPECT_DOUBLE_EQ(CDbl(" 2.5 "), 2.5);
    try {
        CDbl("x");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.description(), "Type mismatch");
    }
    EXPECT_THROW(CDbl(""), RuntimeError);
    EXPECT_THROW(CDbl("1e999"), RuntimeError);
}

TEST(Formatting, FixedGeneralAndGrouped) {
    EXPECT_EQ(formatFixed(100.000493, 5), "100.00049");
    EXPECT_EQ(formatFixed(10, 2), "10.00");
    EXPECT_EQ(formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(formatGeneral(29999.99975 / 30), "999.9999916666667");
    EXPECT_EQ(formatGeneral(1000), "1000");
    EXPECT_EQ(formatGeneral(0.1), "0.1");
    EXPECT_EQ(formatGrouped(17142857, 0), "17,142,857");
    EXPECT_EQ(formatGrouped(1500000, 0, '.'), "1.500.000");
    EXPECT_EQ(formatGrouped(-1234.56, 1), "-1,234.6");
    EXPECT_EQ(formatGrouped(999, 0), "999");
}

TEST(Hex, HextodecUppercasesAndSkipsForeignCharacters) {
    std::string t = "ff";
    EXPECT_EQ(hextodec(t), 255);
    EXPECT_EQ(t, "FF");
    std::string g = "1G";
    EXPECT_EQ(hextodec(g), 16);
    std::string empty;
    EXPECT_EQ(hextodec(empty), 0);
}

TEST(Hex, LtotxSplitsMostSignificantFirst) {
    using B = std::array<std::string, 4>;
    EXPECT_EQ(ltotx(10737), (B{"0", "0", "41", "241"}));
    EXPECT_EQ(ltotx(1020), (B{"0", "0", "3", "252"}));
    EXPECT_EQ(ltotx(-383), (B{"255", "255", "254", "129"}));
    EXPECT_EQ(ltotx(-2147483647 - 1), (B{"128", "0", "0", "0"}));
}

}  // namespace
}  // namespace tunx
