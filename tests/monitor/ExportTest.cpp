// The monitor's exports read back, and the measurements of a known signal.
#include <fstream>
#include <sstream>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"
#include "monitor/scope/Capture.h"

namespace tunx::test {
namespace {

std::vector<std::vector<std::string>> readCsv(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, ',');) {
            cells.push_back(cell);
        }
        rows.push_back(cells);
    }
    return rows;
}

using Export = MonitorRig;

// The export holds what the plot shows of the record, in volts: 641 samples at 1ms/div.
TEST_F(Export, AScopeRecordReadsBackAsTheRecordInVolts) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1+CH2", 3);
    ASSERT_TRUE(mon().capture && mon().captureShown);
    const std::vector<double> ch1 = shownVolts(*mon().capture, Channel::CH1);
    const std::vector<double> ch2 = shownVolts(*mon().capture, Channel::CH2);
    ASSERT_EQ(ch1.size(), 641u);
    const std::string path = writeTempFile("scope.csv", "old");
    std::string why;
    ASSERT_EQ(exportTo(m(), ExportKind::Scope, path, why), 641u) << why;
    const auto rows = readCsv(path);
    ASSERT_EQ(rows.size(), 642u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time_s", "CH1_V", "CH2_V"}));
    double low = 1e9, high = -1e9;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3u);
        EXPECT_DOUBLE_EQ(std::stod(rows[i][0]), (i - 1) / 64000.0);  // 1ms/div, 64 per division
        EXPECT_DOUBLE_EQ(std::stod(rows[i][1]), ch1[i - 1]);
        EXPECT_DOUBLE_EQ(std::stod(rows[i][2]), ch2[i - 1]);
        low = std::min(low, std::stod(rows[i][1]));
        high = std::max(high, std::stod(rows[i][1]));
    }
    EXPECT_NEAR(high - low, 4.0, 0.08);  // within 2 %
    EXPECT_TRUE(m().measch1->text.starts_with("CH1  4.00 Vpp  1.41 Vrms  mean "))
        << m().measch1->text;
    EXPECT_TRUE(m().measch1->text.ends_with("1.00 kHz")) << m().measch1->text;
    EXPECT_TRUE(m().measch2->visible);
}

TEST_F(Export, ASingleChannelAndATwelveBitRecordKeepTheirScale) {
    generatorSine("1", "kHz", "2");
    choose(m().adcselect, "12 bit 480Ks");
    runScope("Scope CH2", 3);
    ASSERT_TRUE(mon().capture);
    EXPECT_TRUE(shownVolts(*mon().capture, Channel::CH1).empty());
    const std::vector<double> ch2 = shownVolts(*mon().capture, Channel::CH2);
    ASSERT_FALSE(ch2.empty());
    const auto [low, high] = std::minmax_element(ch2.begin(), ch2.end());
    EXPECT_NEAR(*high - *low, 2.0, 0.06);
    EXPECT_FALSE(m().measch1->visible);
    EXPECT_TRUE(m().measch2->visible);
}

// The measurement line and the export describe what the plot shows: a long record whole, the
// samples drawn of a short one, the rolling display's samples so far, nothing ("—") once new
// settings cleared the plot; samples at the converter's ends make the line say "clipped".
TEST_F(Export, MeasurementsAndExportDescribeWhatThePlotShows) {
    struct Row {
        const char *what, *bench, *settings;
        bool longRecord;
        int ticks;
        std::size_t rows;  // 0: nothing to export
        const char *line, *lineEnd;
    };
    const Row rows[] = {
        {"12-bit long record", "", "adcselect=12 bit 480Ks", true, 3, 2048, "CH1  4.00 Vpp",
         "1.00 kHz"},
        {"8-bit long record", "", "", true, 3, 2048, "CH1  4.00 Vpp", "1.00 kHz"},
        {"1ns/div shows 641 of 1250", "",
         "scopemode=Undersampling|seltimediv=1ns/div|trigmode=Normal", false, 3, 641, "CH1  ", ""},
        {"rolling display at 2 Hz", "signal CH1 sine 2 4", "seltimediv=200ms/div", false, 600, 0,
         "CH1  4.00 Vpp", "2.00 Hz"},
        {"20 Vpp at 1 V/div", "signal CH1 sine 1k 20", "", false, 3, 641, "CH1 clipped  >7.9",
         "1.00 kHz"},
        {"1 Vpp at 10 V", "signal CH1 sine 1k 1 10", "", false, 3, 641, "CH1 clipped  >0.00 Vpp",
         "\u2014"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        generatorSine("1", "kHz", "4");
        instruct("wire CH1 generator");
        if (*row.bench != 0) {
            instruct(row.bench);
        }
        set(std::string("selmonmode=Scope CH1|adcselect=8 bit 40Ms|scopemode=Real time|"
                        "seltimediv=1ms/div|trigmode=Free-running|") +
            row.settings);
        m().reclenght->value = row.longRecord ? 1 : 0;
        click("cmdstartsweep_Click");
        tick(row.ticks);
        const std::string line = m().measch1->text;
        EXPECT_TRUE(line.starts_with(row.line)) << line;
        EXPECT_TRUE(line.ends_with(row.lineEnd)) << line;
        std::string why;
        const auto exported = exportTo(m(), ExportKind::Scope, writeTempFile("shown.csv", ""), why);
        EXPECT_EQ(exported.value_or(0), row.rows ? row.rows : mon().capture->count) << why;
        // New settings clear the plot: nothing is measured until a record comes.
        instruct("wire CH1 off");
        set("trigmode=Normal|ch1vdiv=0.5V");
        tick();
        EXPECT_EQ(m().measch1->text, "CH1  \u2014");
        EXPECT_FALSE(exportTo(m(), ExportKind::Scope, writeTempFile("none.csv", ""), why));
        click("cmdstop_Click");
        set("ch1vdiv=1V");
    }
}

TEST_F(Export, NothingMeasuredOrAPathThatCannotBeWrittenSaysWhyAndKeepsTheOldFile) {
    std::string why;
    const std::string path = writeTempFile("kept.csv", "old");
    EXPECT_FALSE(exportTo(m(), ExportKind::Sweep, path, why));
    EXPECT_EQ(why, "nothing has been measured yet");
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 3);
    EXPECT_FALSE(exportTo(m(), ExportKind::Scope, "/nonexistent/folder/x.csv", why));
    EXPECT_FALSE(why.empty());
    std::ifstream in(path);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "old");
    // Through the File menu the reason is shown.
    rig.ui.answers.push_back("/nonexistent/folder/x.csv");
    click("MenuBar_ExportScope_Click");
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(messages().back().starts_with("/nonexistent/folder/x.csv could not be saved ("));
}

// The sweep's measured levels in the unit of the scale shown, never its display limits (0 dBmV
// is below the 5dBmV/Div scale's floor of 25); a point not measured has no row.
TEST(ExportCsv, SweepAndSpectrumRows) {
    KeptMeasurements kept;
    kept.sweep = {{1e6, -20.0f}, {1001562, std::nullopt}, {1003124, -60.0f}};
    const struct {
        const char *scale, *csv;
    } rows[] = {
        {"100mVrms/Div", "frequency_Hz,level_mVrms\n1000000,100\n1003124,1\n"},
        {"5dBmV/Div", "frequency_Hz,level_dBmV\n1000000,40\n1003124,0\n"},
        {"10dBV/Div", "frequency_Hz,level_dBV\n1000000,-20\n1003124,-60\n"},
        {"15dBm/Div", "frequency_Hz,level_dBm\n1000000,-7\n1003124,-47\n"},
    };
    for (const auto& row : rows) {
        kept.scale = row.scale;
        EXPECT_EQ(sweepCsv(kept).text, row.csv);
        EXPECT_EQ(sweepCsv(kept).rows, 2u);
    }
    kept.sweepKind = SweepKind::Amplitude;
    kept.amplitudeUnit = "mVrms";
    EXPECT_TRUE(sweepCsv(kept).text.starts_with("amplitude_mVrms,level_dBm\n"));
    kept.spectrum = {-3.25, -80};
    kept.binHz = 62.5;
    kept.spectrumUnit = "dBFS";
    const Csv spectrum = spectrumCsv(kept);
    EXPECT_EQ(spectrum.text, "frequency_Hz,level_dBFS\n62.5,-3.25\n125,-80\n");
    EXPECT_EQ(spectrum.rows, 2u);
}

}  // namespace
}  // namespace tunx::test

namespace tunx::test {
namespace {

using Kept = MonitorRig;

// The window changes the drawing but not the strongest line's level; "Rectangular" draws what
// the spectrum always drew.
TEST_F(Kept, TheSpectrumsWindowsKeepTheLevelOfASine) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1", 3);
    std::vector<std::vector<Drawn>> drawings;
    for (const char* window : {"Rectangular", "Hann", "Blackman-Harris", "Flat top"}) {
        SCOPED_TRACE(window);
        choose(m().fftwindow, window);
        const std::size_t from = mark();
        click("cmdfft_Click");
        drawings.push_back(drawn(from));
        EXPECT_TRUE(m().fftpeak->text.starts_with("1.000 kHz  -6.")) << m().fftpeak->text;
        const auto& levels = mon().kept.spectrum;
        ASSERT_EQ(levels.size(), 512u);
        EXPECT_NEAR(levels[15], -6.02, 0.3);  // bin 16: 1 kHz x 1024 / 64000
    }
    EXPECT_NE(drawings[0].size(), 0u);
    const auto sameLines = [](const std::vector<Drawn>& a, const std::vector<Drawn>& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](const Drawn& x, const Drawn& y) {
                   return x.x1 == y.x1 && x.y1 == y.y1 && x.x2 == y.x2 && x.y2 == y.y2;
               });
    };
    EXPECT_FALSE(sameLines(drawings[0], drawings[1]));  // the window was applied
    choose(m().fftwindow, "Kaiser");                    // a name of no window draws as ever
    const std::size_t from = mark();
    click("cmdfft_Click");
    EXPECT_TRUE(sameLines(drawings[0], drawn(from)));

    choose(m().fftscale, "dBVrms");
    click("cmdfft_Click");
    EXPECT_TRUE(m().fftpeak->text.ends_with(" dBVrms")) << m().fftpeak->text;
    EXPECT_NEAR(mon().kept.spectrum[15], 3.01, 0.3);  // 4 Vpp is 1.41 Vrms
}

}  // namespace
}  // namespace tunx::test
