// Every file of the fuzzers' corpora, the reproducers of past findings among them, and inputs
// too large to keep in the repository, fed to the same entries the fuzzers drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/Entries.h"

namespace tunx::fuzz {
namespace {

using Entry = Finding (*)(std::span<const std::uint8_t>, const std::string&);

struct Target {
    const char* name;  // the corpus folder and the fuzzer's name
    Entry entry;
    std::size_t minFiles;  // a corpus that lost its files would pass unseen
    friend void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }
};

const Target kTargets[] = {{"calibration", &calibrationFile, 40},
                           {"profile", &profileFile, 35},
                           {"config", &configFile, 60},
                           {"script", &script, 25},
                           {"scpi", &scpi, 25}};

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

Finding run(const Target& t, const std::vector<std::uint8_t>& data) {
    return t.entry(data, TUNX_SHARE_DIR);
}

class Corpus : public ::testing::TestWithParam<Target> {};

TEST_P(Corpus, EveryFileRunsWithoutFinding) {
    const Target& t = GetParam();
    std::vector<std::filesystem::path> files;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(TUNX_CORPUS_DIR) + t.name)) {
        if (e.is_regular_file()) {
            files.push_back(e.path());
        }
    }
    std::sort(files.begin(), files.end());
    EXPECT_GE(files.size(), t.minFiles);
    for (const auto& file : files) {
        const Finding finding = run(t, readBytes(file));
        EXPECT_FALSE(finding) << file.filename() << ": " << *finding;
    }
}

// Inputs of 10 MB: one line without an end, a file whose fourth line is that long, NUL bytes,
// and bytes of every value.
TEST_P(Corpus, HugeInputsRunWithoutFinding) {
    const Target& t = GetParam();
    constexpr std::size_t kHuge = 10 * 1024 * 1024;
    std::string everyByte(kHuge, '\0');
    for (std::size_t i = 0; i < kHuge; ++i) {
        everyByte[i] = static_cast<char>((i * 131) & 0xFF);
    }
    const struct {
        const char* what;
        std::string data;
    } rows[] = {
        {"one line", std::string(kHuge, '7')},
        {"fourth line", "a\tb\t1\r\nc\td\t2\r\ne\tf\t3\r\n" + std::string(kHuge, '1') + "\r\n"},
        {"NUL bytes", std::string(kHuge, '\0')},
        {"every byte", everyByte},
        {"line ends only", std::string(kHuge, '\n')},
    };
    for (const auto& row : rows) {
        const Finding finding = run(t, bytesOf(row.data));
        EXPECT_FALSE(finding) << row.what << ": " << *finding;
    }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Corpus, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tunx::fuzz
