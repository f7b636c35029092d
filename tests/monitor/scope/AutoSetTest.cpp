// "Auto Set" judged on the virtual bench: a known signal in, the settings a bench user would
// have picked out, and nothing changed where there is nothing to see.
#include "monitor/MonitorRig.h"
#include "monitor/scope/AutoSet.h"

namespace tunx::test {
namespace {

// The scope's settings as the panel shows them.
std::string panel(Form1& w, const MonitorState& m) {
    return w.adcselect->text + "|" + w.scopemode->text + "|" + w.seltimediv->text + "|" +
           w.ch1vdiv->text + "|" + w.ch2vdiv->text + "|" + w.trigmode->text + "|" +
           w.trigsource->text + "|" + w.trigeredge->text + "|" + std::to_string(m.ch1pos) + "|" +
           std::to_string(m.ch2pos) + "|" + std::to_string(m.triglevel) + "|" + w.tdivtext->text +
           "|" + w.ch1vdivtext->text + "|" + w.ch2vdivtext->text;
}

TEST(AutoSet, PicksRangeTimeBaseAndTriggerForWhatTheInputsCarry) {
    struct Row {
        const char *name, *mode, *sine, *vppUnit, *bench;  // the generator's sine "F unit Vpp"
        const char *ch1, *ch2, *timeBases, *sampling, *source;
        int ch1pos, ch2pos;  // -1: left where it was
    };
    const Row rows[] = {
        {"300 mVpp 25 kHz", "Scope CH1", "25 kHz 300", "mVpp", "", "50mV", "1V",
         "10us/div 20us/div", "Real time", "CH1", 256, -1},
        {"external 2 Vpp 1 kHz on CH2", "Scope CH2", "1 kHz 1", "Vpp", "signal CH2 sine 1000 2",
         "1V", "0.5V", "200us/div 500us/div", "Real time", "CH2", -1, 256},
        // The zero line moves down so that the signal's middle sits on the centre line.
        {"1 Vpp 0.5 V above zero", "Scope CH1", "1 kHz 1", "Vpp", "signal CH1 sine 1000 1 0.5",
         "0.2V", "1V", "200us/div 500us/div", "Real time", "CH1", 96, -1},
        // The stronger channel sets the time base and carries the trigger.
        {"4 Vpp 100 kHz and 50 mVpp 10 kHz", "Scope CH1+CH2", "100 kHz 4", "Vpp",
         "signal CH2 sine 10000 0.05", "1V", "20mV", "2us/div 5us/div", "Real time", "CH1", 256,
         256},
        {"20 MHz, beyond real time", "Scope CH1", "20 MHz 2", "Vpp", "", "0.5V", "1V",
         "10ns/div 20ns/div", "Undersampling", "CH1", 256, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        ASSERT_TRUE(rig.start());
        Form1& w = rig.program.monitor();
        std::istringstream sine(row.sine);
        std::string frek, unit, vpp;
        sine >> frek >> unit >> vpp;
        generatorSine(rig, frek, unit, vpp, row.vppUnit);
        if (*row.bench != 0) {
            instruct(rig, row.bench);
        }
        chooseAll(rig, std::string("selmonmode=") + row.mode);
        const std::size_t said = rig.messages().size();
        rig.program.dispatch(w, "cmdautoset_Click");
        EXPECT_EQ(rig.messages().size(), said) << rig.messages().back();
        EXPECT_EQ(w.ch1vdiv->text, row.ch1);
        EXPECT_EQ(w.ch2vdiv->text, row.ch2);
        EXPECT_NE(std::string(row.timeBases).find(w.seltimediv->text), std::string::npos)
            << w.seltimediv->text;
        EXPECT_EQ(w.scopemode->text, row.sampling);
        EXPECT_EQ(w.trigmode->text, "Auto");
        EXPECT_EQ(w.trigsource->text, row.source);
        const MonitorState& m = rig.s().mon;
        if (row.ch1pos >= 0) {
            EXPECT_NEAR(m.ch1pos, row.ch1pos, 4);
        }
        if (row.ch2pos >= 0) {
            EXPECT_NEAR(m.ch2pos, row.ch2pos, 4);
        }
        EXPECT_NEAR(m.triglevel, 256, 4);  // the strongest signal's middle
        EXPECT_EQ(w.textstatus->text, "Running");
        // The scope runs on with them: the strongest trace is 4 to 7 divisions tall and shows
        // 2 to 5 periods.
        rig.wiring.recordingCanvas().setLines(true);
        rig.program.tick();
        const std::size_t from = rig.mark();
        rig.program.tick();
        const bool two = std::string(row.source) == "CH2";
        const std::vector<std::pair<int, int>> points = trace(rig, from, two ? kYellow : kRed);
        ASSERT_FALSE(points.empty());
        std::vector<double> rows;
        for (const auto& p : points) {
            rows.push_back(p.second);
        }
        ASSERT_GT(rows.size(), 1u);
        const Trace t(rows);
        EXPECT_GE(t.pp, 4 * 64 - 8);
        EXPECT_LE(t.pp, 7 * 64 + 8);
        int rising = 0;  // crossings of the middle upwards (rows grow downwards)
        for (std::size_t i = 1; i < rows.size(); ++i) {
            rising += rows[i - 1] > t.mid && rows[i] <= t.mid ? 1 : 0;
        }
        EXPECT_GE(rising, 1);
        EXPECT_LE(rising, 6);
    }
}

TEST(AutoSet, WithoutASignalSaysSoAndChangesNothing) {
    struct Row {
        const char *name, *mode, *bench;
        bool running;
        const char* message;
    };
    const Row rows[] = {
        {"input open, stopped", "Scope CH1", "wire CH1 off", false, "no repeating signal"},
        {"both open, running", "Scope CH1+CH2", "wire CH1 off|wire CH2 off", true,
         "no repeating signal"},
        {"DC only", "Scope CH2", "signal CH2 square 0.01 1 0.5", false, "no repeating signal"},
        {"a sweep mode", "Frequency Sweep", "", false, "works in the scope modes"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        ASSERT_TRUE(rig.start());
        Form1& w = rig.program.monitor();
        generatorSine(rig, "1", "kHz", "1");
        chooseAll(rig, std::string("selmonmode=") + row.mode +
                           "|seltimediv=5ms/div|ch1vdiv=0.2V|trigmode=Normal|trigeredge=Negative");
        std::istringstream bench(row.bench);
        for (std::string line; std::getline(bench, line, '|');) {
            instruct(rig, line);
        }
        if (row.running) {
            rig.program.dispatch(w, "cmdstartsweep_Click");
            for (int i = 0; i < 3; ++i) {
                rig.program.tick();
            }
        }
        const std::string before = panel(w, rig.s().mon);
        const std::string status = w.textstatus->text;
        const std::size_t said = rig.messages().size();
        rig.program.dispatch(w, "cmdautoset_Click");
        ASSERT_EQ(rig.messages().size(), said + 1);
        EXPECT_NE(rig.messages().back().find(row.message), std::string::npos)
            << rig.messages().back();
        EXPECT_EQ(panel(w, rig.s().mon), before);
        EXPECT_EQ(w.textstatus->text, status);
        EXPECT_EQ(rig.s().mon.monstate == RunState::StartScope, row.running);
    }
}

TEST(AutoSetChoices, TimeBaseShowsTwoToFivePeriodsSampledWell) {
    struct Row {
        double hz;
        const char* timeBase;  // "": none
        bool undersampling;
    };
    const Row rows[] = {
        {1, "", false},  // only the rolling display would show it
        {10, "50ms/div", false},  {25e3, "20us/div", false}, {3e6, "100ns/div", false},
        {10e6, "50ns/div", true}, {2e9, "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hz);
        const std::optional<AutosetTimeBase> tb = autosetTimeBase(row.hz);
        ASSERT_EQ(tb.has_value(), *row.timeBase != 0);
        if (tb) {
            EXPECT_EQ(tb->timeBase->text, row.timeBase);
            EXPECT_EQ(tb->undersampling, row.undersampling);
        }
    }
}

}  // namespace
}  // namespace tunx::test
