// The math trace and the XY view judged on the virtual bench: the same sine on both inputs,
// or CH2 behind a low pass that shifts it by 45 degrees.
#include <cmath>

#include "monitor/Export.h"
#include "monitor/MonitorRig.h"
#include "monitor/scope/Capture.h"
#include "monitor/scope/MathTrace.h"
#include "monitor/scope/Measurements.h"

namespace tunx::test {
namespace {

constexpr const char* kMathCyan = "16776960";  // the math trace

class MathXy : public MonitorRig {
  protected:
    // Both inputs on the generator's 1 kHz sine of `vpp`, "Scope CH1+CH2" at 1 V/div running.
    void bothChannels(const std::string& vpp) {
        generatorSine("1", "kHz", vpp);
        runScope("Scope CH1+CH2", 2);
    }
    Measurement measuredMath(MathOp op) {
        const ScopeCapture& c = *mon().capture;
        return measure(shownMath(c, op), c.interval);
    }
    Measurement measuredChannel(Channel ch) {
        const ScopeCapture& c = *mon().capture;
        return measure(shownVolts(c, ch), c.interval);
    }
};

// CH1−CH2 of one sine on both inputs is flat at 0 V, CH1+CH2 is twice as tall, and the
// product's mean is the square of the rms; each is drawn at the math V/div about the centre,
// measured in its unit, and exported in a column of its own.
TEST_F(MathXy, SumDifferenceAndProductOfOneSineOnBothInputs) {
    struct Row {
        const char *mode, *perDiv;
        const char *textStart, *column;
        double drawnPp;  // rows of the drawn math trace, about the centre row 256
    };
    const Row rows[] = {
        {"CH1\u2212CH2", "0.5V", "CH1\u2212CH2  ", ",CH1-CH2_V", 0},
        {"CH1+CH2", "1V", "CH1+CH2  ", ",CH1+CH2_V", 4 * 64},
        {"CH1\u00d7CH2", "0.5V\u00b2", "CH1\u00d7CH2  ", ",CH1xCH2_V2", 2 * 64},
    };
    bothChannels("2");
    EXPECT_TRUE(m().mathmode->enabled);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        choose(m().mathmode, row.mode);
        choose(m().mathvdiv, row.perDiv);
        tick();
        const std::size_t from = mark();
        tick();
        const Measurement ch1 = measuredChannel(Channel::CH1);
        const MathOp op = mathOpOf(row.mode);
        const Measurement math = measuredMath(op);
        ASSERT_NEAR(ch1.pp, 2, 0.15);
        switch (op) {
            case MathOp::Difference:
                EXPECT_LT(math.pp, 0.1);
                EXPECT_NEAR(math.mean, 0, 0.05);
                break;
            case MathOp::Sum:
                EXPECT_NEAR(math.pp, 2 * ch1.pp, 0.1);
                break;
            default:
                EXPECT_NEAR(math.mean, ch1.rms * ch1.rms, 0.03);
                EXPECT_NE(m().measmath->text.find("V\u00b2rms"), std::string::npos);
        }
        EXPECT_TRUE(m().measmath->visible);
        EXPECT_TRUE(m().measmath->text.starts_with(row.textStart)) << m().measmath->text;
        const Trace drawnMath = shape(from, kMathCyan);
        EXPECT_NEAR(drawnMath.pp, row.drawnPp, 8);
        if (op != MathOp::Product) {
            EXPECT_NEAR(drawnMath.mid, 256, 4);  // 0 V at the centre
        }
        const Csv csv = csvOf(mon(), ExportKind::Scope, op);
        EXPECT_TRUE(csv.text.starts_with(std::string("time_s,CH1_V,CH2_V") + row.column + "\n"))
            << csv.text.substr(0, 40);
        // The live traces are still drawn under the math.
        EXPECT_NEAR(shape(from, kRed).pp, 2 * 64, 6);
    }
    choose(m().mathmode, "Off");
    tick();
    const std::size_t from = mark();
    tick();
    EXPECT_TRUE(trace(from, kMathCyan).empty());
    EXPECT_FALSE(m().measmath->visible);
    // A single-channel scope offers no math.
    choose(m().selmonmode, "Scope CH1");
    EXPECT_FALSE(m().mathmode->enabled);
    EXPECT_FALSE(m().xyview->enabled);
}

// The XY view reads CH1 across and CH2 up: one sine on both inputs draws a diagonal line, a
// 45-degree shift an ellipse whose height at CH1's 0 V is sin 45° of its full height.
TEST_F(MathXy, XyViewDrawsCh2AgainstCh1) {
    struct Row {
        const char* bench;
        double heightAtZero;  // of the figure's half height, where CH1 crosses 0 V
        double offLine;       // farthest point from the diagonal, in units
    };
    const Row rows[] = {
        {"dut none", 0.0, 6},
        {"dut lowpass 1000", std::sin(M_PI / 4), 1000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bench);
        instruct(row.bench);
        instruct(std::string("wire CH2 ") +
                 (std::string(row.bench) == "dut none" ? "generator" : "dut"));
        bothChannels("4");
        rig.program.dispatch([&] { m().check(*m().xyview, 1); });
        tick();
        const std::size_t from = mark();
        tick();
        // 0 V of CH1 at the centre column 320, CH2's at its position 128 from the bottom.
        double widest = 0, farthest = 0, tallest = 0, atZero = 0;
        const auto points = trace(from, kRed);
        ASSERT_GT(points.size(), 100u);
        double lastAcross = 0, lastUp = 0;
        for (const auto& [x, y] : points) {
            const double across = x - 320.0, up = (512 - y) - 128.0;
            widest = std::max(widest, std::abs(across));
            tallest = std::max(tallest, std::abs(up));
            farthest = std::max(farthest, std::abs(up - across));
            if (&x != &points.front().first && (lastAcross < 0) != (across < 0)) {
                // Where the figure crosses CH1's 0 V, between two points.
                const double t = lastAcross / (lastAcross - across);
                atZero = std::max(atZero, std::abs(lastUp + t * (up - lastUp)));
            }
            lastAcross = across;
            lastUp = up;
        }
        EXPECT_NEAR(widest, 2 * 64, 8);  // 4 Vpp at 1 V/div: two divisions either way
        EXPECT_TRUE(trace(from, kYellow).empty());
        if (row.heightAtZero == 0) {
            EXPECT_LT(farthest, row.offLine);
            EXPECT_NEAR(tallest, widest, 8);
        } else {
            EXPECT_NEAR(atZero / tallest, row.heightAtZero, 0.08);
            EXPECT_NEAR(tallest, widest / std::sqrt(2.0), 8);  // the low pass's 3 dB
        }
        rig.program.dispatch([&] { m().check(*m().xyview, 0); });
        click("cmdstop_Click");
    }
}

TEST(MathLists, VoltsPerDivisionOfEitherUnit) {
    EXPECT_EQ(mathPerDivision("0.5V"), 0.5);
    EXPECT_EQ(mathPerDivision("50mV"), 0.05);
    EXPECT_EQ(mathPerDivision("0.02V\u00b2"), 0.02);
    EXPECT_EQ(mathPerDivision("V"), std::nullopt);
    EXPECT_EQ(mathPerDivision("-1V"), std::nullopt);
    EXPECT_EQ(mathPerDivision("1A"), std::nullopt);
    EXPECT_EQ(mathRangeTexts(MathOp::Sum).size(), mathRangeTexts(MathOp::Product).size());
}

}  // namespace
}  // namespace tunx::test
