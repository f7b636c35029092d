#include "common/LineReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <streambuf>
#include <string>
#include <vector>

#include "common/RuntimeError.h"
#include "support/Rig.h"

namespace tunx {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
using End = LineReader::LineEnd;
using Line = std::pair<std::string, End>;
using Lines = std::vector<Line>;

Lines readAll(LineReader& in) {
    Lines got;
    while (const auto line = in.next()) {
        got.emplace_back(*line, in.lastEnd());
    }
    return got;
}

Lines readAll(const std::string& path) {
    LineReader in(path);
    return readAll(in);
}

// A line ends at CR LF, LF or a lone CR. A line that reaches the limit is returned cut and
// nothing after it is read; a line of exactly the limit is whole.
TEST(LineReader, LineEndsAndOverlongLines) {
    const std::string full(LineReader::kMaxLine, 'y');
    const std::string longLine(LineReader::kMaxLine + 5000, 'x');
    const std::string text = "a\r\nb\0b\nc\rd\r\n\ne\r"s + full + "\n" + longLine + "\nlast\n";
    EXPECT_EQ(
        readAll(test::writeTempFile("lr-ends.txt", text)),
        (Lines{Line{"a", End::CrLf}, Line{"b\0b"s, End::Lf}, Line{"c", End::Cr},
               Line{"d", End::CrLf}, Line{"", End::Lf}, Line{"e", End::Cr}, Line{full, End::Lf},
               Line{longLine.substr(0, LineReader::kMaxLine), End::Cut}}));
    EXPECT_EQ(readAll(test::writeTempFile("lr-last.txt", "x\nlast")),
              (Lines{Line{"x", End::Lf}, Line{"last", End::None}}));
    EXPECT_TRUE(readAll(test::writeTempFile("lr-empty.txt", "")).empty());
    EXPECT_TRUE(readAll("/nonexistent/tunx4k/none.txt").empty());
}

// Only regular files of a sensible size are opened: a device, a pipe or a folder would keep
// the reader waiting or reading for ever.
TEST(LineReader, OpensOnlyRegularFilesOfTextFileSize) {
    const std::string dir = fs::path(test::writeTempFile("lr-kind.txt", "a\n")).parent_path();
    const std::string regular = dir + "/lr-kind.txt";
    const std::string folder = dir + "/lr-folder";
    const std::string fifo = dir + "/lr-fifo";
    const std::string big = dir + "/lr-big.txt";
    const std::string link = dir + "/lr-link";
    const std::string dangling = dir + "/lr-dangling";
    fs::create_directories(folder);
    fs::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::writeTempFile("lr-big.txt", "");
    fs::resize_file(big, kMaxTextFileBytes + 1);
    for (const auto& [from, to] : {std::pair{link, regular}, {dangling, dir + "/lr-none"}}) {
        fs::remove(from);
        fs::create_symlink(to, from);
    }
    const std::tuple<std::string, FileKind, std::string> rows[] = {
        {regular, FileKind::Readable, ""},
        {link, FileKind::Readable, ""},
        {dir + "/lr-none", FileKind::Missing, ""},
        {dangling, FileKind::Missing, ""},
        {folder, FileKind::Folder, folder + " is a folder, not a readable file"},
        {"/dev/zero", FileKind::NotAFile, "/dev/zero is not a readable file"},
        {fifo, FileKind::NotAFile, fifo + " is not a readable file"},
        {big, FileKind::TooLarge, big + " is not a readable file: it is larger than 16 MB"}};
    for (const auto& [path, kind, text] : rows) {
        EXPECT_EQ(fileKind(path), kind) << path;
        EXPECT_EQ(unreadableFileText(path, kind), text) << path;
        LineReader in(path);
        EXPECT_EQ(in.isOpen(), kind == FileKind::Readable) << path;
        EXPECT_EQ(in.kind(), kind) << path;
        EXPECT_EQ(readAll(in).size(), kind == FileKind::Readable ? 1U : 0U) << path;
    }
}

// An endless input of short lines (a file that grows, or a regular file of the system that
// reports no size) ends once a text file's worth of it has been read.
TEST(LineReader, EndlessInputEndsAtTheTextFileLimit) {
    struct Endless : std::streambuf {
        Endless() { setg(chunk.data(), chunk.data(), chunk.data() + chunk.size()); }
        int_type underflow() override {
            setg(chunk.data(), chunk.data(), chunk.data() + chunk.size());
            return traits_type::to_int_type(chunk[0]);
        }
        std::string chunk = [] {
            std::string s;
            while (s.size() < 60'000) {
                s.append(999, 'a');  // lines of 1000 bytes
                s += '\n';
            }
            return s;
        }();
    } source;
    std::istream stream(&source);
    LineReader in(stream);
    std::size_t count = 0;
    while (in.next()) {
        ++count;
    }
    EXPECT_EQ(in.lastEnd(), End::Cut);
    EXPECT_EQ(count, kMaxTextFileBytes / 1000 + 1);
    EXPECT_THROW(requireLine(in), RuntimeError);
}

}  // namespace
}  // namespace tunx
