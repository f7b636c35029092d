// Every mode run from a fresh start by a script, and what the instrument then produces.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Runner.h"
#include "cli/Script.h"

namespace tunx::test {
namespace {

struct ModeRun {
    const char* mode;
    const char* extraLines;  // entries the mode needs beyond the defaults
    const char* waveform;    // the instrument's own words
    const char* frequency;   // prefix of its frequency line
};

std::vector<std::string> runLines(const std::string& script) {
    std::istringstream in(script);
    const auto parsed = cli::parseScript(in);
    cli::Options options;
    options.simulate = true;
    options.fast = true;
    options.installDir = TUNX_SHARE_DIR;
    std::ostringstream out;
    EXPECT_EQ(cli::runScript(parsed, options, out), cli::kRanToEnd) << out.str();
    std::vector<std::string> lines;
    std::istringstream read(out.str());
    for (std::string l; std::getline(read, l);) {
        lines.push_back(l);
    }
    return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const auto& l : lines) {
        if (l.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string simLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        if (l.rfind("sim ", 0) == 0 || l.rfind("message ", 0) == 0) {
            out += l + "\n";
        }
    }
    return out;
}

class EveryMode : public ::testing::TestWithParam<ModeRun> {};

TEST_P(EveryMode, RunsFromAFreshStartAndTheInstrumentProducesIt) {
    const ModeRun& r = GetParam();
    const std::string script = std::string("choose ModeSelect ") + r.mode + "\nset Vpp 1\n" +
                               r.extraLines + "click RUN\nexpect StatusBar Running " + r.mode +
                               "\nsim show\n";
    const auto lines = runLines(script);
    EXPECT_FALSE(contains(lines, "message ")) << "no message box expected";
    EXPECT_TRUE(contains(lines, "sim output on")) << script;
    EXPECT_TRUE(contains(lines, std::string("sim waveform ") + r.waveform)) << script;
    EXPECT_TRUE(contains(lines, std::string("sim frequency ") + r.frequency)) << simLines(lines);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, EveryMode,
    ::testing::Values(
        ModeRun{"Single Tone Sine", "", "sine", "999.9"},
        ModeRun{"Sine Modulated", "choose modtype External AM\n", "sine, external AM", "999.9"},
        ModeRun{"Pulse Generator",
                "set Pulse 100\nset PulseUnit ns\nset Pause 300\nset PauseUnit ns\n", "pulse",
                "2499750.0"},
        ModeRun{"Ramp", "", "ramp", "1000.1"}, ModeRun{"Triangle", "", "triangle", "1000.1"},
        ModeRun{"Arbitrary", "", "arbitrary", "142857.1"},
        ModeRun{"Sweep Sine Generator", "set steptime 100\n", "sine sweep",
                "19998.9 Hz to 10009.4 Hz"},
        ModeRun{"Square-Wave", "set Frek 10\nset frequnit MHz\n", "square", "10000000.0"},
        ModeRun{"Square-Wave2", "set Frek 1\nset frequnit MHz\n", "square (comparator)",
                "1000001.1"},
        ModeRun{"Single Tone Sine2", "", "sine", "0.000"}),
    [](const ::testing::TestParamInfo<ModeRun>& info) {
        std::string name;
        for (const char* c = info.param.mode; *c != '\0'; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c)) != 0) {
                name += *c;
            }
        }
        return name;
    });

TEST(SimShow, TellsTheOutputOffAfterStop) {
    const auto lines = runLines("set Vpp 1\nclick RUN\nclick STOP\nsim show\n");
    EXPECT_TRUE(contains(lines, "sim output off"));
}

TEST(SimShow, CountsTriggersOfASingleShotPulse) {
    const auto lines = runLines(
        "choose ModeSelect Pulse Generator\nset Vpp 1\nchoose outmode Single\nclick RUN\n"
        "click RUN\nexpect RUN TRIGGER\nsim show\n");
    EXPECT_TRUE(contains(lines, "sim triggers 3"));
}

}  // namespace
}  // namespace tunx::test
