// The measurement statistics and the edges judged on the virtual bench.
#include <cmath>

#include "monitor/MonitorRig.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Measurements.h"

namespace tunx::test {
namespace {

class Statistics : public MonitorRig {
  protected:
    // A user ticks or clears a check box of the monitor; its handler runs.
    void check(Ctl box, int value) {
        rig.program.dispatch([&] { m().check(*box, value); });
    }
};

// A noisy 1 kHz sine over 100 records: the frequency hardly varies, the peak-to-peak varies
// with the noise, each reading lies between the smallest and the largest; the reset starts
// the count afresh. Without the box ticked nothing is gathered or shown.
TEST_F(Statistics, OfAHundredRecordsOfANoisySine) {
    generatorSine("1", "kHz", "4");
    instruct("noise 30");
    instruct("seed 7");
    runScope("Scope CH1", 4);
    EXPECT_EQ(mon().stats[0].records, 0u);
    EXPECT_FALSE(m().statch1->visible);
    EXPECT_FALSE(m().timech1->visible);

    check(m().measstats, 1);
    click("cmdresetstats_Click");
    tick(100);
    const ChannelStats& s = mon().stats[0];
    EXPECT_EQ(s.records, 100u);
    const RunningStats& hz = s[MeasuredValue::Frequency];
    EXPECT_EQ(hz.count, 100u);
    EXPECT_NEAR(hz.mean, 1000, 5);
    EXPECT_LT(hz.stddev() / hz.mean, 0.005);
    const RunningStats& pp = s[MeasuredValue::Vpp];
    EXPECT_NEAR(pp.mean, 4.2, 0.2);  // the noise's peaks add to the sine's
    EXPECT_GT(pp.stddev(), 0);
    EXPECT_LE(pp.min, pp.current);
    EXPECT_GE(pp.max, pp.current);
    EXPECT_TRUE(m().statch1->visible);
    EXPECT_TRUE(m().statch1->text.starts_with("CH1  100 records\n")) << m().statch1->text;
    EXPECT_FALSE(m().statch2->visible);  // CH2 is not drawn

    click("cmdresetstats_Click");
    EXPECT_EQ(mon().stats[0].records, 0u);
    EXPECT_TRUE(m().statch1->text.starts_with("CH1  0 records\n")) << m().statch1->text;
    tick();
    EXPECT_EQ(mon().stats[0].records, 1u);

    check(m().measstats, 0);
    EXPECT_FALSE(m().statch1->visible);
    tick();
    EXPECT_EQ(mon().stats[0].records, 1u);
}

// Rise and fall from 10 % to 90 %: a sine's take 0.295 of its period; a square's edge is
// within a sample. The duty of both is a half.
TEST_F(Statistics, EdgesPeriodAndDuty) {
    struct Row {
        const char *name, *bench;
        double rise;  // seconds; 0: within a sample
        const char* text;
    };
    const Row rows[] = {
        {"1 kHz sine", "", 0.2952e-3, "CH1  T 1.00 ms  rise 29"},
        {"1 kHz square", "signal CH1 square 1000 2", 0, "CH1  T 1.00 ms  rise "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        generatorSine("1", "kHz", "4");
        if (*row.bench != 0) {
            instruct(row.bench);
        }
        check(m().measstats, 1);
        runScope("Scope CH1", 3);
        ASSERT_TRUE(mon().capture);
        const std::vector<double> volts = shownVolts(*mon().capture, Channel::CH1);
        const Measurement measured = measure(volts, mon().capture->interval);
        ASSERT_TRUE(measured.rise && measured.fall && measured.duty && measured.period);
        const double sample = mon().capture->interval;
        if (row.rise > 0) {
            EXPECT_NEAR(*measured.rise, row.rise, 0.03 * row.rise);
            EXPECT_NEAR(*measured.fall, row.rise, 0.03 * row.rise);
        } else {
            EXPECT_LE(*measured.rise, sample);
            EXPECT_LE(*measured.fall, sample);
        }
        EXPECT_NEAR(*measured.duty, 0.5, 0.02);
        EXPECT_NEAR(*measured.period, 1e-3, 1e-5);
        EXPECT_TRUE(m().timech1->visible);
        EXPECT_TRUE(m().timech1->text.starts_with(row.text)) << m().timech1->text;
        EXPECT_NE(m().timech1->text.find("duty 5"), std::string::npos) << m().timech1->text;
        click("cmdstop_Click");
        instruct("wire CH1 generator");
    }
}

TEST(StatisticsTable, ReadsOneLinePerValueWithItsColumns) {
    ChannelStats s;
    Measurement a;
    a.pp = 4;
    a.rms = 1.41;
    a.mean = 0;
    a.frequency = 1000;
    addToStats(s, a);
    a.pp = 4.2;
    a.frequency.reset();
    addToStats(s, a);
    EXPECT_EQ(statisticsText("CH1", s),
              "CH1  2 records\n"
              "        current       min      mean       max   std dev\n"
              "Vpp      4.20 V    4.00 V    4.10 V    4.20 V    100 mV\n"
              "Vrms     1.41 V    1.41 V    1.41 V    1.41 V    0.00 V\n"
              "mean     0.00 V    0.00 V    0.00 V    0.00 V    0.00 V\n"
              "freq   1.00 kHz  1.00 kHz  1.00 kHz  1.00 kHz   0.00 Hz");
}

}  // namespace
}  // namespace tunx::test
