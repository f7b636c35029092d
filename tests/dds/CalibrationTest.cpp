#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <limits>
#include <numeric>
#include <tuple>

#include "dds/Calibration.h"
#include "support/Rig.h"
#include "support/UsbPassThrough.h"

namespace tunx::test {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kCalibrationError = "Error Reading Calibration Data";
constexpr const char* kMissingCalibration = "/nonexistent/dir/CalDataNONE.txt";
const std::string kHeader = "TUNX4K calibration data\nDevice test\nName\tUnit\tValue\n";
constexpr float kNone = std::numeric_limits<float>::quiet_NaN();

// The value of row i in a file written with `base`: 100 i + base + 0.25, as integer rows keep
// it 100 i + base. The clock correction (row 2) must stay near 1: it holds 1 + (base + 0.25)
// / 1000.
double rowValue(int row, int base, bool integer = false) {
    return row == 2 ? 1 + (base + 0.25) / 1000 : 100.0 * row + base + (integer ? 0 : 0.25);
}

// Value rows `from`..`to`.
std::string rows(int from, int to, int base = 0, const std::string& eol = "\n") {
    std::string out;
    for (int i = from; i <= to; ++i) {
        out += "name\tunit\t" + std::to_string(rowValue(i, base)) + eol;
    }
    return out;
}

// Spot-checked fields: row, value, the default set before every load (NaN: none), integer.
std::vector<std::tuple<int, double, float, bool>> spot(const Calibration& c) {
    return {{1, c.ampfullscale, 7090, false},   {2, c.clkcorr, 1, false},
            {3, c.offzero, -10, false},         {4, c.flat1M, 1, false},
            {5, c.flat10M, 1.015F, false},      {10, c.offgain, 1, false},
            {12, c.fmoffset, -51800, false},    {13, c.rampoffset, 470, false},
            {16, c.rfdetslope, kNone, false},   {19, c.ch1gainv, kNone, false},
            {22, c.adcref, kNone, true},        {26, c.ch2offv, kNone, true},
            {33, c.ch1offslopev, kNone, false}, {38, c.ch2offslopemv, kNone, false},
            {40, c.sq2offset, kNone, true},     {41, c.flat20M, kNone, false},
            {42, c.flat30M, kNone, false},      {43, c.flat40M, kNone, false},
            {44, c.flat60M, kNone, false},      {45, c.flat70M, kNone, false},
            {46, c.flat80M, kNone, false},      {47, c.flat90M, kNone, false}};
}

// Loads a full file written with base 50, then `content` (or the missing path).
std::tuple<bool, Lines, Calibration> load(const std::string& name, const std::string& content) {
    SharedState s;
    HeadlessUi ui;
    EXPECT_TRUE(sgcalibration(s, ui, writeTempFile("cal-prev.txt", kHeader + rows(1, 47, 50))));
    const bool ok =
        sgcalibration(s, ui, name == kMissingCalibration ? name : writeTempFile(name, content));
    return {ok, ui.texts(), s.cal};
}

TEST(CalibrationFile, RowsLandInTheirFieldsAndBadFilesKeepWhatWasRead) {
    std::string binary(4096, '\0');
    std::iota(binary.begin(), binary.end(), '\0');
    const std::string h = kHeader, longTail = std::string(300000, 'x') + "\n";
    // File name, content, whether it reads completely, rows taken before the failure.
    const std::tuple<const char*, std::string, bool, int> cases[] = {
        {"cal-lf.txt", h + rows(1, 47) + "extra\tline\t9\n", true, 47},
        {"cal-crlf.txt", h + rows(1, 47, 0, "\r\n"), true, 47},
        {"cal-46.txt", h + rows(1, 46), false, 46},
        {kMissingCalibration, "", false, 0},
        {"cal-12.txt", h + rows(1, 12), false, 12},
        {"cal-text.txt", h + rows(1, 4) + "flat10M\t\tabc\n" + rows(6, 47), false, 4},
        {"cal-int16.txt", h + rows(1, 25) + "ch2offv\t\t40000\n" + rows(27, 47), false, 25},
        {"cal-inf.txt", h + "a\tmV\t1e999\n" + rows(2, 47), false, 0},
        {"cal-longtail.txt", h + "a\tmV\t100.25\t" + longTail + rows(2, 47), false, 0},
        {"cal-longname.txt", h + std::string(200000, 'n') + "\t\t1\n" + rows(2, 47), false, 0},
        {"cal-binary.bin", binary, false, 0}};
    for (const auto& [name, content, complete, taken] : cases) {
        const auto [ok, messages, cal] = load(name, content);
        EXPECT_EQ(ok, complete) << name;
        EXPECT_EQ(messages, complete ? Lines{} : Lines{kCalibrationError}) << name;
        for (const auto& [row, got, dflt, integer] : spot(cal)) {
            const double mine = rowValue(row, 0, integer), old = rowValue(row, 50, integer);
            const double want = row <= taken ? mine : std::isnan(dflt) ? old : dflt;
            EXPECT_DOUBLE_EQ(got, want) << name << " row " << row;
        }
    }
}

// A value that makes the arithmetic meaningless is taken like one that does not convert: the
// message, the rows before it, and from it on the defaults (or the values before the load).
TEST(CalibrationFile, MeaninglessValuesAreNotTaken) {
    // Row, value text, whether it is taken.
    const std::tuple<int, const char*, bool> cases[] = {
        {2, "0", false},      {2, "-0", false},     {2, "1e-45", false},    {2, "-1", false},
        {2, "2.5", false},    {2, "0.5", true},     {2, "1.0000012", true},  // clkcorr
        {1, "0", false},      {1, "-7090", false},  {1, "1e-45", false},     // ampfullscale
        {4, "0", false},      {10, "-1", false},    {41, "0", false},  // flat1M, offgain, flat20M
        {16, "0", false},     {16, "-0", false},    {16, "-24.6", true},  // rfdetslope
        {19, "0", false},     {19, "-1", false},                          // ch1gainv
        {22, "0", false},     {22, "-3600", false},                       // adcref
        {33, "1e-45", false}, {33, "-0.012", true}, {38, "0", false}};    // offset slopes
    for (const auto& [row, text, taken] : cases) {
        const std::string file =
            kHeader + rows(1, row - 1) + "v\t\t" + text + "\n" + rows(row + 1, 47);
        const auto [ok, messages, cal] = load("cal-meaningless.txt", file);
        EXPECT_EQ(ok, taken) << row << " " << text;
        EXPECT_EQ(messages, taken ? Lines{} : Lines{kCalibrationError}) << row << " " << text;
        for (const auto& [r, got, dflt, integer] : spot(cal)) {
            const double mine = rowValue(r, 0, integer), old = rowValue(r, 50, integer);
            const double want = r == row && taken  ? std::stod(text)
                                : r < row || taken ? mine
                                : std::isnan(dflt) ? old
                                                   : dflt;
            EXPECT_NEAR(got, want, std::abs(want) * 1e-6) << row << " " << text << " row " << r;
        }
    }
}

// A path that is no readable file is named, and the load fails at once instead of reading on.
TEST(CalibrationFile, PathsThatAreNoFileAreNamed) {
    for (const auto& [path, named] : unreadablePaths()) {
        SharedState s;
        HeadlessUi ui;
        EXPECT_FALSE(sgcalibration(s, ui, path));
        EXPECT_EQ(ui.texts(), (Lines{named, kCalibrationError}));
        EXPECT_FLOAT_EQ(s.cal.ampfullscale, 7090);
    }
}

TEST(CalibrationFile, IntegerRowsRoundHalfToEven) {
    for (const auto& [text, want] : {std::pair{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4}}) {
        const std::string file = kHeader + rows(1, 25) + "v\t\t" + text + "\n" + rows(27, 47);
        EXPECT_EQ(std::get<Calibration>(load("cal-round.txt", file)).ch2offv, want) << text;
    }
}

TEST(CalibrationButtons, TheDialogLoadsTheChosenFileAndCancelReloadsIt) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const std::string good = writeTempFile("cal-button.txt", kHeader + rows(1, 47));
    rig.ui.answers.push_back(good);
    EXPECT_TRUE(rig.run("calibr_file_Click"));
    ASSERT_EQ(rig.ui.dialogs.size(), 1U);
    EXPECT_EQ(rig.ui.dialogs[0].title, "Load From File");
    EXPECT_EQ(rig.ui.dialogs[0].filter,
              "Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*");
    EXPECT_EQ(rig.w().tcali->text, good);
    EXPECT_FLOAT_EQ(rig.s().cal.flat90M, 4700.25F);
    rig.s().cal.flat90M = 1;
    EXPECT_TRUE(rig.run("calibr_file_Click"));  // cancelled
    EXPECT_EQ(rig.w().tcali->text, good);
    EXPECT_FLOAT_EQ(rig.s().cal.flat90M, 4700.25F);
    EXPECT_TRUE(rig.messages().empty());
}

// A file chosen with "Cal. File ..." becomes the instrument's own copy in the user's data folder
// only when the user says so; a file that could not be read, the copy itself, no data folder or
// no instrument asks nothing.
TEST(CalibrationButtons, TheChosenFileIsKeptInTheUsersFolderWhenTheUserSaysSo) {
    namespace fs = std::filesystem;
    const std::string good = writeTempFile("cal-keep.txt", kHeader + rows(1, 47));
    const fs::path base = fs::path(good).parent_path() / "keep";
    const std::string blocked = writeTempFile("cal-keep-blocked", "a file, not a folder");
    struct Row {
        const char* what;
        std::string chosen;  // the dialog's answer
        std::string userDir;
        std::deque<bool> replies;
        bool asked;
        bool kept;
        Lines messages;
        Lines serials = {sim::kDefaultSerial};
    };
    const std::string dir = (base / "data").string() + "/";
    const std::string copy = dir + "CalDataSIM0001.txt";
    for (const Row& r : {
             Row{"yes", good, dir, {true}, true, true, {}},
             Row{"no", good, dir, {false}, true, false, {}},
             Row{"cancelled", "", dir, {true}, false, false, {}},
             Row{"no data folder", good, "", {true}, false, false, {}},
             Row{"unreadable", kMissingCalibration, dir, {true}, false, false, {kCalibrationError}},
             Row{"the copy itself", copy, dir, {true}, false, false, {}},
             Row{"no instrument", good, dir, {true}, false, false, {}, {}},
             Row{"a file in the way",
                 good,
                 blocked + "/",
                 {true},
                 true,
                 false,
                 {"The calibration file could not be copied to " + blocked +
                  "/CalDataSIM0001.txt: Not a directory"}},
         }) {
        fs::remove_all(base);
        if (r.chosen == copy) {
            fs::create_directories(dir);
            fs::copy_file(good, copy);
        }
        Rig rig(r.serials);
        rig.s().host.userDataDir = r.userDir;
        rig.start();
        const std::size_t said = rig.messages().size();
        rig.ui.answers.push_back(r.chosen);
        rig.ui.replies = r.replies;
        EXPECT_TRUE(rig.run("calibr_file_Click")) << r.what;
        const std::string question = "Keep a copy of " + good + " as " + r.userDir +
                                     "CalDataSIM0001.txt? The program reads this instrument's "
                                     "calibration file from there at every start.";
        EXPECT_EQ(rig.ui.questions, r.asked ? Lines{question} : Lines{}) << r.what;
        const Lines all = rig.messages();
        EXPECT_EQ(Lines(all.begin() + static_cast<long>(said), all.end()), r.messages) << r.what;
        EXPECT_EQ(fs::exists(copy) && readFile(copy) == readFile(good), r.kept || r.chosen == copy)
            << r.what;
    }
}

// The instrument with the two data bytes of every 2-byte read replaced by `raw`.
class TwoByteReply : public UsbPassThrough {
  public:
    TwoByteReply(UsbApi& inner, int raw) : UsbPassThrough(inner), raw_(raw) {}
    int SI_Read(DeviceHandle h, std::span<std::uint8_t> b, std::uint32_t& n) override {
        const int status = UsbPassThrough::SI_Read(h, b, n);
        if (b.size() == 2 && status == usb::kSuccess) {
            b[0] = static_cast<std::uint8_t>(raw_ >> 8);
            b[1] = static_cast<std::uint8_t>(raw_ & 0xFF);
        }
        return status;
    }

  private:
    int raw_;
};

TEST(BiasRead, SwitchesReadsAndConvertsTheReading) {
    // Raw reading, whether code 27 goes unanswered, the bias in mV, the status shown.
    const std::tuple<int, bool, float, const char*> cases[] = {
        {2048, false, 1800, "0"}, {0, false, -1800, "0"}, {2048, true, 123, "13"}};
    for (const auto& [raw, mute, mv, shown] : cases) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.s().cal.adcref = 3600;
        rig.s().cal.sgbias = 123;
        rig.sim.muteNext(mute ? 1 : 0, 2);  // the two switch commands pass
        TwoByteReply usb(rig.wiring.usb(), raw);
        Link link(rig.s(), usb, rig.wiring.clock(), rig.ui);
        std::string status;
        link.onStatus([&status](int s) { status = std::to_string(s); });
        const auto m = rig.mark();
        readsgbias1(link);
        EXPECT_EQ(rig.frames(m),
                  (std::vector<Frame>{
                      {32, 6, 4, 1, 0, 0}, {32, 6, 5, 0, 0, 0}, {27, 255, 255, 85, 85, 85}}));
        EXPECT_EQ(rig.sleptMs(m), 2 * 20 + 2);
        EXPECT_FLOAT_EQ(rig.s().cal.sgbias, mv) << raw << mute;
        EXPECT_EQ(status, shown);
        EXPECT_TRUE(rig.messages().empty());
    }
}

}  // namespace
}  // namespace tunx::test
