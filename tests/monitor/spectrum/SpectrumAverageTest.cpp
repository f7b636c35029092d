// The spectrum's power average over the last records and its max hold, judged on the virtual
// bench: averaging steadies the noise floor without moving a line or the noise's power, the
// max hold keeps a line that has gone, and both start afresh with new settings.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

class SpectrumAverage : public MonitorRig {
  protected:
    // A 1 kHz, 4 Vpp sine with `noiseMv` of noise at CH1, the scope at 1ms/div and 1 V/div.
    void bench(double noiseMv) {
        generatorSine("1", "kHz", "4");
        instruct("noise " + std::to_string(noiseMv));
        set("selmonmode=Scope CH1|adcselect=8 bit 40Ms|seltimediv=1ms/div|ch1vdiv=1V");
        m().reclenght->value = 1;  // the long records F F T asks for
    }
    // START, `records` records, then F F T: the levels of lines 1..512.
    std::vector<double> spectrumAfter(int records) {
        click("cmdstartsweep_Click");
        tick(1 + records);
        click("cmdfft_Click");
        return mon().kept.spectrum;
    }
    // The noise floor: lines 100..500, far from the tone and its harmonics' first few.
    static std::vector<double> floorOf(const std::vector<double>& levels) {
        return {levels.begin() + 99, levels.begin() + 500};
    }
    static double deviation(const std::vector<double>& v) {
        const double mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        double sum = 0;
        for (double x : v) {
            sum += (x - mean) * (x - mean);
        }
        return std::sqrt(sum / double(v.size()));
    }
    // The mean power of levels in dB, in dB.
    static double meanPower(const std::vector<double>& levels) {
        double sum = 0;
        for (double l : levels) {
            sum += std::pow(10, l / 10);
        }
        return 10 * std::log10(sum / double(levels.size()));
    }
};

TEST_F(SpectrumAverage, SixteenSpectraSteadyTheNoiseFloorAndKeepTheLine) {
    bench(100);
    const std::vector<double> single = spectrumAfter(20);
    ASSERT_EQ(single.size(), 512u);
    EXPECT_EQ(mon().kept.spectrumAveraged, 1u);
    EXPECT_EQ(m().fftpeak->text.find("avg"), std::string::npos);

    rig.program.dispatch([&] { m().choose(*m().fftaverage, "16"); });
    const std::vector<double> averaged = spectrumAfter(20);
    EXPECT_EQ(mon().kept.spectrumAveraged, 16u);
    EXPECT_TRUE(m().fftpeak->text.starts_with("1.000 kHz")) << m().fftpeak->text;
    EXPECT_TRUE(m().fftpeak->text.ends_with("  avg 16")) << m().fftpeak->text;
    // A power average of 16 spectra: the noise floor's ups and downs shrink about fourfold,
    // its power stays, the tone's line stays where it was.
    const double before = deviation(floorOf(single)), after = deviation(floorOf(averaged));
    EXPECT_GT(before / after, 3) << before << " dB against " << after << " dB";
    EXPECT_NEAR(meanPower(floorOf(averaged)), meanPower(floorOf(single)), 1.5);
    EXPECT_NEAR(averaged[15], single[15], 0.3);
    EXPECT_NEAR(averaged[15], -6.0, 0.5);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SpectrumAverage, MaxHoldKeepsALineThatHasGoneUntilTheSettingsChange) {
    bench(0);
    rig.program.dispatch([&] { m().check(*m().ffthold, 1); });
    spectrumAfter(4);
    generatorSine("2", "kHz", "4");
    std::size_t from = mark();
    const std::vector<double> now = spectrumAfter(4);
    const std::vector<double>& hold = mon().kept.spectrumHold;
    ASSERT_EQ(hold.size(), 512u);
    // The 2 kHz line now, and the 1 kHz line held from before at its level.
    EXPECT_NEAR(now[31], -6.0, 0.5);
    EXPECT_LT(now[15], -40);
    EXPECT_NEAR(hold[15], -6.0, 0.5);
    EXPECT_NEAR(hold[31], -6.0, 0.5);
    for (std::size_t k = 0; k < hold.size(); ++k) {
        ASSERT_GE(hold[k], now[k] - 1e-9) << "line " << k + 1;
    }
    // Drawn behind the trace in its own colour; exported in a third column.
    const std::vector<Drawn> lines = drawn(from);
    EXPECT_TRUE(std::ranges::any_of(lines, [](const Drawn& d) { return d.colour == "65280"; }));
    const Csv csv = spectrumCsv(mon().kept);
    EXPECT_TRUE(csv.text.starts_with("frequency_Hz,level_dBFS,maxhold_dBFS\n62.5,"))
        << csv.text.substr(0, 60);
    EXPECT_EQ(csv.rows, 512u);
    // Another range: what was held belongs to other settings.
    set("ch1vdiv=0.5V");
    generatorSine("2", "kHz", "2");
    spectrumAfter(4);
    EXPECT_LT(mon().kept.spectrumHold[15], -40);
    EXPECT_NEAR(mon().kept.spectrumHold[31], -6.0, 0.5);
    // Off, the spectrum is the last record's alone again.
    rig.program.dispatch([&] { m().check(*m().ffthold, 0); });
    spectrumAfter(2);
    EXPECT_TRUE(mon().kept.spectrumHold.empty());
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace tunx::test
