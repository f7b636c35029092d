#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/LineReader.h"
#include "support/Rig.h"

namespace tunx {
namespace {

using End = LineReader::LineEnd;

TEST(LineReader, TellsHowEachLineEnded) {
    const std::string path = test::writeTempFile("line-ends.txt", "a\r\nb\nc\rd\r\n\ne");
    LineReader in(path);
    std::vector<std::pair<std::string, End>> got;
    while (const auto line = in.next()) {
        got.emplace_back(*line, in.lastEnd());
    }
    const std::vector<std::pair<std::string, End>> expected = {{"a", End::CrLf}, {"b", End::Lf},
                                                               {"c", End::Cr},   {"d", End::CrLf},
                                                               {"", End::Lf},    {"e", End::None}};
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace tunx
