#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "generator/ConfigFile.h"
#include "generator/PanelSnapshot.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

constexpr auto kSave = "MenuBar_SaveCfg_Click";
constexpr auto kLoad = "MenuBar_LoadCfg_Click";

// Runs a File menu command whose dialog answers `file`.
void menu(Rig& rig, const char* command, const std::string& file) {
    rig.ui.answers.push_back(file);
    ASSERT_TRUE(rig.run(command));
}

struct Config : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(rig.start()); }
    void menu(const char* command, const std::string& file) { test::menu(rig, command, file); }
    Rig rig;
    const std::string path = writeTempFile("config.txt", "");
};

TEST_F(Config, SaveWritesTheEnabledEntriesInWindowOrder) {
    rig.w().tcali->text = "cal.txt";  // the panel is laid out for "Single Tone Sine"
    rig.w().typeText(*rig.w().Frek, "2.5");
    menu(kSave, path);
    EXPECT_EQ(readFile(path),
              "mintimen = 10\r\nundersmon=0\r\n"
              "description = Frequency Range(-3dB): 0.01 Hz - 100MHz\nMaximum Frequency: 200MHz \n"
              "Amplitude Range:  10mV - 5000mV\nAmplitude Range(50 Ohm): 10mV - 2500mV\r\n"
              "ModeSelect = Single Tone Sine\r\nampgain = 0\r\ncompon=0\r\ntbsgaten = 0\r\n"
              "lowgain=0\r\natten=0\r\ntermination=0\r\ntcali = cal.txt\r\nBiasMode = Manual\r\n"
              "Vpp = 0\r\nFrek = 2.5\r\nBiasUnit =  V\r\nVppUnit = Vpp\r\nfrequnit = kHz\r\n"
              "VBias = 0\r\n");
    rig.w().choose(*rig.w().ModeSelect, "Pulse Generator");
    menu(kSave, path);
    EXPECT_EQ(readFile(path).find("Frek"), std::string::npos);
}

// Every mode's panel, each entry set, comes back from its file in a new program laid out for
// another mode.
TEST(ConfigRoundTrip, GivesBackThePanel) {
    const std::string path = writeTempFile("roundtrip.txt", "");
    // Between them these modes enable every group of entries.
    for (const std::string mode : {"Single Tone Sine", "Sine Modulated", "Pulse Generator",
                                   "Arbitrary", "Sweep Sine Generator"}) {
        Rig rig, other;
        ASSERT_TRUE(rig.start() && other.start());
        frmMain& w = rig.w();
        w.choose(*w.arbit, mode == "Arbitrary" ? "Freq" : "Voltage");
        w.choose(*w.ModeSelect, mode);
        int n = 10;
        for (const auto& c : w.controls()) {
            if (!c->enabled || c.get() == w.ModeSelect.get() || c.get() == w.description.get()) {
                continue;  // set by the row, or written by the layout
            } else if (c->kind == ControlKind::CheckBox) {
                w.check(*c, 1);
            } else if (c->kind == ControlKind::TextBox) {
                w.typeText(*c, std::to_string(n++));
            } else if (c->kind == ControlKind::ComboBox) {
                w.choose(*c, c->items.back());
            }
        }
        menu(rig, kSave, path);
        other.w().choose(*other.w().ModeSelect, "Ramp");
        other.w().choose(*other.w().BiasUnit, "mV");
        menu(other, kLoad, path);
        EXPECT_EQ(snapshot(other.w()), snapshot(w)) << mode;
        EXPECT_TRUE(rig.messages().empty() && other.messages().empty());
    }
}

// The mode line lays the panel out before the lines after it are read; a check box line runs
// its click action; a value ends at a second "="; a bare line feed ends a line.
TEST_F(Config, LoadReadsTheLinesInOrderWithTheirActions) {
    menu(kLoad, writeTempFile("config.txt",
                              "ModeSelect = Arbitrary\ndescription = mine\n"
                              "Frek = 1=2\nmulti1 = 9\natten=1\n"));
    EXPECT_EQ(rig.w().description->text, "mine");
    EXPECT_TRUE(rig.w().multi1->enabled);
    EXPECT_EQ(rig.w().Frek->text, "1");
    EXPECT_FALSE(rig.w().Frek->enabled);  // taken while disabled, and disabled again
    EXPECT_TRUE(rig.w().atten->value == 1 && rig.s().gen.sgatten);
}

// In a file of CR LF lines, the lines after the Limitations text up to the next CR LF are the
// rest of that text, unless they set an entry control.
TEST_F(Config, ContinuationLinesOfTheLimitationsTextStopAtASetting) {
    const std::string mode = "ModeSelect = Single Tone Sine\r\n";
    // File text after the mode line; the Limitations text, Vpp and Frek as loaded.
    const std::tuple<std::string, std::string, std::string, std::string> rows[] = {
        {"description = a\nb\nc\r\nVpp = 2\r\n", "a\r\nb\r\nc", "2", "0"},
        {"description = a\nVpp = 2\nFrek = 3\nNote = x\r\n", "a", "2", "3"},
        {"description = a\nb\nVpp = 2\r\nFrek = 3\r\n", "a\r\nb", "2", "3"},
        // A line naming no entry control is text (cut at its "=", as every value is).
        {"description = a\nlfrek = 9\nFrek=4\n", "a\r\nlfrek", "0", "4"}};
    for (const auto& [text, limitations, vpp, frek] : rows) {
        rig.w().Frek->text = "0";
        menu(kLoad, writeTempFile("config.txt", mode + text));
        EXPECT_EQ(rig.w().description->text, limitations) << text;
        EXPECT_EQ(rig.w().Vpp->text, vpp) << text;
        EXPECT_EQ(rig.w().Frek->text, frek) << text;
    }
}

// Saving goes through the safe save (whose cases are its own tests): a link planted under the
// name an older save used is not followed, and a name that is a link stays a link to the saved
// file.
TEST_F(Config, SaveReplacesOnlyTheFileTheNameLeadsTo) {
    namespace fs = std::filesystem;
    const std::string link = fs::path(path).parent_path() / "config-link.txt";
    const std::string victim = writeTempFile("victim.txt", "victim");
    fs::remove(path + ".saving");
    fs::remove(link);
    fs::create_symlink(victim, path + ".saving");
    fs::create_symlink("config.txt", link);
    menu(kSave, link);
    EXPECT_EQ(readFile(path), ConfigText(rig.w()));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(victim), "victim");
    EXPECT_TRUE(fs::is_symlink(path + ".saving"));
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Config, AFailedSaveIsReported) {
    const std::string nowhere = "/nonexistent/tunx4k/config.txt";
    menu(kSave, nowhere);
    EXPECT_EQ(rig.messages(), Texts{nowhere + " could not be saved. A file already there under "
                                              "that name was left as it was."});
    EXPECT_EQ(rig.ui.messages.back().icon, MsgIcon::Exclamation);
}

// Bad lines are skipped without a word; a file that cannot be a configuration (missing, no
// readable file, a line far too long, far more lines than a configuration has, here bare line
// ends) is named for what it is. Neither changes anything, also not through the lines before.
TEST_F(Config, BadFilesChangeNothing) {
    const auto before = snapshot(rig.w());
    const std::string tooLong =
        writeTempFile("config-long.txt", "Frek = 7\r\nVpp = " + std::string(70'000, '1') + "\r\n");
    const std::string manyLines =
        writeTempFile("config-lines.txt", "Frek = 7\r\n" + std::string(65'536, '\n'));
    std::filesystem::remove(path);
    // The file and the message it gives ("": none).
    std::vector<std::pair<std::string, std::string>> rows = {
        {writeTempFile("config-1.txt", std::string("\x01\xff\0\x80\r\r\n\xfe\0\n\x1a\xc3", 12)),
         ""},
        {writeTempFile("config-2.txt",
                       "Frek 5\r\nVpp\r\n\n\rNope = 1\r\nfrek = 5\r\n = 5\r\n==\r\n"
                       "atten=7\r\n"),
         ""},
        {writeTempFile("config-3.txt",
                       "lfrek = X\r\nLabel5 = X\r\nRUN = X\r\nFrame3 = X\r\n"
                       "MenuBar_File = X\r\nStatusBar = X\r\nsamplet1 = 9\r\n"),
         ""},
        {path, path + " does not exist"},
        {tooLong, tooLong + " could not be read"},
        {manyLines, manyLines + " could not be read"}};
    for (const auto& unreadable : unreadablePaths()) {
        rows.push_back(unreadable);
    }
    for (const auto& [file, message] : rows) {
        const auto mark = rig.mark();
        rig.ui.messages.clear();
        menu(kLoad, file);
        EXPECT_EQ(snapshot(rig.w()), before) << file;
        EXPECT_EQ(rig.messages(), message.empty() ? Texts{} : Texts{message});
        EXPECT_TRUE(message.empty() || rig.ui.messages.back().icon == MsgIcon::Exclamation);
        EXPECT_EQ(rig.lines(mark).size(), message.empty() ? 1U : 2U) << file;  // dialog, message
    }
    // Blank lines among the settings of a configuration are no harm.
    const std::size_t shown = rig.messages().size();
    menu(kLoad, writeTempFile("config-blanks.txt",
                              std::string(60'000, '\n') + "Frek = 7\r\n" + std::string(5, '\n')));
    EXPECT_EQ(rig.messages().size(), shown);
    EXPECT_EQ(rig.w().Frek->text, "7");
}

}  // namespace
}  // namespace tunx::test
