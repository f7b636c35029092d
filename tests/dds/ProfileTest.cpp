#include <gtest/gtest.h>

#include <string>

#include "dds/Profile.h"
#include "dds/RamModeRig.h"
#include "dds/WaveRam.h"

namespace tunx::test {
namespace {

constexpr const char* kHeader = "Arbitrary profile\r\nPoint\tValue\r\n";

std::string profile(const std::string& points) {
    return std::string(kHeader) + points;
}

struct ProfileRig : RamModeRig {
    // Loads a profile of the given destination from a fresh file; returns the mark before it.
    std::size_t load(const std::string& file, const std::string& content, const char* target,
                     const char* first = "1", const char* last = "1") {
        w()["flocation"].text = writeTempFile(file, content);
        w()["arbit"].text = target;
        w()["startpt1"].text = first;
        w()["endpt1"].text = last;
        w()["mintimen"].text = "10";
        const std::size_t m = mark();
        loadfile_Click(w(), link());
        return m;
    }
};

TEST(ProfileLoad, WritesTheCountAtAddressZeroFromTheLastPointDown) {
    ProfileRig rig;
    const auto m =
        rig.load("order.txt", profile("1\t90\r\n2\t180\r\n3\t270\r\n4\t45\r\n"), "Phase", "1", "3");
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{{18, 0, 3, 0, 0, 0}}));
    // Lines 5, 4, 3 of the file: 270, 180, 90 degrees.
    EXPECT_EQ(rig.words(m),
              (std::vector<std::array<int, 4>>{{192, 0, 0, 0}, {128, 0, 0, 0}, {64, 0, 0, 0}}));
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.sim.model().ramCount, 3);
}

TEST(ProfileLoad, ALaterStartPointKeepsItsAddressInBytesThreeAndFour) {
    ProfileRig rig;
    const auto m = rig.load("offset.txt", profile("1\t10\n2\t90\n3\t180\n"), "Phase", "2", "3");
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{{18, 0, 2, 0, 1, 0}}));
    EXPECT_EQ(rig.words(m), (std::vector<std::array<int, 4>>{{128, 0, 0, 1}, {64, 0, 0, 1}}));
}

TEST(ProfileLoad, ConvertsEachDestinationToItsWord) {
    struct Row {
        const char* target;
        const char* value;
        std::array<int, 4> word;
    };
    const Row rows[] = {
        {"Phase", "90", {64, 0, 0, 0}},
        {"Phase", "360", {0, 0, 0, 0}},  // 65536: the low 16 bits
        {"Phase", "-90", {192, 0, 0, 0}},
        {"Freq", "1000000", {0, 163, 215, 10}},
        {"Voltage", "3544.8", {192, 0, 0, 0}},  // z close to 0
        {"Voltage", "0", {128, 78, 0, 0}},      // z just above -1: -32690
    };
    int n = 0;
    for (const Row& r : rows) {
        ProfileRig rig;
        const auto m = rig.load("word" + std::to_string(n++) + ".txt",
                                profile(std::string("1\t") + r.value + "\r\n"), r.target);
        EXPECT_EQ(rig.words(m), (std::vector<std::array<int, 4>>{r.word}))
            << r.target << " " << r.value;
        EXPECT_FALSE(rig.s().gen.sgerror) << r.target << " " << r.value;
    }
}

TEST(ProfileLoad, FreqWordFollowsTheClockCorrection) {
    ProfileRig rig;
    rig.s().cal.clkcorr = 2.0;
    const auto m = rig.load("clkcorr.txt", profile("1\t1000000\n"), "Freq");
    EXPECT_EQ(rig.words(m), (std::vector<std::array<int, 4>>{{1, 71, 174, 20}}));  // 21474836
    EXPECT_EQ(rig.s().gen.ramclk, 400'000'000);
    EXPECT_EQ(rig.w()["lmainclk"].text, "400MHz");
}

TEST(ProfileLoad, VoltageSetsTheStepClockAndPresetsThePanel) {
    ProfileRig rig;
    rig.w()["mintimen"].text = "20";
    rig.w()["flocation"].text = writeTempFile("preset.txt", profile("1\t2500\n"));
    rig.w()["arbit"].text = "Voltage";
    rig.w()["startpt1"].text = "1";
    rig.w()["endpt1"].text = "1";
    loadfile_Click(rig.w(), rig.link());
    EXPECT_EQ(rig.s().gen.ramclk, 50'000'000);
    EXPECT_EQ(rig.w()["lmainclk"].text, "50MHz");
    EXPECT_EQ(rig.w()["VBias"].text, "2.5");
    EXPECT_EQ(rig.w()["Vpp"].text, "5");
    EXPECT_EQ(rig.w()["VppUnit"].text, "Vpp");
    EXPECT_EQ(rig.w()["BiasMode"].text, "Vpp/2");

    rig.w()["termination"].value = 1;
    rig.w()["VppUnit"].text = "mVpp";
    loadfile_Click(rig.w(), rig.link());
    EXPECT_EQ(rig.w()["VBias"].text, "1.35");
    EXPECT_EQ(rig.w()["Vpp"].text, "1.35");
    EXPECT_EQ(rig.w()["VppUnit"].text, "Vpp");
    EXPECT_EQ(rig.w()["BiasMode"].text, "Vpp/2");
}

TEST(ProfileLoad, PhaseLeavesTheAmplitudePanelAlone) {
    ProfileRig rig;
    rig.w()["Vpp"].text = "1";
    rig.load("phase-panel.txt", profile("1\t90\n"), "Phase");
    EXPECT_EQ(rig.w()["Vpp"].text, "1");
}

TEST(ProfileLoad, BadProfilesShowTheMessageAndSendNothing) {
    struct Row {
        const char* name;
        std::string content;
        const char* target;
        const char* last;
    };
    const std::string longLine = "1\t" + std::string(100'000, '7') + "\n";
    std::string binary = std::string(kHeader) + "1\t";
    for (int i = 0; i < 256; ++i) {
        binary += static_cast<char>(i);
    }
    std::string many = kHeader;
    for (int i = 1; i <= 1026; ++i) {
        many += std::to_string(i) + "\t90\n";
    }
    const Row rows[] = {
        {"empty", "", "Phase", "1"},
        {"header only", kHeader, "Phase", "1"},
        {"too short", profile("1\t90\n2\t90\n"), "Phase", "3"},
        {"no tab", profile("1 90\n"), "Phase", "1"},
        {"empty value", profile("1\t\n"), "Phase", "1"},
        {"not a number", profile("1\tabc\n"), "Phase", "1"},
        {"trailing junk", profile("1\t90x\n"), "Phase", "1"},
        {"beyond 32 bits", profile("1\t3e10\n"), "Phase", "1"},
        {"word beyond 32 bits", profile("1\t20000000\n"), "Phase", "1"},
        {"tuning word beyond 32 bits", profile("1\t300000000\n"), "Freq", "1"},
        {"more than 1025 points", many, "Phase", "1026"},
        {"voltage above the arcsine", profile("1\t8000\n"), "Voltage", "1"},
        {"voltage below the arcsine", profile("1\t-1000\n"), "Voltage", "1"},
        {"very long line", std::string(kHeader) + longLine, "Phase", "1"},
        {"binary", binary, "Phase", "1"},
    };
    int n = 0;
    for (const Row& r : rows) {
        ProfileRig rig;
        const auto m =
            rig.load("bad" + std::to_string(n++) + ".txt", r.content, r.target, "1", r.last);
        EXPECT_EQ(rig.messages(),
                  std::vector<std::string>{"Loading Profile Error! Please, Verify your entry."})
            << r.name;
        EXPECT_TRUE(rig.s().gen.sgerror) << r.name;
        EXPECT_TRUE(rig.frames(m).empty()) << r.name;
        EXPECT_TRUE(rig.words(m).empty()) << r.name;
    }
}

TEST(ProfileLoad, AcceptsTheFullPointCount) {
    std::string content = kHeader;
    for (int i = 1; i <= 1025; ++i) {
        content += std::to_string(i) + "\t90\n";
    }
    ProfileRig rig;
    const auto m = rig.load("full.txt", content, "Phase", "1", "1025");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.words(m).size(), 1025U);
}

TEST(ProfileLoad, ArcsinePoleFailsInsteadOfDividingByZero) {
    ProfileRig rig;
    rig.s().cal.flat1M = 0.0F;  // every level maps to z = -1 exactly
    const auto m = rig.load("pole.txt", profile("1\t100\n"), "Voltage");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.words(m).empty());
}

TEST(ProfileLoad, MissingFileAndBadFieldsFail) {
    struct Row {
        const char* name;
        const char* path;
        const char* first;
        const char* last;
        const char* mintimen;
    };
    const std::string good = writeTempFile("fields.txt", profile("1\t90\n2\t90\n"));
    const Row rows[] = {
        {"missing file", "/nonexistent/tunx4k/none.txt", "1", "1", "10"},
        {"reversed range", good.c_str(), "2", "1", "10"},
        {"start before the first address", good.c_str(), "0", "1", "10"},
        {"start not a number", good.c_str(), "x", "1", "10"},
        {"end beyond 16 bits", good.c_str(), "1", "40000", "10"},
        {"minimum time zero", good.c_str(), "1", "1", "0"},
        {"minimum time not a number", good.c_str(), "1", "1", "ns"},
    };
    for (const Row& r : rows) {
        ProfileRig rig;
        rig.w()["flocation"].text = r.path;
        rig.w()["arbit"].text = "Phase";
        rig.w()["startpt1"].text = r.first;
        rig.w()["endpt1"].text = r.last;
        rig.w()["mintimen"].text = r.mintimen;
        const auto m = rig.mark();
        loadfile_Click(rig.w(), rig.link());
        EXPECT_EQ(rig.messages(),
                  std::vector<std::string>{"Loading Profile Error! Please, Verify your entry."})
            << r.name;
        EXPECT_TRUE(rig.s().gen.sgerror) << r.name;
        EXPECT_TRUE(rig.frames(m).empty()) << r.name;
    }
}

TEST(ProfileLoad, RefusedRamWriteCommandFailsWithoutWords) {
    ProfileRig rig;
    rig.sim.nakNext(3);
    const auto m = rig.load("nak.txt", profile("1\t90\n"), "Phase");
    EXPECT_EQ(rig.messages(),
              (std::vector<std::string>{"RamWrite_CommError", "Error Sending Data.",
                                        "Loading Profile Error! Please, Verify your entry."}));
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_TRUE(rig.words(m).empty());
}

TEST(ProfileLoad, FailedWordWriteStopsTheLoad) {
    ProfileRig rig;
    rig.w()["flocation"].text = writeTempFile("wordfail.txt", profile("1\t90\n2\t90\n3\t90\n"));
    rig.w()["arbit"].text = "Phase";
    rig.w()["startpt1"].text = "1";
    rig.w()["endpt1"].text = "3";
    rig.sim.failWritesNext(1, 2);  // the command frame and the first word pass
    loadfile_Click(rig.w(), rig.link());
    EXPECT_EQ(rig.messages(),
              std::vector<std::string>{"Loading Profile Error! Please, Verify your entry."});
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.w()["Status"].text, "4");
}

TEST(RamPrimitives, CountOrAddressBeyondTheirBytesIsNotSent) {
    struct Row {
        std::int16_t address;
        std::int32_t count;
    };
    for (const Row& r : {Row{-1, 3}, Row{0, 70000}, Row{0, -1}}) {
        RamModeRig rig;
        const auto m = rig.mark();
        EXPECT_FALSE(ramwrinit(rig.link(), r.address, r.count));
        EXPECT_FALSE(ramrdinit(rig.link(), r.address, r.count));
        EXPECT_TRUE(rig.frames(m).empty()) << r.address << " " << r.count;
        EXPECT_TRUE(rig.s().gen.sgerror);
        EXPECT_EQ(rig.messages().size(), 2U);
    }
}

TEST(RamPrimitives, CommandsCarryCountThenAddress) {
    RamModeRig rig;
    const auto m = rig.mark();
    EXPECT_TRUE(ramwrinit(rig.link(), 258, 1024));
    rig.link().setCommand({18, 1, 2, 3, 4, 0});
    for (int i = 0; i < 1024; ++i) {
        ASSERT_TRUE(writeram(rig.link()));
    }
    EXPECT_TRUE(rig.link().rxver(1, 1000, "Ram Write_"));
    EXPECT_TRUE(ramrdinit(rig.link(), 0, 0));
    EXPECT_EQ(rig.frames(m), (std::vector<Frame>{{18, 4, 0, 1, 2, 0}, {19, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(rig.words(m).size(), 1024U);
    EXPECT_EQ(rig.words(m).front(), (std::array<int, 4>{1, 2, 3, 4}));
}

TEST(ProfileDialog, PutsTheChosenPathIntoTheLocation) {
    RamModeRig rig;
    rig.ui.answers.push_back("/data/profiles/ramp.txt");
    rig.run("SelectFile1_Click");
    EXPECT_EQ(rig.ui.dialogTitles, std::vector<std::string>{"Load From File"});
    EXPECT_EQ(rig.ui.dialogFilters,
              std::vector<std::string>{
                  "Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*"});
    EXPECT_EQ(rig.w()["flocation"].text, "/data/profiles/ramp.txt");

    rig.run("SelectFile1_Click");  // cancelled
    EXPECT_EQ(rig.w()["flocation"].text, "/data/profiles/ramp.txt");
}

TEST(ProfileDialog, LoadButtonLoadsTheDefaultProfile) {
    RamModeRig rig;
    rig.w()["arbit"].text = "Voltage";
    const auto m = rig.mark();
    rig.run("loadfile_Click");
    EXPECT_FALSE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.words(m).size(), 7U);  // startpt1 1 .. endpt1 7
}

}  // namespace
}  // namespace tunx::test
