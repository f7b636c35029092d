#include <gtest/gtest.h>

#include "dds/DdsTest.h"
#include "dds/Pulse.h"

namespace tunx::test {
namespace {

constexpr const char* kPulseError = "Set Pulse Error!";
constexpr const char* kMsgOrder = "Pause must be longer than Pulse! Use Invert Chek box";

// Runs SetPulse with pulse `p` and pause `q` in `unit`; returns the mark before it.
std::size_t pulse(DdsRig& rig, const char* p, const char* q, const char* unit,
                  const char* mode = "Continuous") {
    return rig.call(SetPulse, {{&C::Pulse, p},
                               {&C::Pause, q},
                               {&C::PulseUnit, unit},
                               {&C::PauseUnit, unit},
                               {&C::outmode, mode}});
}

TEST(Pulse, WritesThePatternAndShowsTheTimesPlayed) {
    // Pulse, pause, unit, mode, frames after the clock, words, time slept, pulse and pause shown.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, Words,
                     long long, const char*, const char*>
        rows[] = {// 5 steps per word, the pause three words.
                  {"100", "300", "ns", "Continuous", "18 0 4 0 0 0; 23 0 5 0 5 0; 1 194 0 2 0 0",
                   levels({{1, 0}, {3, 127}}), 7 * 20 + 1400, "100.010", "300.000"},
                  // Single: a pause as long as the pulse, then the start command.
                  {"100", "junk", "ns", "Single",
                   "18 0 2 0 0 0; 23 0 5 0 5 0; 1 194 0 2 0 0; 20 3 1 0 0 0",
                   levels({{1, 127}, {1, 0}}), 8 * 20 + 1400, "100.010", "100.000"},
                  // p = 50, q = 5005 steps: pulse 50 words x 1, pause 209 words x 24.
                  {"1", "100.1", "us", "Continuous",
                   "2 0 2 92 0 0; 18 1 3 0 0 0; 21 0 209 0 1 0; 22 0 50 0 210 0; 23 0 24 0 1 0; "
                   "1 226 0 2 0 0",
                   levels({{50, 127}, {209, 0}}), 10 * 20 + 510, "1.000", "100.100"}};
    for (const auto& [p, q, unit, mode, tail, words, slept, pulseShown, pauseShown] : rows) {
        DdsRig rig;
        const auto m = pulse(rig, p, q, unit, mode);
        // Output path, control register 1, then S = 3636 and M = 11: 49,995,000 Hz.
        EXPECT_EQ(
            rig.sent(m),
            std::string("32 4 6 0 0 0; 1 194 0 2 0 0; 26 14 52 1 0 0; 2 0 2 92 0 0; ") + tail);
        EXPECT_EQ(rig.words(m), words) << p << "/" << q;
        EXPECT_EQ(rig.sleptMs(m), slept) << p << "/" << q;
        EXPECT_EQ(rig.w().Pulse->text, pulseShown);
        EXPECT_EQ(rig.w().Pause->text, pauseShown);
        EXPECT_EQ(rig.w().lmainclk->text, "50,000,000Hz");
        EXPECT_FALSE(rig.s().gen.sgerror);
        EXPECT_TRUE(rig.messages().empty());
    }
}

TEST(Pulse, FailuresShowTheirMessagesAndSetTheErrorFlag) {
    const Texts refused{"Set_Pulse_cmd23_CommError", "Error Sending Data.", kPulseError};
    // Pulse, pause, unit, frames passed before a refusal (-1: none), messages, frames and words
    // written.
    const std::tuple<const char*, const char*, const char*, int, Texts, std::size_t, std::size_t>
        rows[] = {{"200", "100", "ns", -1, {kMsgOrder, kPulseError}, 1, 0},
                  {"6000", "6000", "ms", -1, {"Pulse is out of Range"}, 4, 0},
                  {"1", "6000", "ms", -1, {"Puase is out of Range"}, 4, 0},
                  {"100", "300", "ns", 5, refused, 8, 4},  // code 23 sent three times
                  {"abc", "300", "ns", -1, {kPulseError}, 1, 0},
                  {"nan", "300", "ns", -1, {kPulseError}, 1, 0},
                  {"1e-300", "300", "ns", -1, {kPulseError}, 2, 0}};
    for (const auto& [p, q, unit, passed, messages, frames, words] : rows) {
        DdsRig rig;
        rig.sim.nakNext(passed < 0 ? 0 : 3, passed);
        const auto m = pulse(rig, p, q, unit);
        EXPECT_EQ(rig.messages(), messages) << p << "/" << q;
        EXPECT_TRUE(rig.s().gen.sgerror) << p << "/" << q;
        EXPECT_EQ(rig.frames(m).size(), frames) << p << "/" << q;
        EXPECT_EQ(rig.words(m).size(), words) << p << "/" << q;
    }
}

}  // namespace
}  // namespace tunx::test
