// Every mode run from a fresh start by a script, and what the instrument then produces.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Runner.h"
#include "cli/Script.h"
#include "generator/OutputMode.h"

namespace tunx::test {
namespace {

// The transcript of a script that must run to its end.
std::string run(const std::string& script) {
    std::istringstream in(script);
    const cli::Options options{.simulate = true, .fast = true, .installDir = TUNX_SHARE_DIR};
    std::ostringstream out;
    EXPECT_EQ(cli::runScript(cli::parseScript(in), options, out), cli::kRanToEnd) << out.str();
    return "\n" + out.str();
}

bool hasLine(const std::string& transcript, const std::string& prefix) {
    return transcript.find("\n" + prefix) != std::string::npos;
}

TEST(EveryMode, RunsFromAFreshStartAndTheInstrumentProducesIt) {
    struct ModeRun {
        const char* mode;
        const char* extraLines;  // entries the mode needs beyond the defaults
        const char* waveform;    // the instrument's own words
        const char* frequency;   // prefix of its frequency line
    };
    for (const ModeRun& r : {
             ModeRun{"Single Tone Sine", "", "sine", "999.9"},
             ModeRun{"Sine Modulated", "choose modtype External AM\n", "sine, external AM",
                     "999.9"},
             ModeRun{"Pulse Generator",
                     "set Pulse 100\nset PulseUnit ns\nset Pause 300\nset PauseUnit ns\n", "pulse",
                     "2499750.0"},
             ModeRun{"Ramp", "", "ramp", "1000.1"},
             ModeRun{"Triangle", "", "triangle", "1000.1"},
             ModeRun{"Arbitrary", "", "arbitrary", "142857.1"},
             ModeRun{"Sweep Sine Generator", "set steptime 100\n", "sine sweep",
                     "10009.4 Hz to 19998.9 Hz"},
             ModeRun{"Square-Wave", "set Frek 10\nset frequnit MHz\n", "square", "10000000.0"},
             ModeRun{"Square-Wave2", "set Frek 1\nset frequnit MHz\n", "square (comparator)",
                     "999999.9"},
             ModeRun{"Single Tone Sine2", "", "sine", "0.000"},
         }) {
        // 1 Vpp where the mode takes an amplitude (Arbitrary greys it out).
        const bool amplitude = outputModeOf(r.mode)->layout.amplitude;
        const std::string t = run(std::string("choose ModeSelect ") + r.mode + "\n" +
                                  (amplitude ? "set Vpp 1\n" : "") + r.extraLines +
                                  "click RUN\nexpect StatusBar Running " + r.mode + "\nsim show\n");
        EXPECT_FALSE(hasLine(t, "message ")) << r.mode << ": no message box expected" << t;
        EXPECT_TRUE(hasLine(t, "sim output on")) << r.mode << t;
        EXPECT_TRUE(hasLine(t, std::string("sim waveform ") + r.waveform)) << r.mode << t;
        EXPECT_TRUE(hasLine(t, std::string("sim frequency ") + r.frequency)) << r.mode << t;
    }
}

TEST(SimShow, CountsTriggersOfASingleShotPulseAndTellsTheOutputOffAfterStop) {
    const std::string t =
        run("choose ModeSelect Pulse Generator\nset Vpp 1\nchoose outmode Single\nclick RUN\n"
            "click RUN\nexpect RUN TRIGGER\nsim show\nclick STOP\nsim show\n");
    EXPECT_TRUE(hasLine(t, "sim triggers 3")) << t;
    EXPECT_TRUE(hasLine(t, "sim output off")) << t;
}

}  // namespace
}  // namespace tunx::test
