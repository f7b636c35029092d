#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "generator/ConfigFile.h"
#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

namespace fs = std::filesystem;

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

std::vector<std::string> linesOf(const std::string& content) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = content.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        out.push_back(content.substr(start, end - start));
    }
    return out;
}

bool hasLineStarting(const std::string& content, const std::string& prefix) {
    for (const std::string& line : linesOf(content)) {
        if (line.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

void save(Rig& rig, const std::string& path) {
    rig.ui.answers.push_back(path);
    ASSERT_TRUE(rig.run("MenuBar_SaveCfg_Click"));
}

void load(Rig& rig, const std::string& path) {
    rig.ui.answers.push_back(path);
    ASSERT_TRUE(rig.run("MenuBar_LoadCfg_Click"));
}

void loadText(Rig& rig, const std::string& name, const std::string& content) {
    load(rig, writeTempFile(name, content));
}

// Sets a list's text as picking an entry would, without its click action.
void setList(Window& w, const std::string& name, const std::string& text) {
    Control& c = w[name];
    c.text = text;
    c.listIndex = -1;
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i] == text) {
            c.listIndex = static_cast<int>(i);
        }
    }
}

struct Flags {
    bool sgatten, undersmonflag, lowgain, compon;
    std::int16_t sgaten;
    double ampgain;
    bool operator==(const Flags&) const = default;
};

Flags flagsOf(const SharedState& s) {
    return {s.gen.sgatten, s.gen.undersmonflag, s.gen.lowgain,
            s.gen.compon,  s.gen.sgaten,        s.gen.ampgain};
}

TEST(ConfigSave, WritesTheExactBytesOfAKnownPanel) {
    Rig rig;
    ASSERT_TRUE(rig.start());  // laid out for "Single Tone Sine": Vpp reads 0
    rig.w()["tcali"].text = "cal.txt";
    rig.w().typeText("Frek", "2.5");
    const std::string path = freshPath("known-panel.txt");
    save(rig, path);
    const std::string expected =
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
        "VBias = 0\r\n";
    EXPECT_EQ(readFile(path), expected);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_FALSE(fs::exists(path + ".saving"));
}

TEST(ConfigSave, PulseGeneratorWritesItsControlsAndNoFrequency) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w().choose("ModeSelect", "Pulse Generator");
    rig.w().check("invert", 1);
    rig.w()["atten"].enabled = false;  // only enabled controls are saved
    const std::string path = freshPath("pulse.txt");
    save(rig, path);
    const std::string content = readFile(path);
    for (const char* line : {"Pulse = 10", "PulseUnit = us", "Pause = 15", "PauseUnit = us",
                             "invert=1", "outmode = Continuous", "Vpp = 0", "VBias = 0"}) {
        EXPECT_TRUE(hasLineStarting(content, line)) << line;
    }
    for (const char* name : {"Frek ", "frequnit ", "atten=", "arbit ", "startf ", "modtype "}) {
        EXPECT_FALSE(hasLineStarting(content, name)) << name;
    }
    // Each line ends in CR LF and the mode line comes before the entries it lays out.
    const auto lines = linesOf(content);
    std::string joined;
    for (const auto& l : lines) {
        joined += l + "\r\n";
    }
    EXPECT_EQ(joined, content);
    EXPECT_LT(content.find("ModeSelect = "), content.find("Vpp = "));
}

TEST(ConfigSave, CancelledDialogWritesNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    ASSERT_TRUE(rig.run("MenuBar_SaveCfg_Click"));  // no answer: cancelled
    ASSERT_EQ(rig.ui.dialogTitles, std::vector<std::string>{"Save To File"});
    EXPECT_EQ(rig.ui.dialogFilters,
              std::vector<std::string>{"Text files (*.TXT)|*.TXT|All Files (*.*)|*.*"});
    EXPECT_EQ(rig.lines(mark), std::vector<std::string>{"dialog Save To File -> \"\""});
    EXPECT_TRUE(rig.messages().empty());
}

TEST(ConfigSave, SavingOverAnExistingFileReplacesIt) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    std::string old;
    for (int i = 0; i < 2000; ++i) {
        old += "Frek = " + std::to_string(i) + "\r\n";
    }
    const std::string path = writeTempFile("replace.txt", old);
    save(rig, path);
    EXPECT_EQ(readFile(path), ConfigText(rig.w()));
    EXPECT_FALSE(fs::exists(path + ".saving"));
    // A pending file left by an interrupted save is not appended to.
    writeTempFile("replace.txt.saving", "Frek = 99\r\n");
    rig.w().typeText("Frek", "7");
    save(rig, path);
    EXPECT_EQ(readFile(path), ConfigText(rig.w()));
    EXPECT_FALSE(fs::exists(path + ".saving"));
    EXPECT_TRUE(rig.messages().empty());
}

TEST(ConfigSave, AFailedSaveKeepsTheOldFileAndSaysSo) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const std::string old = "Frek = 42\r\n";
    const std::string path = writeTempFile("blocked.txt", old);
    // The new file cannot be written beside the old one: its name is taken by a folder.
    fs::create_directories(path + ".saving");
    writeTempFile("blocked.txt.saving/keep", "x");
    save(rig, path);
    EXPECT_EQ(readFile(path), old);
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text,
              path +
                  " could not be saved. A file already there under that name was left as "
                  "it was.");
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(fs::is_directory(path + ".saving"));
    fs::remove_all(path + ".saving");
}

TEST(ConfigSave, AFailedSaveInAnUnwritableFolderKeepsTheOldFile) {
    const fs::path dir = fs::path(writeTempFile("probe", "")).parent_path() / "readonly";
    fs::create_directories(dir);
    const std::string path = (dir / "cfg.txt").string();
    { std::ofstream(path, std::ios::binary) << "Frek = 42\r\n"; }
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    const bool stillWritable = ::access(dir.c_str(), W_OK) == 0;  // the superuser writes anyway
    if (stillWritable) {
        fs::permissions(dir, fs::perms::owner_all);
        GTEST_SKIP() << "this user may write into a read-only folder";
    }
    Rig rig;
    ASSERT_TRUE(rig.start());
    save(rig, path);
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(readFile(path), "Frek = 42\r\n");
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Exclamation);
}

TEST(ConfigFileWrite, AppendsAndCreates) {
    const std::string path = freshPath("append.txt");
    ASSERT_TRUE(WriteFile(path, "a\r\n"));
    ASSERT_TRUE(WriteFile(path, "b\r\n"));
    EXPECT_EQ(readFile(path), "a\r\nb\r\n");
    EXPECT_FALSE(WriteFile(fs::path(path).parent_path().string(), "x"));  // a folder
}

// Every mode's panel comes back from its file after everything in it was changed.
TEST(ConfigRoundTrip, GivesBackTheSamePanel) {
    struct Row {
        const char* mode;
        const char* arbit;
    };
    for (const Row& r :
         {Row{"Single Tone Sine", "Voltage"}, Row{"Sine Modulated", "Voltage"},
          Row{"Pulse Generator", "Voltage"}, Row{"Ramp", "Voltage"}, Row{"Triangle", "Voltage"},
          Row{"Arbitrary", "Voltage"}, Row{"Arbitrary", "Freq"},
          Row{"Sweep Sine Generator", "Voltage"}, Row{"Square-Wave", "Voltage"},
          Row{"Square-Wave2", "Voltage"}, Row{"Single Tone Sine2", "Voltage"}}) {
        const std::string where = std::string(r.mode) + "/" + r.arbit;
        Rig rig;
        ASSERT_TRUE(rig.start());
        frmMain& w = rig.w();
        setList(w, "arbit", r.arbit);
        setList(w, "ModeSelect", r.mode);
        ASSERT_TRUE(rig.run("ModeSelect_Click"));
        const std::map<std::string, std::string> texts = {
            {"mintimen", "30"},        {"multi2", "5"},    {"startpt2", "3"},
            {"endpt2", "5"},           {"endpt1", "6"},    {"startpt1", "2"},
            {"multi1", "50"},          {"mintime", "20"},  {"flocation", "/tmp/a profile.txt"},
            {"steptime", "100"},       {"stepcnt", "500"}, {"stopf", "2"},
            {"startf", "1"},           {"ampgain", "3.5"}, {"tbsgaten", "100"},
            {"tcali", "cal file.txt"}, {"Vpp", "2.5"},     {"Frek", "123"},
            {"Pulse", "20"},           {"Pause", "30"},    {"VBias", "1.5"}};
        for (const auto& [name, text] : texts) {
            w.typeText(name, text);
        }
        const std::map<std::string, std::string> lists = {
            {"arbmode", "Single"},      {"fmdrange", "50"},    {"amfactor", "2"},
            {"modtype", "External FM"}, {"stopfunit", "MHz"},  {"startfunit", "MHz"},
            {"outmode", "Single"},      {"BiasMode", "Vpp/2"}, {"BiasUnit", " V"},
            {"VppUnit", "mVpp"},        {"frequnit", "Hz"},    {"PauseUnit", "ms"},
            {"PulseUnit", "ns"}};
        for (const auto& [name, text] : lists) {
            setList(w, name, text);
        }
        for (const char* box : {"enpr2", "undersmon", "singlesw", "compon", "lowgain", "atten",
                                "termination", "invert"}) {
            w.check(box, 1);
        }
        const auto before = snapshot(w);
        const Flags flagsBefore = flagsOf(rig.s());

        const std::string path = freshPath("roundtrip.txt");
        save(rig, path);
        const std::string content = readFile(path);
        EXPECT_TRUE(hasLineStarting(content, "BiasUnit =  V")) << where;

        // Another mode, and every saved control changed; what the file does not hold is put
        // back as it was, since loading leaves it alone.
        w.choose("ModeSelect", std::string(r.mode) == "Ramp" ? "Sweep Sine Generator" : "Ramp");
        for (const ControlView& v : before) {
            Control& c = w[v.name];
            const bool saved =
                v.enabled && (c.kind == ControlKind::CheckBox || c.kind == ControlKind::TextBox ||
                              c.kind == ControlKind::ComboBox);
            if (v.name == "ModeSelect") {
                continue;
            }
            if (!saved) {
                c.text = v.text;
                c.value = v.value;
                c.listIndex = v.listIndex;
            } else if (c.kind == ControlKind::CheckBox) {
                w.check(v.name, v.value == 1 ? 0 : 1);
            } else if (c.kind == ControlKind::TextBox) {
                w.typeText(v.name, "987");
            } else {
                setList(w, v.name, "mV");
            }
        }
        ASSERT_NE(snapshot(w), before) << where;
        ASSERT_NE(flagsOf(rig.s()), flagsBefore) << where;

        load(rig, path);
        EXPECT_EQ(differences(before, snapshot(w)), std::vector<std::string>{}) << where;
        EXPECT_TRUE(flagsOf(rig.s()) == flagsBefore) << where;
        EXPECT_TRUE(rig.messages().empty()) << where;
    }
}

TEST(ConfigLoad, TheModeLineLaysOutBeforeTheLinesAfterIt) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w()["arbit"].text = "Voltage";
    loadText(rig, "mode-first.txt",
             "ModeSelect = Arbitrary\r\ndescription = mine\r\nFrek = 5\r\nmulti1 = 9\r\n");
    EXPECT_EQ(rig.w()["ModeSelect"].text, "Arbitrary");
    EXPECT_EQ(rig.w()["description"].text, "mine");  // not overwritten by a later layout
    EXPECT_TRUE(rig.w()["multi1"].enabled);
    EXPECT_EQ(rig.w()["multi1"].text, "9");
    EXPECT_FALSE(rig.w()["Frek"].enabled);  // taken while disabled, and disabled again
    EXPECT_EQ(rig.w()["Frek"].text, "5");
    // The layout resets Vpp before a Vpp line that follows is read.
    loadText(rig, "vpp-after.txt", "Vpp = 3\r\nModeSelect = Ramp\r\n");
    EXPECT_EQ(rig.w()["Vpp"].text, "0");
    loadText(rig, "vpp-before.txt", "ModeSelect = Ramp\r\nVpp = 3\r\n");
    EXPECT_EQ(rig.w()["Vpp"].text, "3");
}

TEST(ConfigLoad, CheckBoxLineRunsItsClickAction) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    loadText(rig, "atten.txt", "atten=1\r\n");
    EXPECT_EQ(rig.w()["atten"].value, 1);
    EXPECT_TRUE(rig.s().gen.sgatten);
    loadText(rig, "atten0.txt", "atten = 0 \r\nundersmon=1\r\n");
    EXPECT_EQ(rig.w()["atten"].value, 0);
    EXPECT_FALSE(rig.s().gen.sgatten);
    EXPECT_TRUE(rig.s().gen.undersmonflag);
}

TEST(ConfigLoad, TextBoxLineRunsItsChangeAction) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    loadText(rig, "level.txt", "tbsgaten = 300\r\nampgain = 1.5\r\n");
    EXPECT_EQ(rig.w()["tbsgaten"].text, "300");
    EXPECT_EQ(rig.s().gen.sgaten, 300);
    EXPECT_EQ(rig.s().gen.ampgain, 1.5);
}

TEST(ConfigLoad, ListLineRunsNoAction) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w()["arbit"].text = "Voltage";
    rig.w().choose("ModeSelect", "Arbitrary");
    loadText(rig, "arbit.txt", "arbit = Freq\r\n");
    EXPECT_EQ(rig.w()["arbit"].text, "Freq");
    EXPECT_EQ(rig.w()["arbit"].listIndex, 2);
    EXPECT_FALSE(rig.w()["Frek"].enabled);  // no re-layout for the new destination
}

TEST(ConfigLoad, ValueIsTheTextBetweenTheFirstTwoEqualsSigns) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    loadText(rig, "equals.txt", "Frek = 1=2\r\n  Vpp   =   4  \r\nVBias=0.5\r\n");
    EXPECT_EQ(rig.w()["Frek"].text, "1");
    EXPECT_EQ(rig.w()["Vpp"].text, "4");
    EXPECT_EQ(rig.w()["VBias"].text, "0.5");
}

TEST(ConfigLoad, DisabledControlsTakeTheirValueAndStayDisabled) {
    Rig rig;
    ASSERT_TRUE(rig.start());  // "Single Tone Sine": pulse, invert and sweep are disabled
    loadText(rig, "disabled.txt", "invert=1\r\nPulse = 40\r\nstartfunit = MHz\r\n");
    EXPECT_EQ(rig.w()["invert"].value, 1);
    EXPECT_EQ(rig.w()["Pulse"].text, "40");
    EXPECT_EQ(rig.w()["startfunit"].text, "MHz");
    for (const char* name : {"invert", "Pulse", "startfunit"}) {
        EXPECT_FALSE(rig.w()[name].enabled) << name;
    }
}

TEST(ConfigLoad, ListValuesGetBackTheSpacesOfTheirEntry) {
    struct Row {
        const char* line;
        const char* control;
        const char* text;
        int index;
    };
    for (const Row& r :
         {Row{"BiasUnit = V", "BiasUnit", " V", 1}, Row{"BiasUnit =  V", "BiasUnit", " V", 1},
          Row{"BiasUnit = mV", "BiasUnit", "mV", 0},
          Row{"VppUnit = mvpp", "VppUnit", "mvpp", -1},  // no case folding
          Row{"modtype =   External FM  ", "modtype", "External FM", 0},
          Row{"frequnit = GHz", "frequnit", "GHz", -1}}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        loadText(rig, "list.txt", std::string(r.line) + "\r\n");
        EXPECT_EQ(rig.w()[r.control].text, r.text) << r.line;
        EXPECT_EQ(rig.w()[r.control].listIndex, r.index) << r.line;
    }
}

TEST(ConfigLoad, ATypedModeIsLaidOutWhenLoaded) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w().choose("ModeSelect", "Pulse Generator");
    loadText(rig, "sine2.txt", "ModeSelect = Single Tone Sine2\r\nVpp = 2\r\n");
    EXPECT_TRUE(rig.w()["Frek"].enabled);
    EXPECT_FALSE(rig.w()["Pulse"].enabled);
    EXPECT_EQ(rig.w()["Vpp"].text, "2");
    EXPECT_EQ(rig.w()["ModeSelect"].listIndex, -1);
}

TEST(ConfigLoad, SelectModeInAFileAsksForAMode) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.s().gen.sgerror = false;
    loadText(rig, "select.txt", "ModeSelect = Select Mode\r\n");
    EXPECT_TRUE(rig.s().gen.sgerror);
    EXPECT_EQ(rig.messages(), std::vector<std::string>{"Please Select Mode"});
}

TEST(ConfigLoad, CancelledOrMissingFileChangesNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto before = snapshot(rig.w());
    ASSERT_TRUE(rig.run("MenuBar_LoadCfg_Click"));  // cancelled
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.ui.dialogTitles, std::vector<std::string>{"Load From File"});
    EXPECT_EQ(rig.ui.dialogFilters,
              std::vector<std::string>{"Text files (*.TXT)|*.TXT|All Files (*.*)|*.*"});

    const std::string missing = freshPath("missing.txt");
    load(rig, missing);
    const std::string folder = fs::path(missing).parent_path().string();
    load(rig, folder);
    ASSERT_EQ(rig.ui.messages.size(), 2u);
    EXPECT_EQ(rig.ui.messages[0].text, missing + " does not exist");
    EXPECT_EQ(rig.ui.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(rig.ui.messages[0].title.has_value());
    EXPECT_EQ(rig.ui.messages[1].text, folder + " does not exist");
    EXPECT_EQ(differences(before, snapshot(rig.w())), std::vector<std::string>{});
}

TEST(ConfigLoad, BadFilesChangeNothing) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        const char c = static_cast<char>(i * 37 % 256);
        binary += c == '=' ? '\0' : c;
    }
    const std::string longLine(1'000'000, 'x');
    const std::map<std::string, std::string> files = {
        {"empty", ""},
        {"binary", binary},
        {"long line", longLine + "\r\n" + longLine},
        {"no equals", "Frek 5\r\nVpp\r\n\r\n\n\r"},
        {"unknown controls", "Nope = 1\r\nfrek = 5\r\nFREK = 5\r\n = 5\r\n=\r\n==\r\n"},
        {"labels buttons frames menus",
         "lfrek = X\r\nLabel5 = X\r\nRUN = X\r\nloadfile = X\r\nFrame3 = X\r\n"
         "MenuBar_File = X\r\nStatus = X\r\nStatusBar = X\r\nsamplet1 = 9\r\n"},
        {"bad check values", "atten=abc\r\natten=7\r\natten=-1\r\natten=\r\natten=1x\r\n"},
        {"nul in names", std::string("Frek\0 = 5\r\n", 11)},
    };
    for (const auto& [what, content] : files) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.s().gen.sgaten = 5;
        const auto before = snapshot(rig.w());
        const Flags flagsBefore = flagsOf(rig.s());
        const auto mark = rig.mark();
        loadText(rig, "bad.txt", content);
        EXPECT_EQ(differences(before, snapshot(rig.w())), std::vector<std::string>{}) << what;
        EXPECT_TRUE(flagsOf(rig.s()) == flagsBefore) << what;
        EXPECT_TRUE(rig.messages().empty()) << what;
        EXPECT_TRUE(rig.frames(mark).empty()) << what;
    }
}

TEST(ConfigLoad, GoodLinesAmongBadOnesStillLoad) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    std::string content = std::string("\x01\x02\xff garbage\r\n", 13);
    content +=
        "Frek = 5\r\nNope = 1\r\natten=9\r\n" + std::string(100'000, 'z') + "\r\nVpp = 7\r\n";
    const auto before = snapshot(rig.w());
    loadText(rig, "mixed.txt", content);
    auto after = snapshot(rig.w());
    for (ControlView& v : after) {
        if (v.name == "Frek") {
            EXPECT_EQ(v.text, "5");
            v.text = "1";
        }
        if (v.name == "Vpp") {
            EXPECT_EQ(v.text, "7");
            v.text = "0";
        }
    }
    EXPECT_EQ(differences(before, after), std::vector<std::string>{});
}

TEST(ConfigLoad, AVeryLongValueIsCutNotRefused) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    loadText(rig, "long-value.txt", "Frek = " + std::string(200'000, '1') + "\r\nVpp = 2\r\n");
    EXPECT_LT(rig.w()["Frek"].text.size(), 70'000u);
    EXPECT_EQ(rig.w()["Vpp"].text, "2");
}

// The Limitations text keeps its line breaks as bare line feeds in a saved file; they come
// back as the box's CR LF breaks, and its lines are never read as lines of their own.
TEST(ConfigLoad, AMultiLineValueComesBackWhole) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    frmMain& w = rig.w();
    w["ModeSelect"].text = "Sine";  // no layout replaces the text on loading
    const std::string text = "first line\r\nFrek = 99\r\n  indented = x \r\nlast\r\n";
    w["description"].text = text;
    w.typeText("Frek", "4");
    const std::string path = freshPath("multiline.txt");
    save(rig, path);
    EXPECT_NE(readFile(path).find("description = first line\nFrek = 99\n  indented = x \nlast\n"
                                  "\r\nModeSelect = Sine\r\n"),
              std::string::npos);
    w["description"].text = "changed";
    w.typeText("Frek", "8");
    load(rig, path);
    // The value ends at the second "=", as every value does.
    EXPECT_EQ(w["description"].text, "first line\r\nFrek");
    EXPECT_EQ(w["Frek"].text, "4");

    // Without "=" inside, the whole text comes back exactly.
    const std::string plain = "Maximum: 1024\r\nMinimum: 2\r\n";
    w["description"].text = plain;
    save(rig, path);
    w["description"].text = "changed";
    load(rig, path);
    EXPECT_EQ(w["description"].text, plain);
}

TEST(ConfigLoad, AFileWithBareLineFeedsHasEveryLineStandAlone) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.w()["ModeSelect"].text = "Sine";
    loadText(rig, "lf.txt", "Frek = 5\ndescription = one\nVpp = 2\nModeSelect = Sine\natten=1\n");
    EXPECT_EQ(rig.w()["Frek"].text, "5");
    EXPECT_EQ(rig.w()["description"].text, "one");
    EXPECT_EQ(rig.w()["Vpp"].text, "2");
    EXPECT_EQ(rig.w()["atten"].value, 1);
}

}  // namespace
}  // namespace tunx::test
