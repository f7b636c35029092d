#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "monitor/scope/TimeBase.h"

namespace tunx {
namespace {

// One row per list entry: the three columns of the time-base table. A negative divider
// marks a column the time base is not offered in; an expansion of 0 leaves it unchanged.
struct Row {
    const char* text;
    long div12;
    const char* flags12;
    double rate12;
    float exp12;
    long div8;
    const char* flags8;
    double rate8;
    float exp8;
    long undersdiv;
    double rateUnder;
};

const Row kRows[] = {
    {"1s/div", 625000, "SV", 0, 1, 625000, "SV", 0, 0, -1, 0},
    {"500ms/div", 312500, "SV", 0, 1, 312500, "SV", 0, 0, -1, 0},
    {"200ms/div", 125000, "SV", 0, 1, 125000, "SV", 0, 0, -1, 0},
    {"100ms/div", 62500, "S", 256000, 1, 62500, "S", 640, 1, -1, 0},
    {"50ms/div", 31250, "S", 128000, 1, 31250, "S", 1280, 1, -1, 0},
    {"20ms/div", 12500, "S", 51200, 1, 12500, "S", 3200, 1, -1, 0},
    {"10ms/div", 6250, "S", 25600, 1, 6250, "S", 6400, 1, -1, 0},
    {"5ms/div", 3092, "", 12800, 1, 3125, "", 12800, 1, -1, 0},
    {"2ms/div", 1225, "", 32000, 1, 1250, "", 32000, 1, -1, 0},
    {"1ms/div", 600, "", 64000, 1, 625, "", 64000, 1, -1, 0},
    {"500us/div", 287, "", 128000, 1, 313, "", 128000, 1, -1, 0},
    {"200us/div", 99, "", 320000, 1, 125, "", 320000, 1, -1, 0},
    {"100us/div", 1, "", 486400, 1.327f, 63, "", 640000, 1.01f, -1, 0},
    {"50us/div", -1, "", 0, 0, 32, "", 1400000, 1.024f, -1, 0},
    {"20us/div", -1, "", 0, 0, 13, "", 3080000, 1.04f, -1, 0},
    {"10us/div", -1, "", 0, 0, 7, "", 5714285, 1.12f, -1, 0},
    {"5us/div", -1, "", 0, 0, 6, "", 6600000, 1.936f, -1, 0},
    {"2us/div", -1, "", 0, 0, 6, "", 6600000, 4.84f, -1, 0},
    {"1us/div", -1, "", 0, 0, 0, "", 40000000, 1.6f, 1000, 64000000},
    {"500ns/div", -1, "", 0, 0, 0, "", 40000000, 3.2f, 500, 128000000},
    {"200ns/div", -1, "", 0, 0, 0, "", 40000000, 8, 200, 320000000},
    {"100ns/div", -1, "", 0, 0, 0, "", 40000000, 16, 100, 640000000},
    {"50ns/div", -1, "", 0, 0, -1, "", 0, 0, 50, 0},
    {"20ns/div", -1, "", 0, 0, -1, "", 0, 0, 20, 0},
    {"10ns/div", -1, "", 0, 0, -1, "", 0, 0, 10, 0},
    {"5ns/div", -1, "", 0, 0, -1, "", 0, 0, 5, 0},
    {"2ns/div", -1, "", 0, 0, -1, "", 0, 0, 2, 0},
    {"1ns/div", -1, "", 0, 0, -1, "", 0, 0, 1, 0},
};

void expectColumn(const std::optional<Sampling>& s, long div, const std::string& flags, double rate,
                  float expand, const std::string& where) {
    if (div < 0) {
        EXPECT_FALSE(s.has_value()) << where;
        return;
    }
    ASSERT_TRUE(s.has_value()) << where;
    EXPECT_EQ(s->adcdiv, div) << where;
    EXPECT_EQ(s->slowtb, flags.find('S') != std::string::npos) << where;
    EXPECT_EQ(s->vslowtb, flags.find('V') != std::string::npos) << where;
    EXPECT_EQ(s->fftrate, rate) << where;
    if (expand == 0) {
        EXPECT_FALSE(s->hexpand.has_value()) << where;
    } else {
        ASSERT_TRUE(s->hexpand.has_value()) << where;
        EXPECT_EQ(*s->hexpand, expand) << where;
    }
}

TEST(TimeBase, EveryRowOfAllThreeColumnsInListOrder) {
    const auto& table = timeBases();
    ASSERT_EQ(std::size(kRows), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Row& row = kRows[i];
        const TimeBase& tb = table[i];
        EXPECT_EQ(tb.text, row.text);
        // The caption, its number and unit: "5us/div" shows "5us", 5 and " us".
        EXPECT_EQ(std::string(tb.perDiv) + "/div", tb.text);
        EXPECT_EQ(std::to_string(static_cast<int>(tb.number)) + std::string(tb.unit).substr(1),
                  tb.perDiv);
        expectColumn(tb.twelveBit, row.div12, row.flags12, row.rate12, row.exp12,
                     std::string(row.text) + " 12-bit");
        expectColumn(tb.realTime, row.div8, row.flags8, row.rate8, row.exp8,
                     std::string(row.text) + " real time");
        if (row.undersdiv < 0) {
            EXPECT_FALSE(tb.under.has_value()) << row.text;
        } else {
            ASSERT_TRUE(tb.under.has_value()) << row.text;
            EXPECT_EQ(tb.under->undersdiv, row.undersdiv) << row.text;
            EXPECT_EQ(tb.under->fftrate, row.rateUnder) << row.text;
        }
    }
}

TEST(TimeBase, LookUpIsByExactText) {
    ASSERT_NE(findTimeBase("1ms/div"), nullptr);
    EXPECT_EQ(findTimeBase("1ms/div")->realTime->adcdiv, 625);
    for (const char* nonsense : {"", "1ms", "1 ms/div", "1MS/DIV", "3ms/div", "1ms/div "}) {
        EXPECT_EQ(findTimeBase(nonsense), nullptr) << nonsense;
    }
}

}  // namespace
}  // namespace tunx
