#include "common/LineReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Rig.h"

namespace tunx {
namespace {

using namespace std::string_literals;
using End = LineReader::LineEnd;
using Line = std::pair<std::string, End>;
using Lines = std::vector<Line>;

Lines readAll(const std::string& path) {
    LineReader in(path);
    Lines got;
    while (const auto line = in.next()) {
        got.emplace_back(*line, in.lastEnd());
    }
    return got;
}

// A line ends at CR LF, LF or a lone CR; an overlong line is cut and the next one follows.
TEST(LineReader, LineEndsAndOverlongLines) {
    const std::string longLine(LineReader::kMaxLine + 5000, 'x');
    const std::string text = "a\r\nb\0b\nc\rd\r\n\ne\r"s + longLine + "\nlast";
    EXPECT_EQ(
        readAll(test::writeTempFile("lr-ends.txt", text)),
        (Lines{Line{"a", End::CrLf}, Line{"b\0b"s, End::Lf}, Line{"c", End::Cr},
               Line{"d", End::CrLf}, Line{"", End::Lf}, Line{"e", End::Cr},
               Line{longLine.substr(0, LineReader::kMaxLine), End::Lf}, Line{"last", End::None}}));
    EXPECT_TRUE(readAll(test::writeTempFile("lr-empty.txt", "")).empty());
    EXPECT_TRUE(readAll("/nonexistent/tunx4k/none.txt").empty());
}

}  // namespace
}  // namespace tunx
