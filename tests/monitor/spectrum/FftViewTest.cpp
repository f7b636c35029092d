// The F F T button: the spectrum of the last record, judged on the virtual bench and against a
// direct transform, its placement, its scale texts, and a time base without a rate.
#include <algorithm>
#include <cmath>
#include <complex>
#include <sstream>

#include "monitor/MonitorRig.h"

namespace tunx::test {
namespace {

constexpr double kTwoPi = 2 * 3.14159265358979323846;

class SpectrumView : public MonitorRig {
  protected:
    // The spectrum's points since `from`: row (0 at the top of the plot) by column.
    std::vector<double> spectrum(std::size_t from, const std::string& colour) const {
        std::vector<double> rows(513, -1);
        for (const Drawn& d : drawn(from)) {
            if (d.colour == colour && d.width == 2) {
                rows.at(static_cast<std::size_t>(d.x2) - 32) = d.y2 - 32;
                rows.at(static_cast<std::size_t>(d.x1) - 32) = d.y1 - 32;
            }
        }
        return rows;
    }
    static int strongest(const std::vector<double>& rows) {
        int best = 4;
        for (int k = 4; k <= 512; ++k) {
            if (rows[static_cast<std::size_t>(k)] < rows[static_cast<std::size_t>(best)]) {
                best = k;
            }
        }
        return best;
    }
    // A record on the plot as the scope keeps it: `count` CH1 samples f(n) of the converter at
    // 1ms/div, 1 V/div, its position and scale as the panel has them.
    void record(std::size_t count, const std::function<double(int)>& f, bool twelve = false,
                double voltsPerDiv = 1) {
        ScopeCapture c;
        c.converter = twelve ? Converter::TwelveBit : Converter::EightBit;
        c.timeBase = "1ms/div";
        c.interval = 1 / 64000.0;
        c.spectrumRate = 64000;
        c.ch1.range = "1V";
        c.ch1.voltsPerDiv = voltsPerDiv;
        c.ch1.position = mon().ch1pos;
        c.ch1.scale = mon().ch1scale;
        for (int n = 0; n < static_cast<int>(count); ++n) {
            c.ch1.codes.push_back(static_cast<std::int32_t>(
                std::clamp(std::lround(f(n)), 0L, twelve ? 4095L : 255L)));
        }
        c.count = count;
        mon().capture = c;
        mon().captureShown = true;
    }
};

// A tone at frequency x 1024 / rate, at its level: in dBFS against the converter's full scale
// (a sine of 4 divisions is half of it, -6.0 dBFS), where the mouse and the strongest line's
// readout read the same; in dBVrms at its rms level with 0 dBV one division below the top,
// 6.4 rows a dB (4 Vpp: 1.414 Vrms, +3 dBV).
TEST_F(SpectrumView, AToneOnTheBenchLandsAtItsBin) {
    struct Row {
        const char *mode, *settings, *frek, *unit;
        bool longRecord;
        const char* scale;
        int column;
        const char* highest;
        double row;
        const char *bottom, *top;  // ldiv0, ldiv8
    };
    const double dbvrms = 64 - 6.4 * 20 * std::log10(std::sqrt(2.0));
    const double dbfs = 6.4 * 6.02;
    const Row rows[] = {
        {"Scope CH1", "", "1", "kHz", true, "dBFS", 16, "32,000 Hz", dbfs, "-80", "0"},
        {"Scope CH1", "", "1", "kHz", false, "dBFS", 16, "32,000 Hz", dbfs, "-80", "0"},
        {"Scope CH2", "", "2", "kHz", true, "dBFS", 32, "32,000 Hz", dbfs, "-80", "0"},
        {"Scope CH1", "adcselect=12 bit 480Ks", "1", "kHz", true, "dBFS", 16, "32,000 Hz", dbfs,
         "-80", "0"},
        {"Scope CH1", "seltimediv=2ms/div", "500", "Hz", true, "dBFS", 16, "16,000 Hz", dbfs, "-80",
         "0"},
        {"Scope CH1", "seltimediv=1us/div", "2.5", "MHz", true, "dBFS", 64, "20,000,000 Hz", dbfs,
         "-80", "0"},
        {"Scope CH1", "", "1", "kHz", true, "dBVrms", 16, "32,000 Hz", dbvrms, "-70", "10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + " " + row.settings + " " + row.scale);
        generatorSine(row.frek, row.unit, "4");
        set(std::string("selmonmode=") + row.mode +
            "|adcselect=8 bit 40Ms|seltimediv=1ms/div|ch1vdiv=1V");
        set(row.settings);
        m().reclenght->value = row.longRecord ? 1 : 0;
        m().fftscale->text = row.scale;
        click("cmdstartsweep_Click");
        tick(3);
        const std::size_t from = mark();
        click("cmdfft_Click");
        const std::vector<double> rows =
            spectrum(from, row.mode == std::string("Scope CH2") ? kYellow : kRed);
        EXPECT_EQ(strongest(rows), row.column);
        const double drawnRow = rows.at(static_cast<std::size_t>(row.column));
        EXPECT_NEAR(drawnRow, row.row, 1.5);
        const std::string peak = m().fftpeak->text;
        rig.program.dispatch([&] { m().Picture1_MouseMove(0, 0, 48, 32 + drawnRow); });
        const std::string hover = m().labstartfr->text;
        EXPECT_NEAR(std::stod(hover), std::stod(peak.substr(peak.find("  ") + 2)), 0.2)
            << hover << " / " << peak;
        EXPECT_EQ(m().fftmaxfrequency->text, row.highest);
        EXPECT_TRUE(m().fftmaxfrequency->visible);
        EXPECT_EQ(std::tuple(m().ldiv0->text, m().ldiv8->text, m().ldivunit->text),
                  std::tuple(row.bottom, row.top, row.scale));
        EXPECT_FALSE(m().ch1text->visible || m().ch2text->visible);
        EXPECT_EQ(m().reclenght->value, 1);
        EXPECT_TRUE(mon().fftflag);
        EXPECT_EQ(mon().monstate, "stoped");
    }
    EXPECT_TRUE(messages().empty());
}

// The spectrum is of the last record the scope accepted, with the rate, converter and ranges
// it was taken with, whatever the panel says since; a record the scope refused is not one.
// Without a line above the noise, the strongest line's readout says so.
TEST_F(SpectrumView, TheSpectrumIsOfTheLastRecordWithItsOwnSettings) {
    struct Row {
        const char *what, *after;  // settings chosen after STOP
        const char* fault;         // bench instructions before a last tick whose record is cut
        const char* peak;          // the start of fftpeak
    };
    const Row rows[] = {
        {"another time base", "seltimediv=10us/div", "", "1.000 kHz  -6."},
        {"the other converter", "adcselect=12 bit 480Ks", "", "1.000 kHz  -6."},
        {"a record cut short", "", "signal CH1 sine 7k 4|cut 600", "1.000 kHz  -6."},
        {"an open input", "", "", "\u2014"},
        {"noise alone", "", "", "\u2014"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string what = row.what;
        generatorSine("1", "kHz", "4");
        instruct("wire CH1 generator");
        instruct("noise 0");
        if (what == "an open input" || what == "noise alone") {
            instruct("wire CH1 off");
            instruct(what == "noise alone" ? "noise 40" : "noise 0");
        }
        set("selmonmode=Scope CH1|adcselect=8 bit 40Ms|seltimediv=1ms/div");
        m().reclenght->value = 0;
        click("cmdstartsweep_Click");
        tick(3);
        std::istringstream faults(row.fault);
        for (std::string f; std::getline(faults, f, '|');) {
            instruct(f);
        }
        tick();
        click("cmdstop_Click");
        set(row.after);
        click("cmdfft_Click");
        EXPECT_TRUE(m().fftpeak->text.starts_with(row.peak)) << m().fftpeak->text;
        EXPECT_EQ(m().fftmaxfrequency->text, "32,000 Hz");
    }
    EXPECT_TRUE(messages().empty()) << messages().front();
}

// The spectrum drawn from a record against the direct transform of the same samples, placed
// by the rules: bins 3..513 set the strongest level P, 6.4 rows a dB, 0..512 rows.
TEST_F(SpectrumView, DrawnSpectrumMatchesADirectTransformOfTheRecord) {
    choose(m().selmonmode, "Scope CH1");
    const auto signal = [](int n) {
        return 140 + 60 * std::sin(kTwoPi * 37 * n / 1024) +
               12 * std::cos(kTwoPi * 201.5 * n / 1024);
    };
    for (const char* scale : {"dBFS", "dBVrms"}) {
        SCOPED_TRACE(scale);
        record(2048, signal);
        m().fftscale->text = scale;
        const std::size_t from = mark();
        click("cmdfft_Click");
        const std::vector<double> drawnRows = spectrum(from, "255");

        std::vector<double> x(1024);
        int low = 255, high = 0;
        for (int n = 0; n < 1024; ++n) {
            const int byte = mon().capture->ch1.codes[static_cast<std::size_t>(n)];
            x[static_cast<std::size_t>(n)] = byte - 128;
            low = std::min(low, 2 * byte);
            high = std::max(high, 2 * byte);
        }
        std::vector<double> db(514);
        double p = 0;
        for (int k = 0; k < 514; ++k) {
            std::complex<double> sum;
            for (int n = 0; n < 1024; ++n) {
                sum += x[static_cast<std::size_t>(n)] * std::polar(1.0, -kTwoPi * k * n / 1024);
            }
            db[static_cast<std::size_t>(k)] = 20 * std::log10(std::max(std::abs(sum), 1.0));
            if (k >= 3) {
                p = std::max(p, db[static_cast<std::size_t>(k)]);
            }
        }
        const double rms = (high - low) * (1.0 / 64) * 0.3536;  // 1V/div
        // dBFS: the strongest line at the level the spectrum reads for it.
        const auto& levels = mon().kept.spectrum;
        const double level = *std::max_element(levels.begin() + 2, levels.end());
        const double offset = scale == std::string("dBFS")
                                  ? 512 - 6.4 * p + 6.4 * level
                                  : 6.4 * 20 * std::log10(rms) + 448 - 6.4 * p;
        for (int k = 3; k <= 512; ++k) {
            const double y = std::clamp(6.4 * db[static_cast<std::size_t>(k)] + offset, 0.0, 512.0);
            EXPECT_NEAR(drawnRows[static_cast<std::size_t>(k)], 512 - y, 1e-3) << "bin " << k;
        }
        EXPECT_EQ(mon().sigpp, high - low);
    }
}

TEST_F(SpectrumView, TheRmsReferenceOfEachRange) {
    struct Row {
        const char* adc;
        double voltsPerDiv;  // of the record's range; 0: a text of no range
        int low, high;       // sample extremes: bytes (8-bit) or codes (12-bit)
        double sigrms;       // before the 12-bit channel scale
    };
    const Row rows[] = {
        {"8 bit 40Ms", 1, 0, 255, 510 * 0.015625 * 0.3536},  // about 2.818 V
        {"8 bit 40Ms", 0.5, 0, 255, 510 * 0.0078125 * 0.3536},
        {"8 bit 40Ms", 0.05, 0, 255, 510 * 0.00078125 * 0.3536},
        {"8 bit 40Ms", 0.01, 10, 20, 20 * 0.00015625 * 0.3536},
        {"8 bit 40Ms", 1, 90, 90, 1.0},   // nothing to measure: the reference is 0 dBV
        {"8 bit 40Ms", 0, 0, 255, 0.25},  // no such range: left as it was
        {"12 bit 480Ks", 1, 0, 4000, 4000 * 0.015625 * 0.3536},
    };
    choose(m().selmonmode, "Scope CH1");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.adc) + " " + std::to_string(row.voltsPerDiv));
        mon().sigrms = 0.25;
        const bool twelveBit = row.adc == std::string("12 bit 480Ks");
        record(
            2048, [&](int n) { return n % 2 == 0 ? row.low : row.high; }, twelveBit,
            row.voltsPerDiv);
        click("cmdfft_Click");
        const double scale = twelveBit ? mon().ch1scale : 1.0;
        EXPECT_NEAR(mon().sigrms, row.sigrms * scale, 1e-9);
        EXPECT_EQ(mon().sigpp, (twelveBit ? 1 : 2) * (row.high - row.low));
    }
}

TEST_F(SpectrumView, WithoutARecordOrARateItSaysSoAndLeavesThePlot) {
    choose(m().selmonmode, "Scope CH1");
    for (const bool recorded : {false, true}) {
        choose(m().seltimediv, "200ms/div");
        if (recorded) {
            click("cmdstartsweep_Click");
            tick(3);
        }
        const std::string top = m().ldiv8->text;
        const std::size_t said = messages().size();
        const std::size_t from = mark();
        click("cmdfft_Click");
        EXPECT_EQ(messagesAfter(said),
                  std::vector<std::string>{
                      recorded ? "Invalid time base for FFT!,  Valid Range is from 100ns to 100ms"
                               : "No scope record of this channel to show as a spectrum: press "
                                 "START first."});
        EXPECT_TRUE(drawn(from).empty());
        EXPECT_EQ(m().ldiv8->text, top);
        EXPECT_EQ(mon().monstate, "stoped");
    }
}

}  // namespace
}  // namespace tunx::test
