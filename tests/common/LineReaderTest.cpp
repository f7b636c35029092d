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

std::vector<std::string> readAll(const std::string& path) {
    LineReader reader(path);
    std::vector<std::string> out;
    while (auto line = reader.next()) {
        out.push_back(*line);
    }
    return out;
}

TEST(LineReader, EndsLinesAtLfCrLfAndLoneCr) {
    struct Row {
        const char* name;
        std::string content;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"lr-lf.txt", "a\nb\n", {"a", "b"}},
        {"lr-crlf.txt", "a\r\nb\r\n", {"a", "b"}},
        {"lr-cr.txt", "a\rb\r", {"a", "b"}},
        {"lr-mixed.txt", "a\r\n\nb\rc", {"a", "", "b", "c"}},
        {"lr-noend.txt", "only", {"only"}},
        {"lr-empty.txt", "", {}},
        {"lr-nul.txt", std::string("x\0y\n", 4), {std::string("x\0y", 3)}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(readAll(test::writeTempFile(r.name, r.content)), r.lines) << r.name;
    }
}

TEST(LineReader, CutsOverlongLinesAndGoesOnWithTheNext) {
    const std::string longLine(LineReader::kMaxLine + 5000, 'x');
    const auto lines = readAll(test::writeTempFile("lr-long.txt", longLine + "\nnext\n"));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].size(), LineReader::kMaxLine);
    EXPECT_EQ(lines[1], "next");
}

TEST(LineReader, MissingFileIsNotOpenAndHasNoLines) {
    LineReader reader("/nonexistent/tunx4k/none.txt");
    EXPECT_FALSE(reader.isOpen());
    EXPECT_FALSE(reader.next().has_value());
}

}  // namespace
}  // namespace tunx
