// The monitor's exports read back, and the measurements of a known signal.
#include <fstream>
#include <sstream>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"

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

TEST_F(Export, AScopeRecordReadsBackAsTheRecordInVolts) {
    generatorSine("1", "kHz", "4");
    runScope("Scope CH1+CH2", 3);
    const ScopeRecord& record = mon().scopeRecord;
    ASSERT_EQ(record.ch1.size(), 650u);
    const std::string path = writeTempFile("scope.csv", "old");
    std::string why;
    ASSERT_EQ(exportTo(m(), ExportKind::Scope, path, why), 650u) << why;
    const auto rows = readCsv(path);
    ASSERT_EQ(rows.size(), 651u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"time_s", "CH1_V", "CH2_V"}));
    double low = 1e9, high = -1e9;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 3u);
        EXPECT_DOUBLE_EQ(std::stod(rows[i][0]), (i - 1) / 64000.0);  // 1ms/div, 64 per division
        EXPECT_DOUBLE_EQ(std::stod(rows[i][1]), record.ch1[i - 1]);
        EXPECT_DOUBLE_EQ(std::stod(rows[i][2]), record.ch2[i - 1]);
        low = std::min(low, std::stod(rows[i][1]));
        high = std::max(high, std::stod(rows[i][1]));
    }
    EXPECT_NEAR(high - low, 4.0, 0.08);  // within 2 %
    EXPECT_NE(m().measch1->text.find("4.00 Vpp"), std::string::npos) << m().measch1->text;
    EXPECT_NE(m().measch1->text.find("1.41 Vrms"), std::string::npos) << m().measch1->text;
    EXPECT_NE(m().measch1->text.find("1.00 kHz"), std::string::npos) << m().measch1->text;
    EXPECT_TRUE(m().measch2->visible);
}

TEST_F(Export, ASingleChannelAndATwelveBitRecordKeepTheirScale) {
    generatorSine("1", "kHz", "2");
    choose(m().adcselect, "12 bit 480Ks");
    runScope("Scope CH2", 3);
    const ScopeRecord& record = mon().scopeRecord;
    EXPECT_TRUE(record.ch1.empty());
    ASSERT_FALSE(record.ch2.empty());
    const auto [low, high] = std::minmax_element(record.ch2.begin(), record.ch2.end());
    EXPECT_NEAR(*high - *low, 2.0, 0.06);
    EXPECT_FALSE(m().measch1->visible);
    EXPECT_TRUE(m().measch2->visible);
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

TEST(ExportCsv, SweepAndSpectrumRows) {
    KeptMeasurements kept;
    kept.sweep = {{1e6, 100.5}, {1001562, 101.25}};
    kept.levelUnit = "mVrms";
    EXPECT_EQ(sweepCsv(kept).text, "frequency_Hz,level_mVrms\n1000000,100.5\n1001562,101.25\n");
    kept.amplitudeSweep = true;
    kept.amplitudeUnit = "mVrms";
    EXPECT_TRUE(sweepCsv(kept).text.starts_with("amplitude_mVrms,level_mVrms\n"));
    kept.spectrum = {-3.25, -80};
    kept.binHz = 62.5;
    kept.spectrumUnit = "dBFS";
    const Csv spectrum = spectrumCsv(kept);
    EXPECT_EQ(spectrum.text, "frequency_Hz,level_dBFS\n62.5,-3.25\n125,-80\n");
    EXPECT_EQ(spectrum.rows, 2u);
}

}  // namespace
}  // namespace tunx::test
