// The F F T button: the spectrum of the last record, judged on the virtual bench and against a
// direct transform, its placement, its scale texts, and a time base without a rate.
#include <algorithm>
#include <cmath>
#include <complex>

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
    // CH1 8-bit samples n (from 0) from `first` to before `last` = f(n), in the buffer as read;
    // 12-bit codes from position 2 instead when `twelve`.
    void put(int first, int last, const std::function<double(int)>& f, bool twelve = false) {
        RecordBuffer& b = mon().record;
        for (int n = first; n < last; ++n) {
            const long v = std::clamp(std::lround(f(n)), 0L, twelve ? 4095L : 255L);
            const auto at = static_cast<std::size_t>(2 * n + (twelve ? 2 : 0));
            b[at] = static_cast<std::uint8_t>(twelve ? v >> 8 : 128);
            b[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
        }
    }
    // A record of `bytes` bytes of such samples, the rest of the buffer zero.
    void record(std::size_t bytes, const std::function<double(int)>& f, bool twelve = false) {
        mon().record.fill(0);
        put(0, static_cast<int>(bytes / 2) - (twelve ? 1 : 0), f, twelve);
        mon().recordBytes = bytes;
    }
};

// A tone at frequency x 1024 / rate: in dBFS on the top edge, in dBVrms at its rms level with
// 0 dBV one division below the top, 6.4 rows a dB (4 Vpp: 1.414 Vrms, +3 dBV).
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
    const Row rows[] = {
        {"Scope CH1", "", "1", "kHz", true, "dBFS", 16, "32,000 Hz", 0, "-80", "0"},
        {"Scope CH1", "", "1", "kHz", false, "dBFS", 16, "32,000 Hz", 0, "-80", "0"},
        {"Scope CH2", "", "2", "kHz", true, "dBFS", 32, "32,000 Hz", 0, "-80", "0"},
        {"Scope CH1", "adcselect=12 bit 480Ks", "1", "kHz", true, "dBFS", 16, "32,000 Hz", 0, "-80",
         "0"},
        {"Scope CH1", "seltimediv=2ms/div", "500", "Hz", true, "dBFS", 16, "16,000 Hz", 0, "-80",
         "0"},
        {"Scope CH1", "seltimediv=1us/div", "2.5", "MHz", true, "dBFS", 64, "20,000,000 Hz", 0,
         "-80", "0"},
        {"Scope CH1", "", "1", "kHz", true, "dBVrms", 16, "32,000 Hz", dbvrms, "-70", "10"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.mode) + " " + row.settings + " " + row.scale);
        generatorSine(row.frek, row.unit, "4");
        set(std::string("selmonmode=") + row.mode + "|adcselect=8 bit 40Ms|seltimediv=1ms/div");
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
        EXPECT_NEAR(rows.at(static_cast<std::size_t>(row.column)), row.row, 1.5);
        EXPECT_EQ(m().fftmaxfrequency->text, row.highest);
        EXPECT_TRUE(m().fftmaxfrequency->visible);
        EXPECT_EQ(std::tuple(m().ldiv0->text, m().ldiv8->text, m().ldivunit->text),
                  std::tuple(row.bottom, row.top, row.scale));
        EXPECT_FALSE(m().ch1text->visible || m().ch2text->visible);
        EXPECT_EQ(m().reclenght->value, 1);
        EXPECT_TRUE(mon().fftflag);
        EXPECT_EQ(mon().monstate, RunState::Stopped);
    }
    EXPECT_TRUE(messages().empty());
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
        record(4096, signal);
        m().fftscale->text = scale;
        const std::size_t from = mark();
        click("cmdfft_Click");
        const std::vector<double> drawnRows = spectrum(from, "255");

        std::vector<double> x(1024);
        int low = 255, high = 0;
        for (int n = 0; n < 1024; ++n) {
            const int byte = mon().record[static_cast<std::size_t>(2 * n + 1)];
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
        const double offset = scale == std::string("dBFS")
                                  ? 512 - 6.4 * p
                                  : 6.4 * 20 * std::log10(rms) + 448 - 6.4 * p;
        for (int k = 3; k <= 512; ++k) {
            const double y = std::clamp(6.4 * db[static_cast<std::size_t>(k)] + offset, 0.0, 512.0);
            EXPECT_NEAR(drawnRows[static_cast<std::size_t>(k)], 512 - y, 1e-3) << "bin " << k;
        }
        EXPECT_EQ(mon().sigpp, high - low);
    }
}

TEST_F(SpectrumView, AShortRecordDoesNotBorrowAnOlderRecordsSamples) {
    choose(m().selmonmode, "Scope CH1");
    // The last record brought 1300 bytes (650 samples) of a tone at bin 16; the buffer still
    // holds an older long record's loud tone at bin 100 beyond them.
    record(1300, [](int n) { return 128 + 60 * std::sin(kTwoPi * 16 * n / 1024); });
    put(650, 1024, [](int n) { return 128 + 120 * std::sin(kTwoPi * 100 * n / 1024); });
    const std::size_t from = mark();
    click("cmdfft_Click");
    const std::vector<double> rows = spectrum(from, "255");
    EXPECT_EQ(strongest(rows), 16);
    EXPECT_DOUBLE_EQ(rows[16], 0);
    EXPECT_GT(rows[100], 250);    // more than 39 dB down: nothing of the older tone
    EXPECT_EQ(mon().sigpp, 240);  // the extremes of the last record only
}

TEST_F(SpectrumView, TheRmsReferenceOfEachRange) {
    struct Row {
        const char* adc;
        const char* range;
        int low, high;  // sample extremes: bytes (8-bit) or codes (12-bit)
        double sigrms;  // before the 12-bit channel scale
    };
    const Row rows[] = {
        {"8 bit 40Ms", "1V", 0, 255, 510 * 0.015625 * 0.3536},  // about 2.818 V
        {"8 bit 40Ms", "0.5V", 0, 255, 510 * 0.0078125 * 0.3536},
        {"8 bit 40Ms", "2V", 100, 110, 20 * 0.03125 * 0.3536},
        {"8 bit 40Ms", "50mV", 0, 255, 510 * 0.00078125 * 0.3536},
        {"8 bit 40Ms", "10mV", 10, 20, 20 * 0.00015625 * 0.3536},
        {"8 bit 40Ms", "1V", 90, 90, 1.0},   // nothing to measure: the reference is 0 dBV
        {"8 bit 40Ms", "3V", 0, 255, 0.25},  // no such range: left as it was
        {"12 bit 480Ks", "1V", 0, 4000, 4000 * 0.015625 * 0.3536},
    };
    choose(m().selmonmode, "Scope CH1");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.adc) + " " + row.range);
        m().adcselect->text = row.adc;
        m().ch1vdiv->text = row.range;
        mon().sigrms = 0.25;
        const bool twelveBit = row.adc == std::string("12 bit 480Ks");
        record(
            4096, [&](int n) { return n % 2 == 0 ? row.low : row.high; }, twelveBit);
        click("cmdfft_Click");
        const double scale = twelveBit ? mon().ch1scale : 1.0;
        EXPECT_NEAR(mon().sigrms, row.sigrms * scale, 1e-9);
        EXPECT_EQ(mon().sigpp, (twelveBit ? 1 : 2) * (row.high - row.low));
    }
}

TEST_F(SpectrumView, ATimeBaseWithoutARateSaysSoAndLeavesThePlot) {
    choose(m().selmonmode, "Scope CH1");
    choose(m().seltimediv, "200ms/div");
    const std::string top = m().ldiv8->text;
    const std::size_t from = mark();
    click("cmdfft_Click");
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "Invalid time base for FFT!,  Valid Range is from 100ns to 100ms"});
    EXPECT_TRUE(drawn(from).empty());
    EXPECT_EQ(m().ldiv8->text, top);
    EXPECT_EQ(mon().monstate, RunState::Stopped);
}

}  // namespace
}  // namespace tunx::test
