#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "generator/ConfigFile.h"
#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A path in the tests' folder where no file exists yet.
std::string freshPath(const std::string& name) {
    const std::string path = writeTempFile(name, "");
    fs::remove(path);
    return path;
}

void save(Rig& rig, const std::string& path) {
    rig.ui.answers.push_back(path);
    ASSERT_TRUE(rig.run("MenuBar_SaveCfg_Click"));
}

void load(Rig& rig, const std::string& path) {
    rig.ui.answers.push_back(path);
    ASSERT_TRUE(rig.run("MenuBar_LoadCfg_Click"));
}

// The settings the output-stage controls record when they are loaded.
auto flags(Rig& rig) {
    const GeneratorState& g = rig.s().gen;
    return std::tuple{g.sgatten, g.undersmonflag, g.lowgain, g.compon, g.sgaten, g.ampgain};
}

TEST(ConfigSave, WritesTheExactBytesOfAKnownPanel) {
    Rig rig;
    ASSERT_TRUE(rig.start());  // laid out for "Single Tone Sine": Vpp reads 0
    rig.w()["tcali"].text = "cal.txt";
    rig.w().typeText("Frek", "2.5");
    const std::string path = freshPath("known-panel.txt");
    save(rig, path);
    EXPECT_EQ(readFile(path),
              "mintimen = 10\r\n"
              "undersmon=0\r\n"
              "description = Frequency Range(-3dB): 0.01 Hz - 100MHz\nMaximum Frequency: 200MHz \n"
              "Amplitude Range:  10mV - 5000mV\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
              "ModeSelect = Single Tone Sine\r\n"
              "ampgain = 0\r\n"
              "compon=0\r\n"
              "tbsgaten = 0\r\n"
              "lowgain=0\r\n"
              "atten=0\r\n"
              "termination=0\r\n"
              "tcali = cal.txt\r\n"
              "BiasMode = Manual\r\n"
              "Vpp = 0\r\n"
              "Frek = 2.5\r\n"
              "BiasUnit =  V\r\n"
              "VppUnit = Vpp\r\n"
              "frequnit = kHz\r\n"
              "VBias = 0\r\n");
    EXPECT_TRUE(rig.messages().empty());

    rig.w().choose("ModeSelect", "Pulse Generator");
    save(rig, path);
    const std::string pulse = readFile(path);
    EXPECT_NE(pulse.find("\r\nPulse = 10\r\n"), std::string::npos);
    EXPECT_EQ(pulse.find("Frek"), std::string::npos);
}

// Every saved control of every mode's panel comes back from its file after it was changed.
TEST(ConfigRoundTrip, GivesBackTheSamePanel) {
    for (const auto& [mode, arbit] : {std::pair{"Single Tone Sine", "Voltage"},
                                      {"Sine Modulated", "Voltage"},
                                      {"Pulse Generator", "Voltage"},
                                      {"Ramp", "Voltage"},
                                      {"Triangle", "Voltage"},
                                      {"Arbitrary", "Voltage"},
                                      {"Arbitrary", "Freq"},
                                      {"Sweep Sine Generator", "Voltage"},
                                      {"Square-Wave", "Voltage"},
                                      {"Square-Wave2", "Voltage"},
                                      {"Single Tone Sine2", "Voltage"}}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        frmMain& w = rig.w();
        w.choose("arbit", arbit);
        w.choose("ModeSelect", mode);
        Texts saved;  // the other controls the file holds; the layout rewrites the description
        for (const auto& c : w.controls()) {
            if (c->enabled && c->name != "ModeSelect" && c->name != "arbit" &&
                c->name != "description" &&
                (c->kind == ControlKind::CheckBox || c->kind == ControlKind::TextBox ||
                 c->kind == ControlKind::ComboBox)) {
                saved.push_back(c->name);
            }
        }
        // Every one of them is set, then changed to something else after saving.
        const auto fill = [&](bool first) {
            for (std::size_t i = 0; i < saved.size(); ++i) {
                const Control& c = w[saved[i]];
                if (c.kind == ControlKind::CheckBox) {
                    w.check(c.name, first ? 1 : 0);
                } else if (c.kind == ControlKind::TextBox) {
                    w.typeText(c.name, std::to_string(first ? i + 1 : 987));
                } else {
                    w.choose(c.name, first && !c.items.empty() ? c.items.back() : "mV");
                }
            }
        };
        fill(true);
        const auto before = snapshot(w);
        const auto flagsBefore = flags(rig);
        const std::string path = freshPath("roundtrip.txt");
        save(rig, path);
        EXPECT_NE(readFile(path).find("\r\nBiasUnit =  V\r\n"), std::string::npos) << mode;
        w.choose("ModeSelect", std::string(mode) == "Ramp" ? "Sweep Sine Generator" : "Ramp");
        fill(false);
        ASSERT_NE(snapshot(w), before) << mode;
        ASSERT_NE(flags(rig), flagsBefore) << mode;
        load(rig, path);
        EXPECT_EQ(changedSince(before, w), Texts{}) << mode << "/" << arbit;
        EXPECT_EQ(flags(rig), flagsBefore) << mode << "/" << arbit;
        EXPECT_TRUE(rig.messages().empty()) << mode;
    }
}

// The mode line lays the panel out before the lines after it are read; a check box line runs
// its click action; a value ends at a second "="; a bare line feed ends a line.
TEST(ConfigLoad, ReadsTheLinesInOrderWithTheirActions) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w()["arbit"].text = "Voltage";
    load(rig, writeTempFile("lines.txt",
                            "ModeSelect = Arbitrary\ndescription = mine\nFrek = 1=2\n"
                            "multi1 = 9\natten=1\n"));
    EXPECT_EQ(rig.w()["ModeSelect"].text, "Arbitrary");
    EXPECT_EQ(rig.w()["description"].text, "mine");
    EXPECT_TRUE(rig.w()["multi1"].enabled);
    EXPECT_EQ(rig.w()["multi1"].text, "9");
    EXPECT_EQ(rig.w()["Frek"].text, "1");
    EXPECT_FALSE(rig.w()["Frek"].enabled);  // taken while disabled, and disabled again
    EXPECT_EQ(rig.w()["atten"].value, 1);
    EXPECT_TRUE(rig.s().gen.sgatten);
}

TEST(ConfigSave, ReplacesAnExistingFileOnlyWhenTheNewOneIsWritten) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const std::string path = writeTempFile("replace.txt", std::string(50'000, 'x'));
    writeTempFile("replace.txt.saving", "Frek = 99\r\n");  // left by an interrupted save
    save(rig, path);
    EXPECT_EQ(readFile(path), ConfigText(rig.w()));
    EXPECT_FALSE(fs::exists(path + ".saving"));
    EXPECT_TRUE(rig.messages().empty());

    // The new file cannot be written beside the old one: its name is taken by a folder.
    const std::string blocked = writeTempFile("blocked.txt", "Frek = 42\r\n");
    fs::create_directories(blocked + ".saving");
    writeTempFile("blocked.txt.saving/keep", "x");
    save(rig, blocked);
    EXPECT_EQ(readFile(blocked), "Frek = 42\r\n");
    ASSERT_EQ(rig.ui.messages.size(), 1U);
    EXPECT_EQ(
        rig.ui.messages[0].text,
        blocked + " could not be saved. A file already there under that name was left as it was.");
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Exclamation);
    fs::remove_all(blocked + ".saving");
}

TEST(ConfigLoad, AMissingFileIsNamed) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const std::string missing = freshPath("missing.txt");
    load(rig, missing);
    ASSERT_EQ(rig.ui.messages.size(), 1U);
    EXPECT_EQ(rig.ui.messages[0].text, missing + " does not exist");
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Exclamation);
}

TEST(ConfigLoad, BadFilesChangeNothing) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>(i * 37 % 256 == '=' ? 0 : i * 37 % 256);
    }
    for (const std::string& content : Texts{
             binary, std::string(1'000'000, 'x'), "Frek 5\r\nVpp\r\n\r\n\n\r",
             "Nope = 1\r\nfrek = 5\r\nFREK = 5\r\n = 5\r\n=\r\n==\r\n",
             "lfrek = X\r\nLabel5 = X\r\nRUN = X\r\nFrame3 = X\r\nMenuBar_File = X\r\n"
             "StatusBar = X\r\nsamplet1 = 9\r\n",
             "atten=abc\r\natten=7\r\natten=-1\r\natten=\r\n", std::string("Frek\0 = 5\r\n", 11)}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        const auto before = snapshot(rig.w());
        const auto flagsBefore = flags(rig);
        const auto mark = rig.mark();
        load(rig, writeTempFile("bad.txt", content));
        EXPECT_EQ(changedSince(before, rig.w()), Texts{}) << content.substr(0, 40);
        EXPECT_EQ(flags(rig), flagsBefore) << content.substr(0, 40);
        EXPECT_EQ(rig.lines(mark).size(), 1U) << content.substr(0, 40);  // the dialog only
    }
}

}  // namespace
}  // namespace tunx::test
