#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "monitor/plot/Plot.h"
#include "monitor/scope/TimeBase.h"

namespace tunx {
namespace {

// What the user meets in the list: "1s/div" down to "1ns/div" in steps of 1, 2, 5, each
// captioned without its "/div" and read by the cursors as its number and unit.
TEST(TimeBase, TheListRunsFromOneSecondToOneNanosecondInStepsOfOneTwoFive) {
    const auto& list = timeBases();
    EXPECT_EQ(list.front().text, "1s/div");
    EXPECT_EQ(list.back().text, "1ns/div");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const TimeBase& tb = list[i];
        SCOPED_TRACE(std::string(tb.text));
        EXPECT_EQ(std::string(tb.perDiv) + "/div", tb.text);
        EXPECT_EQ(std::to_string(static_cast<int>(tb.number)) + std::string(tb.unit).substr(1),
                  tb.perDiv);
        if (i > 0) {
            const double step = secondsPerDivision(list[i - 1]) / secondsPerDivision(tb);
            EXPECT_TRUE(std::abs(step - 2) < 1e-9 || std::abs(step - 2.5) < 1e-9) << step;
        }
    }
}

// Where each converter records: the 12-bit one down to 100us/div, the 8-bit one in real time
// down to 100ns/div and by undersampling from 1us/div; the slow record from 10ms/div up, the
// rolling display (without a spectrum) from 200ms/div up. A division of the plot holds the samples
// the converter takes in a division's time, 64 columns within 1 % (a wrong divider or expansion
// would stretch or squeeze the trace); undersampling shifts the generator by the division's time,
// and offers a spectrum down to 100ns/div.
TEST(TimeBase, EachConverterFillsADivisionWithOneDivisionsTime) {
    for (const TimeBase& tb : timeBases()) {
        SCOPED_TRACE(std::string(tb.text));
        const double seconds = secondsPerDivision(tb);
        const double atLeast = seconds * (1 + 1e-9);
        EXPECT_EQ(tb.twelveBit.has_value(), atLeast >= 100e-6);
        EXPECT_EQ(tb.realTime.has_value(), atLeast >= 100e-9);
        EXPECT_EQ(tb.under.has_value(), seconds <= 1e-6 * (1 + 1e-9));
        for (const bool twelveBit : {true, false}) {
            const std::optional<Sampling>& s = twelveBit ? tb.twelveBit : tb.realTime;
            if (!s) {
                continue;
            }
            EXPECT_EQ(s->slowtb, atLeast >= 10e-3) << twelveBit;
            EXPECT_EQ(s->vslowtb, atLeast >= 200e-3) << twelveBit;
            const RecordTiming t = *timingOf(tb, twelveBit, false);
            EXPECT_EQ(t.rolling, s->vslowtb);
            EXPECT_EQ(t.spectrumRate == 0, t.rolling) << twelveBit;
            const double columns = seconds / t.interval * (t.rolling ? 1 : t.hexpand.value_or(1));
            EXPECT_NEAR(columns / plot::kDivision, 1, 0.01) << twelveBit << " " << columns;
        }
        if (tb.under) {
            EXPECT_NEAR(tb.under->undersdiv * 1e-9, seconds, seconds * 1e-9);
            const RecordTiming t = *timingOf(tb, false, true);
            EXPECT_NEAR(t.interval * plot::kDivision, seconds, seconds * 1e-9);
            EXPECT_EQ(t.spectrumRate == 0, atLeast < 100e-9);
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
