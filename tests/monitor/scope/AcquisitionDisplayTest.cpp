// The scope's acquisition display judged on the virtual bench: the average of 16 records lowers
// the noise about fourfold and keeps the signal, starting afresh with new settings; peak detect
// at a slow time base shows a fast sine's whole envelope where the plain samples alias; earlier
// traces stay on the plot with persistence, and fade with its time.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"
#include "monitor/plot/Plot.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/Measurements.h"
#include "support/DecodePng.h"

namespace tunx::test {
namespace {

// A least-squares fit of a sine of `hz` with an offset to samples `interval` seconds apart: the
// sine's amplitude, and the rms of what it leaves (the noise).
struct SineFit {
    double amplitude = 0;
    double residualRms = 0;
};
SineFit fitSine(const std::vector<double>& v, double interval, double hz) {
    const auto basis = [&](std::size_t i) {
        const double phase = 2 * std::numbers::pi * hz * interval * static_cast<double>(i);
        return std::array<double, 3>{std::sin(phase), std::cos(phase), 1};
    };
    std::array<std::array<double, 4>, 3> a{};  // the normal equations, right side last
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto b = basis(i);
        for (std::size_t r = 0; r < 3; ++r) {
            for (std::size_t c = 0; c < 3; ++c) {
                a[r][c] += b[r] * b[c];
            }
            a[r][3] += b[r] * v[i];
        }
    }
    for (std::size_t p = 0; p < 3; ++p) {
        for (std::size_t r = p + 1; r < 3; ++r) {
            const double f = a[r][p] / a[p][p];
            for (std::size_t c = p; c < 4; ++c) {
                a[r][c] -= f * a[p][c];
            }
        }
    }
    std::array<double, 3> x{};
    for (std::size_t p = 3; p-- > 0;) {
        double s = a[p][3];
        for (std::size_t c = p + 1; c < 3; ++c) {
            s -= a[p][c] * x[c];
        }
        x[p] = s / a[p][p];
    }
    double squares = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto b = basis(i);
        const double e = v[i] - (x[0] * b[0] + x[1] * b[1] + x[2] * b[2]);
        squares += e * e;
    }
    return {std::hypot(x[0], x[1]), std::sqrt(squares / static_cast<double>(v.size()))};
}

class AcquisitionDisplay : public MonitorRig {
  protected:
    // The fit of CH1 as the plot shows it now.
    SineFit shownFit() {
        const ScopeCapture& c = *mon().capture;
        return fitSine(shownVolts(c, Channel::CH1), c.interval, 1000);
    }
    // Ticks of the timer 10 ms apart, as the window's timer runs, until the rolling display's
    // pass is full (or `most` ticks).
    void fillPass(int most = 400) {
        for (int i = 0; i < most && mon().rolling.column < plot::kColumns; ++i) {
            rig.clock.Sleep(10);
            tick();
        }
    }
};

TEST_F(AcquisitionDisplay, AverageOfSixteenLowersTheNoiseFourfoldAndStartsAfreshWithNewSettings) {
    generatorSine("1", "kHz", "4");
    instruct("noise 100");
    set("selmonmode=Scope CH1|adcselect=8 bit 40Ms|seltimediv=1ms/div|ch1vdiv=1V|trigmode=Normal");
    click("cmdstartsweep_Click");
    tick(6);
    const SineFit single = shownFit();
    EXPECT_EQ(mon().capture->averagedRecords, 1u);
    EXPECT_FALSE(m().acqtext->visible);

    choose(m().acqmode, "Average 16");
    tick(1 + 20);
    ASSERT_EQ(mon().capture->averagedRecords, 16u);
    const SineFit averaged = shownFit();
    // The noise of 16 records averaged on the trigger: a quarter of it; the sine stays.
    EXPECT_NEAR(single.residualRms, 0.1, 0.02);
    EXPECT_NEAR(single.residualRms / averaged.residualRms, 4, 0.8)
        << single.residualRms << " V against " << averaged.residualRms << " V";
    EXPECT_NEAR(single.amplitude, 2, 0.1);
    EXPECT_NEAR(averaged.amplitude, single.amplitude, 0.05);
    EXPECT_EQ(m().acqtext->text, "Avg 16");
    EXPECT_TRUE(m().acqtext->visible);
    // The measurement line, the plot and the export read the average, and the export says so.
    const Measurement measured = measure(shownVolts(*mon().capture, Channel::CH1), 1 / 64e3);
    EXPECT_NEAR(measured.rms, std::sqrt(2.0 + averaged.residualRms * averaged.residualRms), 0.03);
    EXPECT_TRUE(scopeCsv(*mon().capture).text.starts_with("time_s,CH1_avg16_V\n"));
    std::size_t from = mark();
    tick();
    const std::vector<double> volts = shownVolts(*mon().capture, Channel::CH1);
    const std::vector<std::pair<int, int>> points = trace(from, kRed);
    ASSERT_GT(points.size(), 600u);
    // Column c shows sample c of the screen (the first two share column 1); its row is 256 at
    // 0 V and 64 a volt upwards.
    double worst = 0;
    for (const auto& [column, row] : points) {
        worst = std::max(worst, std::abs(row - (256 - 64 * volts.at(std::size_t(column)))));
    }
    EXPECT_LE(worst, 0.5 + 1e-9);

    // A new setting starts the average afresh.
    choose(m().trigeredge, "Negative");
    tick(2);
    EXPECT_EQ(mon().capture->averagedRecords, 1u);
    EXPECT_EQ(m().acqtext->text, "Avg 1/16");
    EXPECT_TRUE(messages().empty());
}

TEST_F(AcquisitionDisplay, PeakDetectShowsTheWholeEnvelopeOfAFastSineAtASlowTimeBase) {
    generatorSine("1", "kHz", "4");
    set("selmonmode=Scope CH1|adcselect=8 bit 40Ms|seltimediv=200ms/div|ch1vdiv=1V");
    // The plain samples, 320 a second, alias the 1 kHz sine to 40 Hz.
    click("cmdstartsweep_Click");
    tick();
    fillPass();
    const Measurement plain =
        measure(shownVolts(*mon().capture, Channel::CH1), mon().capture->interval);
    ASSERT_TRUE(plain.frequency);
    EXPECT_NEAR(*plain.frequency, 40, 2);

    choose(m().acqmode, "Peak detect");
    std::size_t from = mark();
    tick();  // the set-up: the instrument streams 32 times as fast (divider 125000 / 32)
    EXPECT_EQ(lastOf(from, 42), (Frame{42, 0, 0, 15, 66, 2 + 128}));
    EXPECT_EQ(m().acqtext->text, "Peak x32");
    from = mark();
    fillPass();
    ASSERT_GE(mon().rolling.column, plot::kColumns);
    // Every column of the pass is a bar over the whole 4 V (256 rows at 1 V/div): no alias.
    std::vector<double> bars;
    for (const Drawn& d : drawn(from)) {
        if (d.colour == kRed && d.x1 == d.x2) {
            bars.push_back(std::abs(d.y2 - d.y1));
        }
    }
    ASSERT_GT(bars.size(), 630u);
    EXPECT_GE(*std::min_element(bars.begin(), bars.end()), 0.95 * 256);
    EXPECT_LE(*std::max_element(bars.begin(), bars.end()), 256 + 6);
    // The samples themselves are kept: they measure the sine, not its alias.
    const Measurement peak =
        measure(shownVolts(*mon().capture, Channel::CH1), mon().capture->interval);
    ASSERT_TRUE(peak.frequency);
    EXPECT_NEAR(*peak.frequency, 1000, 5);
    EXPECT_NEAR(peak.pp, 4, 0.15);

    // At a time base whose record holds no more samples than columns it draws as Normal.
    choose(m().seltimediv, "1ms/div");
    tick();
    EXPECT_EQ(m().acqtext->text, "Peak: as Normal");
    EXPECT_TRUE(messages().empty());
}

// The plot as tunx4k-cli's picture line saves it after a 1 kHz sine of 4 Vpp, then of 2 Vpp,
// each for `ticks` timer ticks, with the persistence `persistence`: the pixels of the trace's
// colour, full or fading, where only the 4 Vpp sine goes (1.25 to 2 divisions from CH1's zero
// line at the plot's middle), in full red and fading.
struct Outer {
    long red = 0, faded = 0;
};
Outer plotAfterTwoSines(const std::string& persistence, int ticks) {
    const std::string name = "persistence-" + persistence + "-" + std::to_string(ticks);
    const std::string png = writeTempFile(name + ".png", "");
    const std::string script =
        writeTempFile(name + ".txt",
                      "set Frek 1\nset Vpp 4\nclick RefreshBtn\nchoose Form1.selmonmode Scope CH1\n"
                      "choose Form1.trigmode Normal\npersistence " +
                          persistence + "\nclick cmdstartsweep\ntick " + std::to_string(ticks) +
                          "\nsim signal CH1 sine 1k 2\ntick " + std::to_string(ticks) +
                          "\npicture " + png + "\n");
    const CliRun r = runCli("--simulate --fast '" + script + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    const auto picture = decodePng(readFile(png));
    Outer p;
    if (!picture) {
        ADD_FAILURE() << "no picture";
        return p;
    }
    constexpr int kZeroLine = 32 + 256;
    for (int y = 0; y < picture->height; ++y) {
        const int away = std::abs(y - kZeroLine);
        if (away < 80 || away > 128 + 8) {
            continue;
        }
        for (int x = 32; x < 32 + 640; ++x) {
            const std::uint32_t px = picture->pixels[std::size_t(y * picture->width + x)];
            const int red = static_cast<int>(px >> 16), green = static_cast<int>((px >> 8) & 0xFF);
            p.red += px == 0xFF0000U;
            p.faded += px != 0xFF0000U && red - green > 16;
        }
    }
    return p;
}

TEST(Persistence, EarlierTracesStayOrFadeWithTheirTime) {
    // Off: the 2 Vpp trace alone. Infinite: the 4 Vpp one stays, in full.
    const Outer off = plotAfterTwoSines("off", 4);
    EXPECT_EQ(off.red + off.faded, 0);
    const Outer infinite = plotAfterTwoSines("infinite", 4);
    EXPECT_GT(infinite.red, 1000);
    EXPECT_EQ(infinite.faded, 0);
    // 2 s: a few records later the 4 Vpp trace is still there, fading; 0.5 s, 40 records
    // later: gone.
    const Outer slow = plotAfterTwoSines("2", 4);
    EXPECT_EQ(slow.red, 0);
    EXPECT_GT(slow.faded, infinite.red / 2) << slow.faded << " against " << infinite.red;
    const Outer fast = plotAfterTwoSines("0.5", 40);
    EXPECT_EQ(fast.red + fast.faded, 0);
}

}  // namespace
}  // namespace tunx::test
