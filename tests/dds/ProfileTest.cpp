#include <gtest/gtest.h>

#include <numeric>

#include "dds/DdsTest.h"
#include "dds/WaveRam.h"

namespace tunx::test {
namespace {

constexpr const char* kProfileHeader = "Arbitrary profile\r\nPoint\tValue\r\n";
constexpr const char* kMissingProfile = "/nonexistent/tunx4k/none.txt";
constexpr const char* kProfileError = "Loading Profile Error! Please, Verify your entry.";

// Loads points 1..`last` of `target` from `points` in a fresh file, at the panel's first point
// and minimum time; returns the mark before it.
std::size_t load(DdsRig& rig, const std::string& file, const std::string& points,
                 const char* target, const char* last) {
    const std::string path =
        file == kMissingProfile ? file : writeTempFile(file, kProfileHeader + points);
    return rig.call(loadfile_Click,
                    {{&C::flocation, path}, {&C::arbit, target}, {&C::endpt1, last}});
}

// Points 1..n, every one at 90 degrees.
std::string ninety(int n) {
    std::string out;
    for (int i = 1; i <= n; ++i) {
        out += std::to_string(i) + "\t90\n";
    }
    return out;
}

TEST(ProfileLoad, WritesTheCountThenTheWordsFromTheLastPointDown) {
    // Destination, file points, last point, the RAM write command, words in the order written.
    const std::tuple<const char*, std::string, const char*, const char*, Words> rows[] = {
        // Lines 5, 4, 3 of the file: 270, 180, 90 degrees.
        {"Phase",
         "1\t90\n2\t180\n3\t270\n4\t45\n",
         "3",
         "18 0 3 0 0 0",
         {{192, 0, 0, 0}, {128, 0, 0, 0}, {64, 0, 0, 0}}},
        {"Phase", "1\t90\r\n", "1", "18 0 1 0 0 0", {{64, 0, 0, 0}}},
        {"Phase", "1\t360\r\n", "1", "18 0 1 0 0 0", {{0, 0, 0, 0}}},  // 65536: the low 16 bits
        {"Freq", "1\t1000000\r\n", "1", "18 0 1 0 0 0", {{0, 163, 215, 10}}},
        {"Voltage", "1\t3544.8\r\n", "1", "18 0 1 0 0 0", {{192, 0, 0, 0}}},  // z close to 0
        {"Voltage", "1\t0\r\n", "1", "18 0 1 0 0 0", {{128, 78, 0, 0}}},      // z just above -1
        {"Phase", ninety(1024), "1024", "18 4 0 0 0 0", levels({{1024, 64}})}};
    int n = 0;
    for (const auto& [target, points, last, command, words] : rows) {
        DdsRig rig;
        const auto m = load(rig, "word" + std::to_string(n++) + ".txt", points, target, last);
        EXPECT_EQ(rig.sent(m), command) << target << points;
        EXPECT_EQ(rig.words(m), words) << target << points;
        EXPECT_FALSE(rig.s().gen.sgerror) << target << points;
        EXPECT_TRUE(rig.messages().empty()) << target << points;
    }
}

TEST(ProfileLoad, BadProfilesShowTheMessageAndSendNothing) {
    std::string binary(256, '\0');
    std::iota(binary.begin(), binary.end(), '\0');
    // File, points, destination, last point.
    const std::tuple<const char*, std::string, const char*, const char*> rows[] = {
        {kMissingProfile, "", "Phase", "1"},
        {"short.txt", "1\t90\n2\t90\n", "Phase", "3"},
        {"nan.txt", "1\tabc\n", "Phase", "1"},
        {"beyond32.txt", "1\t3e10\n", "Phase", "1"},
        {"many.txt", ninety(1026), "Phase", "1026"},
        {"arcsine.txt", "1\t8000\n", "Voltage", "1"},
        {"binary.txt", "1\t" + binary, "Phase", "1"},
        {"long.txt", "1\t" + std::string(100'000, '7') + "\n", "Phase", "1"}};
    for (const auto& [file, points, target, last] : rows) {
        DdsRig rig;
        const auto m = load(rig, file, points, target, last);
        EXPECT_EQ(rig.messages(), Texts{kProfileError}) << file;
        EXPECT_TRUE(rig.s().gen.sgerror) << file;
        EXPECT_TRUE(rig.frames(m).empty()) << file;
        EXPECT_TRUE(rig.words(m).empty()) << file;
    }
}

// The RAM holds 1024 words: a profile reaching past them would wrap round to address 0.
TEST(ProfileLoad, PointsBeyondTheRamAreRefused) {
    // First point, last point, whether the profile is loaded.
    const std::tuple<const char*, const char*, bool> rows[] = {{"1", "1024", true},
                                                               {"1024", "1024", true},
                                                               {"1", "1025", false},
                                                               {"1025", "1025", false},
                                                               {"1000", "1030", false}};
    const std::string path = writeTempFile("ram-end.txt", kProfileHeader + ninety(1030));
    for (const auto& [first, last, loaded] : rows) {
        DdsRig rig;
        const auto m = rig.call(loadfile_Click, {{&C::flocation, path},
                                                 {&C::arbit, "Phase"},
                                                 {&C::startpt1, first},
                                                 {&C::endpt1, last}});
        EXPECT_EQ(rig.messages(), loaded ? Texts{} : Texts{kProfileError}) << first << "-" << last;
        EXPECT_EQ(rig.s().gen.sgerror, !loaded) << first << "-" << last;
        EXPECT_EQ(rig.words(m).size(), loaded ? std::stoul(last) - std::stoul(first) + 1 : 0)
            << first << "-" << last;
    }
}

// A path that is no readable file is named before the profile's own message.
TEST(ProfileLoad, PathsThatAreNoFileAreNamed) {
    for (const auto& [path, named] : unreadablePaths()) {
        DdsRig rig;
        const auto m = rig.call(loadfile_Click, {{&C::flocation, path}, {&C::arbit, "Phase"}});
        EXPECT_EQ(rig.messages(), (Texts{named, kProfileError})) << path;
        EXPECT_TRUE(rig.s().gen.sgerror) << path;
        EXPECT_TRUE(rig.frames(m).empty()) << path;
    }
}

}  // namespace
}  // namespace tunx::test
