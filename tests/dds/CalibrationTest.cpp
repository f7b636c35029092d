#include <gtest/gtest.h>

#include <functional>

#include "common/RuntimeError.h"
#include "dds/Calibration.h"
#include "support/Rig.h"
#include "support/UsbPassThrough.h"

namespace tunx {
namespace {

using test::Frame;
using test::Rig;
using test::writeTempFile;
using Lines = std::vector<std::string>;

constexpr const char* kMsg = "Error Reading Calibration Data";

// Row number (1-47) and the field it lands in, written out independently of the reader.
struct Field {
    int row;
    const char* name;
    std::function<double(const Calibration&)> get;
};
const std::vector<Field> kFields = {
    {1, "ampfullscale", [](const Calibration& c) { return double(c.ampfullscale); }},
    {2, "clkcorr", [](const Calibration& c) { return double(c.clkcorr); }},
    {3, "offzero", [](const Calibration& c) { return double(c.offzero); }},
    {4, "flat1M", [](const Calibration& c) { return double(c.flat1M); }},
    {5, "flat10M", [](const Calibration& c) { return double(c.flat10M); }},
    {6, "flat50M", [](const Calibration& c) { return double(c.flat50M); }},
    {7, "flat100M", [](const Calibration& c) { return double(c.flat100M); }},
    {8, "flat150M", [](const Calibration& c) { return double(c.flat150M); }},
    {9, "flat200M", [](const Calibration& c) { return double(c.flat200M); }},
    {10, "offgain", [](const Calibration& c) { return double(c.offgain); }},
    {11, "arbvoffset", [](const Calibration& c) { return double(c.arbvoffset); }},
    {12, "fmoffset", [](const Calibration& c) { return double(c.fmoffset); }},
    {13, "rampoffset", [](const Calibration& c) { return double(c.rampoffset); }},
    {14, "rfdetoffset", [](const Calibration& c) { return double(c.rfdetoffset); }},
    {15, "rfdetintercept", [](const Calibration& c) { return double(c.rfdetintercept); }},
    {16, "rfdetslope", [](const Calibration& c) { return double(c.rfdetslope); }},
    {17, "sweepconst1", [](const Calibration& c) { return double(c.sweepconst1); }},
    {18, "ch1gaindv", [](const Calibration& c) { return double(c.ch1gaindv); }},
    {19, "ch1gainv", [](const Calibration& c) { return double(c.ch1gainv); }},
    {20, "ch1gainmv", [](const Calibration& c) { return double(c.ch1gainmv); }},
    {21, "ch1offv", [](const Calibration& c) { return double(c.ch1offv); }},
    {22, "adcref", [](const Calibration& c) { return double(c.adcref); }},
    {23, "ch2gaindv", [](const Calibration& c) { return double(c.ch2gaindv); }},
    {24, "ch2gainv", [](const Calibration& c) { return double(c.ch2gainv); }},
    {25, "ch2gainmv", [](const Calibration& c) { return double(c.ch2gainmv); }},
    {26, "ch2offv", [](const Calibration& c) { return double(c.ch2offv); }},
    {27, "sweepconst2", [](const Calibration& c) { return double(c.sweepconst2); }},
    {28, "sq2level1", [](const Calibration& c) { return double(c.sq2level1); }},
    {29, "sq2level2", [](const Calibration& c) { return double(c.sq2level2); }},
    {30, "sq2level3", [](const Calibration& c) { return double(c.sq2level3); }},
    {31, "sq2level4", [](const Calibration& c) { return double(c.sq2level4); }},
    {32, "sq2level5", [](const Calibration& c) { return double(c.sq2level5); }},
    {33, "ch1offslopev", [](const Calibration& c) { return double(c.ch1offslopev); }},
    {34, "ch1offmv", [](const Calibration& c) { return double(c.ch1offmv); }},
    {35, "ch1offslopemv", [](const Calibration& c) { return double(c.ch1offslopemv); }},
    {36, "ch2offslopev", [](const Calibration& c) { return double(c.ch2offslopev); }},
    {37, "ch2offmv", [](const Calibration& c) { return double(c.ch2offmv); }},
    {38, "ch2offslopemv", [](const Calibration& c) { return double(c.ch2offslopemv); }},
    {39, "sweepconst3", [](const Calibration& c) { return double(c.sweepconst3); }},
    {40, "sq2offset", [](const Calibration& c) { return double(c.sq2offset); }},
    {41, "flat20M", [](const Calibration& c) { return double(c.flat20M); }},
    {42, "flat30M", [](const Calibration& c) { return double(c.flat30M); }},
    {43, "flat40M", [](const Calibration& c) { return double(c.flat40M); }},
    {44, "flat60M", [](const Calibration& c) { return double(c.flat60M); }},
    {45, "flat70M", [](const Calibration& c) { return double(c.flat70M); }},
    {46, "flat80M", [](const Calibration& c) { return double(c.flat80M); }},
    {47, "flat90M", [](const Calibration& c) { return double(c.flat90M); }},
};

// Rows whose value is an integer (16- or 32-bit).
bool isIntegerRow(int row) {
    return row == 22 || row == 26 || (row >= 28 && row <= 32) || row == 34 || row == 37 ||
           row == 40;
}

// Value of row i in the test files: distinct, exact in single precision, .25 for rounding.
double rowValue(int row) {
    return 100.0 * row + 0.25;
}

std::string header() {
    return "TUNX4K calibration data\nDevice test\nName\tUnit\tValue\n";
}

std::string rowsText(int rows, const std::string& eol = "\n") {
    std::string out;
    for (int i = 1; i <= rows; ++i) {
        char value[32];
        std::snprintf(value, sizeof value, "%.2f", rowValue(i));
        out += "name" + std::to_string(i) + "\tunit\t" + value + eol;
    }
    return out;
}

void fillWith(Calibration& c, double v) {
    c = Calibration{};
    c.ampfullscale = c.offzero = c.flat1M = c.flat10M = c.flat50M = c.flat100M = c.flat150M =
        c.flat200M = c.offgain = c.arbvoffset = c.fmoffset = c.rampoffset = c.flat20M = c.flat30M =
            c.flat40M = c.flat60M = c.flat70M = c.flat80M = c.flat90M = c.rfdetslope =
                static_cast<float>(v);
    c.clkcorr = v;
    c.adcref = static_cast<std::int32_t>(v);
    c.sq2offset = static_cast<std::int16_t>(v);
}

struct Loaded {
    SharedState s;
    test::TestUi ui;
    bool ok = false;
    void load(const std::string& path) { ok = sgcalibration(s, ui, path); }
};

TEST(CalibrationFile, All47RowsLandInTheirFields) {
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        Loaded l;
        l.load(writeTempFile("cal-full.txt", header() + rowsText(47, eol) + "extra\tline\t9\n"));
        EXPECT_TRUE(l.ok);
        EXPECT_TRUE(l.ui.messages.empty());
        ASSERT_EQ(kFields.size(), 47U);
        for (const Field& f : kFields) {
            const double expected = isIntegerRow(f.row) ? 100.0 * f.row : rowValue(f.row);
            EXPECT_DOUBLE_EQ(f.get(l.s.cal), expected) << f.name << " eol " << int(eol[0]);
        }
    }
}

TEST(CalibrationFile, DefaultsAreSetBeforeEachLoad) {
    Loaded l;
    fillWith(l.s.cal, 5);
    l.load("/nonexistent/dir/CalDataNONE.txt");
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.ui.texts(), (Lines{kMsg}));
    const Calibration& c = l.s.cal;
    EXPECT_DOUBLE_EQ(c.clkcorr, 1.0);
    EXPECT_FLOAT_EQ(c.flat1M, 1.0F);
    EXPECT_FLOAT_EQ(c.offgain, 1.0F);
    EXPECT_FLOAT_EQ(c.offzero, -10.0F);
    EXPECT_FLOAT_EQ(c.flat10M, 1.015F);
    EXPECT_FLOAT_EQ(c.flat50M, 1.245F);
    EXPECT_FLOAT_EQ(c.flat100M, 2.63F);
    EXPECT_FLOAT_EQ(c.flat150M, 2.63F);
    EXPECT_FLOAT_EQ(c.flat200M, 2.63F);
    EXPECT_FLOAT_EQ(c.ampfullscale, 7090.0F);
    EXPECT_FLOAT_EQ(c.arbvoffset, 1090.0F);
    EXPECT_FLOAT_EQ(c.fmoffset, -51800.0F);
    EXPECT_FLOAT_EQ(c.rampoffset, 470.0F);
    // Values without a default keep what they held.
    EXPECT_FLOAT_EQ(c.flat20M, 5.0F);
    EXPECT_FLOAT_EQ(c.flat90M, 5.0F);
    EXPECT_FLOAT_EQ(c.rfdetslope, 5.0F);
    EXPECT_EQ(c.adcref, 5);
    EXPECT_EQ(c.sq2offset, 5);
}

TEST(CalibrationFile, HeaderAndTwelveValuesTakesTheTwelve) {
    Loaded l;
    fillWith(l.s.cal, 5);
    l.load(writeTempFile("cal-12.txt", header() + rowsText(12)));
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.ui.texts(), (Lines{kMsg}));
    for (const Field& f : kFields) {
        if (f.row <= 12) {
            EXPECT_DOUBLE_EQ(f.get(l.s.cal), rowValue(f.row)) << f.name;
        }
    }
    EXPECT_FLOAT_EQ(l.s.cal.rampoffset, 470.0F);
    for (float v : {l.s.cal.flat20M, l.s.cal.flat30M, l.s.cal.flat40M, l.s.cal.flat60M,
                    l.s.cal.flat70M, l.s.cal.flat80M, l.s.cal.flat90M}) {
        EXPECT_FLOAT_EQ(v, 5.0F);
    }
}

TEST(CalibrationFile, BadFilesShowTheMessageAndKeepWhatWasRead) {
    struct Row {
        const char* name;
        std::string content;
        int rowsTaken;  // rows read before the failure
    };
    std::string notNumber = header() + rowsText(4) + "flat10M\t\tabc\n" + rowsText(47);
    std::string fewFields = header() + rowsText(2) + "offzero -10\n";
    std::string emptyValue = header() + rowsText(1) + "clkcorr\t\t\n";
    std::string tooBig = header() + "ampfullscale\tmV\t1e39\n";
    std::string hugeNumber = header() + "ampfullscale\tmV\t1e999\n";
    std::string int16Overflow = header() + rowsText(25) + "ch2offv\t\t40000\n";
    std::string comma = header() + "ampfullscale\tmV\t7090,5\n";
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 37 + 11) % 256);
    }
    const Row rows[] = {
        {"cal-empty.txt", "", 0},
        {"cal-header-only.txt", header(), 0},
        {"cal-two-lines.txt", "a\nb\n", 0},
        {"cal-nan.txt", notNumber, 4},
        {"cal-fields.txt", fewFields, 2},
        {"cal-emptyvalue.txt", emptyValue, 1},
        {"cal-toobig.txt", tooBig, 0},
        {"cal-huge.txt", hugeNumber, 0},
        {"cal-int16.txt", int16Overflow, 25},
        {"cal-comma.txt", comma, 0},
        {"cal-binary.bin", binary, 0},
        {"cal-46.txt", header() + rowsText(46), 46},
    };
    for (const Row& r : rows) {
        Loaded l;
        fillWith(l.s.cal, 5);
        l.load(writeTempFile(r.name, r.content));
        EXPECT_FALSE(l.ok) << r.name;
        EXPECT_EQ(l.ui.texts(), (Lines{kMsg})) << r.name;
        for (const Field& f : kFields) {
            if (f.row <= r.rowsTaken) {
                const double expected = isIntegerRow(f.row) ? 100.0 * f.row : rowValue(f.row);
                EXPECT_DOUBLE_EQ(f.get(l.s.cal), expected) << r.name << " " << f.name;
            }
        }
        if (r.rowsTaken < 41) {
            EXPECT_FLOAT_EQ(l.s.cal.flat20M, 5.0F) << r.name;
        }
    }
}

TEST(CalibrationFile, VeryLongLinesAreReadSafely) {
    // A long name field before the value, and a long run of text after it.
    std::string text = header();
    text += std::string(200000, 'n') + "\tmV\t7000\n";
    text += "clkcorr\t\t1.5\t" + std::string(100000, 'x') + "\n";
    text += rowsText(47).substr(rowsText(2).size());
    Loaded l;
    l.load(writeTempFile("cal-long.txt", text));
    // The first line is cut before its value: that row cannot be read.
    EXPECT_FALSE(l.ok);
    EXPECT_FLOAT_EQ(l.s.cal.ampfullscale, 7090.0F);

    std::string text2 = header() + "ampfullscale\tmV\t7000\t" + std::string(300000, 'x') + "\n" +
                        rowsText(47).substr(rowsText(1).size());
    Loaded l2;
    l2.load(writeTempFile("cal-long2.txt", text2));
    EXPECT_TRUE(l2.ok);
    EXPECT_FLOAT_EQ(l2.s.cal.ampfullscale, 7000.0F);
    EXPECT_DOUBLE_EQ(l2.s.cal.clkcorr, rowValue(2));
}

TEST(CalibrationFile, IntegerRowsRoundHalfToEven) {
    struct Row {
        const char* text;
        std::int16_t value;
    };
    for (const Row r : {Row{"2.5", 2}, Row{"3.5", 4}, Row{"-2.5", -2}, Row{"-3.5", -4},
                        Row{"2.4", 2}, Row{"2.6", 3}, Row{" 7 ", 7}, Row{"1e2", 100}}) {
        std::string text = header() + rowsText(25) + "ch2offv\t\t" + r.text + "\n";
        text += rowsText(47).substr(rowsText(26).size());
        Loaded l;
        l.load(writeTempFile("cal-round.txt", text));
        EXPECT_TRUE(l.ok) << r.text;
        EXPECT_EQ(l.s.cal.ch2offv, r.value) << r.text;
    }
    // The 32-bit row too.
    std::string text = header() + rowsText(21) + "adcref\tmV\t3600.5\n";
    text += rowsText(47).substr(rowsText(22).size());
    Loaded l;
    l.load(writeTempFile("cal-round32.txt", text));
    EXPECT_EQ(l.s.cal.adcref, 3600);
}

TEST(CalibrationFile, TheShippedFileOfTheVirtualInstrumentReadsCompletely) {
    Loaded l;
    l.load(std::string(TUNX_SHARE_DIR) + "CalDataSIM0001.txt");
    EXPECT_TRUE(l.ok);
    EXPECT_TRUE(l.ui.messages.empty());
    EXPECT_DOUBLE_EQ(l.s.cal.clkcorr, 1.0000012);
    EXPECT_FLOAT_EQ(l.s.cal.rfdetintercept, -87.5F);
}

// The panel's two calibration buttons.
struct CalButtons : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.ui.messages.clear();
        good = writeTempFile("cal-button.txt", header() + rowsText(47));
    }
    Rig rig;
    std::string good;
};

TEST_F(CalButtons, ChoosingAFileLoadsIt) {
    rig.ui.answers.push_back(good);
    const auto mark = rig.mark();
    EXPECT_TRUE(rig.run("calibr_file_Click"));
    EXPECT_EQ(rig.ui.dialogTitles, (Lines{"Load From File"}));
    EXPECT_EQ(rig.ui.dialogFilters,
              (Lines{"Text files (*.TXT)|*.TXT|CSV files (*.CSV)|*.CSV|All Files (*.*)|*.*"}));
    EXPECT_EQ(rig.w()["tcali"].text, good);
    EXPECT_FLOAT_EQ(rig.s().cal.ampfullscale, rowValue(1));
    EXPECT_EQ(rig.lines(mark), (Lines{"dialog Load From File -> " + good}));
}

TEST_F(CalButtons, CancellingTheDialogReloadsTheCurrentFile) {
    rig.s().cal.ampfullscale = 1;
    rig.s().cal.flat20M = 9;
    const std::string before = rig.w()["tcali"].text;
    EXPECT_TRUE(rig.run("calibr_file_Click"));
    EXPECT_EQ(rig.w()["tcali"].text, before);
    EXPECT_FLOAT_EQ(rig.s().cal.ampfullscale, 7090.0F);
    EXPECT_FLOAT_EQ(rig.s().cal.flat20M, 1.04F);  // the shipped file's value
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(CalButtons, ChoosingAMissingFileShowsTheMessage) {
    rig.ui.answers.push_back("/nonexistent/CalDataX.txt");
    EXPECT_TRUE(rig.run("calibr_file_Click"));
    EXPECT_EQ(rig.w()["tcali"].text, "/nonexistent/CalDataX.txt");
    EXPECT_EQ(rig.messages(), (Lines{kMsg}));
}

TEST_F(CalButtons, UpdateCalDataReloadsTheNamedFile) {
    rig.w()["tcali"].text = good;
    const auto mark = rig.mark();
    EXPECT_TRUE(rig.run("Calibrate_Click"));
    EXPECT_FLOAT_EQ(rig.s().cal.flat90M, rowValue(47));
    EXPECT_TRUE(rig.lines(mark).empty());  // no device traffic, no dialog
}

// The virtual instrument, with the data bytes of every 2-byte read replaced.
class TwoByteReply : public test::UsbPassThrough {
  public:
    TwoByteReply(UsbApi& inner, std::uint8_t hi, std::uint8_t lo)
        : UsbPassThrough(inner), hi_(hi), lo_(lo) {}
    int SI_Read(DeviceHandle h, std::span<std::uint8_t> b, std::uint32_t& n) override {
        const int status = UsbPassThrough::SI_Read(h, b, n);
        if (b.size() == 2 && status == usb::kSuccess) {
            b[0] = hi_;
            b[1] = lo_;
        }
        return status;
    }

  private:
    std::uint8_t hi_, lo_;
};

// The bias read-back.
struct BiasRead : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.ui.messages.clear();
        rig.s().cal.sgbias = 123.0F;
        mark = rig.mark();
    }
    Rig rig;
    std::size_t mark = 0;
};

TEST_F(BiasRead, CommandsPauseAndRead) {
    readsgbias1(rig.link());
    EXPECT_EQ(
        rig.frames(mark),
        (std::vector<Frame>{{32, 6, 4, 1, 0, 0}, {32, 6, 5, 0, 0, 0}, {27, 255, 255, 85, 85, 85}}));
    const Lines lines = rig.lines(mark);
    // The read-back: flush, the frame alone, 2 ms, two bytes.
    ASSERT_GE(lines.size(), 4U);
    const Lines tail(lines.end() - 4, lines.end());
    ASSERT_EQ(tail[0], "flush");
    EXPECT_EQ(tail[1], "write 4 27 255 255 85 85 85 24");
    EXPECT_EQ(tail[2], "sleep 2");
    EXPECT_EQ(tail[3].rfind("read 2 -> ", 0), 0U);
    EXPECT_EQ(rig.w()["Status"].text, "0");
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(BiasRead, ArithmeticOfTheReading) {
    struct Row {
        int raw;
        std::int32_t adcref;
        float mv;
    };
    for (const Row r : {Row{2048, 3600, 1800.0F}, Row{0, 3600, -1800.0F}, Row{1024, 3600, 0.0F},
                        Row{4095, 4096, 6390.0F}}) {
        rig.s().cal.adcref = r.adcref;
        TwoByteReply fixed(rig.sim, static_cast<std::uint8_t>(r.raw >> 8),
                           static_cast<std::uint8_t>(r.raw & 0xFF));
        SharedState& s = rig.s();
        Control status;
        Link link(s, fixed, rig.clock, rig.ui, status);
        readsgbias1(link);
        EXPECT_FLOAT_EQ(s.cal.sgbias, r.mv) << r.raw;
        EXPECT_EQ(status.text, "0");
    }
}

TEST_F(BiasRead, AFailedReadLeavesTheBiasUnchanged) {
    rig.sim.muteNext(1, 2);  // the two switch commands pass, code 27 gets no answer
    readsgbias1(rig.link());
    EXPECT_FLOAT_EQ(rig.s().cal.sgbias, 123.0F);
    EXPECT_EQ(rig.lines(mark).back(), "read 2 -> timeout");
    EXPECT_EQ(rig.w()["Status"].text, "13");
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(BiasRead, AFailedSwitchCommandEndsItAfterTheTransactionMessages) {
    for (int after : {0, 1}) {
        rig.ui.messages.clear();
        rig.sim.nakNext(3, after);
        const auto m = rig.mark();
        readsgbias1(rig.link());
        EXPECT_EQ(rig.messages(), (Lines{"_Relay_ON_CommError", "Error Sending Data."}));
        EXPECT_EQ(rig.frames(m).size(), static_cast<std::size_t>(3 + after));
        for (const Frame& f : rig.frames(m)) {
            EXPECT_EQ(f[0], 32);
        }
        EXPECT_FLOAT_EQ(rig.s().cal.sgbias, 123.0F);
    }
}

TEST_F(BiasRead, ReadsBackAboutTheOffsetTheVirtualInstrumentWasGiven) {
    // Offset 1002 mV with the default calibration: code 13 with 1, 179, 1, 239.
    ASSERT_TRUE(rig.link().send({13, 1, 179, 1, 239, 0}, "Set_Offset_", 3000, 2));
    readsgbias1(rig.link());
    EXPECT_NEAR(rig.s().cal.sgbias, 1002.0, 4.0);
    ASSERT_TRUE(rig.link().send({13, 2, 128, 2, 128, 0}, "Set_Offset_", 3000, 2));
    readsgbias1(rig.link());
    EXPECT_NEAR(rig.s().cal.sgbias, 0.0, 4.0);
}

TEST_F(BiasRead, AReadingBeyond16BitsIsAnOverflow) {
    Control status;
    TwoByteReply high(rig.sim, 0x80, 0x00);  // 32768 does not fit
    Link link(rig.s(), high, rig.clock, rig.ui, status);
    EXPECT_THROW(readsgbias1(link), RuntimeError);
    EXPECT_FLOAT_EQ(rig.s().cal.sgbias, 123.0F);
}

}  // namespace
}  // namespace tunx
