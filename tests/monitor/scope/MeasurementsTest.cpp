#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "monitor/scope/Measurements.h"
#include "monitor/spectrum/FftWindows.h"

namespace tunx {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kInterval = 1.0 / 64000;  // 1ms/div

std::vector<double> samples(int n, const std::function<double(double)>& at) {
    std::vector<double> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(at(i * kInterval));
    }
    return out;
}

TEST(Measurements, KnownSignals) {
    std::mt19937 random(3);
    std::normal_distribution<double> gauss(0, 0.1);
    struct Row {
        const char* what;
        std::vector<double> volts;
        double pp, rms, mean;
        double frequency;  // 0: none
    };
    const Row rows[] = {
        {"4 Vpp sine, 1 kHz",
         samples(1280, [](double t) { return 2 * std::sin(2 * kPi * 1e3 * t); }), 4.0,
         4.0 / 2 / std::sqrt(2.0), 0, 1000},
        {"2 Vpp square, 2.5 kHz, 1 V offset",
         samples(1280, [](double t) { return std::sin(2 * kPi * 2.5e3 * t) >= 0 ? 2.0 : 0.0; }),
         2.0, std::sqrt(2.0), 1.0, 2500},
        {"DC", samples(1250, [](double) { return -0.25; }), 0, 0.25, -0.25, 0},
        {"noise has no frequency", samples(1250, [&](double) { return gauss(random); }), 0, 0.1, 0,
         0},
        {"one period is not enough",
         samples(80, [](double t) { return std::sin(2 * kPi * 1e3 * t); }), 2, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const Measurement m = measure(row.volts, kInterval);
        const std::string what = row.what;
        if (what != "noise has no frequency" && what != "one period is not enough") {
            EXPECT_NEAR(m.pp, row.pp, 0.01 * std::max(row.pp, 1.0)) << row.what;
            EXPECT_NEAR(m.mean, row.mean, 0.01) << row.what;
        }
        if (row.rms > 0) {
            EXPECT_NEAR(m.rms, row.rms, 0.01 * row.rms) << row.what;
        }
        if (row.frequency > 0) {
            ASSERT_TRUE(m.frequency.has_value()) << row.what;
            EXPECT_NEAR(*m.frequency, row.frequency, 0.005 * row.frequency) << row.what;
        } else {
            EXPECT_FALSE(m.frequency.has_value()) << row.what;
        }
    }
}

TEST(Measurements, ThreeSignificantDigitsWithPrefixes) {
    const std::pair<double, const char*> rows[] = {
        {4.0, "4.00 V"},    {1.41421, "1.41 V"}, {0.0156, "15.6 mV"}, {-0.00553, "-5.53 mV"},
        {0, "0.00 V"},      {999.96, "1.00 kV"}, {0.9996, "1.00 V"},  {123.456, "123 V"},
        {2.5e-7, "250 nV"}, {1.5e7, "15.0 MV"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(withPrefix(value, "V"), text) << value;
    }
    Measurement m;
    m.pp = 4;
    m.rms = 1.414;
    m.mean = 0.002;
    m.frequency = 1000;
    EXPECT_EQ(measurementText("CH1", m), "CH1  4.00 Vpp  1.41 Vrms  mean 2.00 mV  1.00 kHz");
    m.frequency.reset();
    EXPECT_EQ(measurementText("CH2", m), "CH2  4.00 Vpp  1.41 Vrms  mean 2.00 mV  \u2014");
}

// A sine between bins keeps its level through each window once the coherent gain is taken out.
TEST(SpectrumWindowsTest, CoherentGainIsTakenOut) {
    for (std::string_view window : kFftWindowTexts) {
        std::vector<double> x(1024);
        for (std::size_t n = 0; n < x.size(); ++n) {
            x[n] = std::sin(2 * kPi * 100.0 * n / 1024);
        }
        ASSERT_TRUE(applyWindow(window, x)) << window;
        // The line's amplitude: correlation with the sine at bin 100.
        double re = 0, im = 0;
        for (std::size_t n = 0; n < x.size(); ++n) {
            re += x[n] * std::cos(2 * kPi * 100.0 * n / 1024);
            im += x[n] * std::sin(2 * kPi * 100.0 * n / 1024);
        }
        EXPECT_NEAR(std::hypot(re, im) / 512, 1.0, 1e-6) << window;
    }
    std::vector<double> untouched{1, 2, 3};
    EXPECT_FALSE(applyWindow("Kaiser", untouched));
    EXPECT_EQ(untouched, (std::vector<double>{1, 2, 3}));
}

}  // namespace
}  // namespace tunx
