#include "dds/FrequencyUnit.h"

#include <gtest/gtest.h>

namespace tunx {
namespace {

struct UnitCase {
    const char* unit;
    double hzPerUnit;
};

class FrequencyUnit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(FrequencyUnit, GivesHertzPerUnitOfTheExactText) {
    EXPECT_EQ(hzPerUnit(GetParam().unit), GetParam().hzPerUnit);
}

INSTANTIATE_TEST_SUITE_P(Units, FrequencyUnit,
                         ::testing::Values(UnitCase{"kHz", 1000}, UnitCase{"MHz", 1'000'000},
                                           UnitCase{"Hz", 1}, UnitCase{"", 1},
                                           // Other spellings and surrounding spaces are not the
                                           // unit: callers that accept spaces trim first.
                                           UnitCase{"khz", 1}, UnitCase{"mHz", 1},
                                           UnitCase{" kHz", 1}, UnitCase{"MHz ", 1}));

}  // namespace
}  // namespace tunx
