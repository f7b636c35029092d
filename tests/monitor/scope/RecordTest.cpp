#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "monitor/scope/Record.h"

namespace tunx {
namespace {

TEST(Record, TwelveBitHighBytesAboveSixteenAreClampedInTheBuffer) {
    RecordBuffer buffer{};
    buffer[0] = 17;
    buffer[1] = 255;
    buffer[2] = 3;
    buffer[3] = 4;
    buffer[1282] = 200;  // beyond the unpacked part: left alone
    Samples s{};
    unpack12(buffer, 1280, s);
    EXPECT_EQ(s[1], 16 * 256 + 255);
    EXPECT_EQ(s[2], 3 * 256 + 4);
    EXPECT_EQ(buffer[0], 16);
    EXPECT_EQ(buffer[1282], 200);
    EXPECT_EQ(s[642], 0);  // 641 samples
}

TEST(Record, EightBitPairsAreCh2ThenCh1) {
    RecordBuffer buffer{};
    buffer[0] = 10;
    buffer[1] = 200;
    buffer[2] = 11;
    buffer[3] = 201;
    Samples ch1{}, ch2{};
    unpack8(buffer, 0, 4, ch1, ch2);
    EXPECT_EQ(ch1[1], 200);
    EXPECT_EQ(ch2[1], 10);
    EXPECT_EQ(ch1[2], 201);
    EXPECT_EQ(ch2[2], 11);
    EXPECT_EQ(ch1[3], 0);
    // From an odd start the pairs shift, but the first byte of a pair still goes to CH2.
    unpack8(buffer, 1, 2, ch1, ch2);
    EXPECT_EQ(ch2[1], 200);
    EXPECT_EQ(ch1[1], 11);
}

// Samples from a function of the index (1-based).
Samples make(const std::function<int(int)>& f) {
    Samples s{};
    for (int i = 1; i < static_cast<int>(s.size()); ++i) {
        s[static_cast<std::size_t>(i)] = f(i);
    }
    return s;
}

struct TriggerRow {
    const char* what;
    std::function<int(int)> signal;
    bool positive;
    int expected;
};

TEST(Record, SoftwareTriggerFindsTheCrossingAfterTheHoldOff) {
    const int L = 160;
    const std::vector<TriggerRow> rows = {
        {"never below the level", [](int) { return 200; }, true, 606},
        {"drops below and never rises again", [](int i) { return i < 10 ? 200 : 100; }, true, 1},
        {"rises at 20", [](int i) { return i >= 10 && i < 20 ? 100 : 200; }, true, 20},
        {"a rise inside the hold-off is ignored",
         [](int i) { return i == 10 || (i > 11 && i < 20) ? 100 : 200; }, true, 20},
        {"the level itself is no crossing", [](int i) { return i < 10 ? 100 : 160; }, true, 1},
        {"falling edge mirrors it", [](int i) { return i >= 10 && i < 20 ? 200 : 100; }, false, 20},
        {"falling edge, never above", [](int) { return 100; }, false, 606},
        {"first phase at 596: the second never runs", [](int i) { return i == 596 ? 100 : 200; },
         true, 1},
        {"first phase at 598: the loop's end value stands",
         [](int i) { return i == 598 ? 100 : 200; }, true, 603},
        {"crossing at 600 is still found", [](int i) { return i < 600 ? 100 : 200; }, true, 600},
        {"crossing at 601 is too late", [](int i) { return i < 601 ? 100 : 200; }, true, 1},
    };
    for (const TriggerRow& row : rows) {
        EXPECT_EQ(softwareTrigger(make(row.signal), L, row.positive), row.expected) << row.what;
    }
}

TEST(Record, TraceColumnsFollowTheHorizontalExpansion) {
    const std::vector<int> at16 = traceColumns(1.6f);
    ASSERT_EQ(at16.size(), 401u);
    EXPECT_EQ(std::vector<int>(at16.begin(), at16.begin() + 8),
              (std::vector<int>{1, 2, 3, 5, 6, 8, 10, 11}));
    EXPECT_EQ(std::vector<int>(at16.end() - 3, at16.end()), (std::vector<int>{637, 638, 640}));

    const std::vector<int> at1 = traceColumns(1.0f);
    ASSERT_EQ(at1.size(), 641u);  // the first two samples share column 1
    EXPECT_EQ(at1[0], 1);
    EXPECT_EQ(at1[1], 1);
    EXPECT_EQ(at1.back(), 640);

    const std::vector<int> wide = traceColumns(16.0f);
    ASSERT_EQ(wide.size(), 41u);
    EXPECT_EQ(wide[1], 16);
    EXPECT_EQ(wide[2], 32);
    EXPECT_EQ(wide.back(), 640);

    EXPECT_EQ(traceColumns(0.0f).size(), 1u);  // a time base never chosen: no endless walk
}

}  // namespace
}  // namespace tunx
