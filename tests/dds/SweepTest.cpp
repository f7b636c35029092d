#include "dds/Sweep.h"

#include "dds/DdsTest.h"

namespace tunx::test {
namespace {

constexpr const char* kStepsRange = "Steps Count Out of range!,Valid range is 2 to 1000";
constexpr const char* kStartRange = "Sart Frequency Out Of Range! Valid range is 10Hz to 200Mhz";
constexpr Frame kList{18, 0, 10, 0, 0, 0};
constexpr Frame kSlowMultipliers{23, 0, 50, 0, 10, 0};  // 10 us at 200 ns steps
constexpr Frame kControl1{1, 130, 0, 2, 64, 0};
constexpr Frame kSlowControl2{2, 0, 2, 0, 0, 0};
constexpr Frame kModControl1{1, 2, 0, 2, 64, 0};
constexpr Frame kInternalFm{20, 4, 1, 0, 0, 0};
const Frames kInternalFmList{kModControl1,     kInternalFm, kList,
                             kSlowMultipliers, kControl1,   kSlowControl2};

Word bytesOf(std::int64_t w) {
    return {int(w >> 24 & 255), int(w >> 16 & 255), int(w >> 8 & 255), int(w & 255)};
}

class Sweep : public DdsTest {
  protected:
    // 1 kHz to `stop` kHz in 10 steps of 10 us, then `field` set to `value`.
    Frames sweep(Procedure procedure, Ctl C::*field = &C::stepcnt, const std::string& value = "10",
                 const std::string& stop = "2") {
        set({{&C::startf, "1"}, {&C::stopf, stop}, {&C::stepcnt, "10"}, {&C::steptime, "10"}});
        set({{field, value}});
        return run(procedure);
    }
};

TEST_F(Sweep, ListRunsFromStopDownAtTheSlowClock) {
    EXPECT_EQ(sweep(SetSweepGen), (Frames{kList, kSlowMultipliers, kControl1, kSlowControl2}));
    std::vector<Word> words;  // 2000, 1900, ..., 1100 Hz: round(f x 4,294,722,500 / 2e7)
    for (int w : {429472, 407999, 386525, 365051, 343578, 322104, 300631, 279157, 257683, 236210}) {
        words.push_back(bytesOf(w));
    }
    EXPECT_EQ(rig.words(mark), words);
    EXPECT_EQ(rig.sleptMs(mark), 4 * 20 + 1);  // the RAM gets 1 ms before the words
    EXPECT_EQ(rig.w().lmainclk->text, "20MHz");
}

// Field and value, stop (kHz), then the message (none: accepted) or the multipliers, byte 3 of
// control register 2 and the first word. A refused entry causes no RAM traffic.
TEST_F(Sweep, StopChoosesTheClockAndStepTimeLimitOrTheFieldIsRefused) {
    const char* slow = "Step time Out of range!,Valid range is 1 to 10000";
    using Row = std::tuple<Ctl C::*, std::string, std::string, std::string, Frame, int, int>;
    const Row rows[] = {
        {&C::steptime, "10000", "20", "", {23, 195, 80, 0, 10, 0}, 0, 4294722},
        {&C::steptime, "650", "20.001", "", {23, 253, 232, 0, 10, 0}, 164, 214747},
        {&C::steptime,
         "651",
         "20.001",
         "Step time Out of range!,Valid range is 1 to 650",
         {},
         0,
         0},
        {&C::steptime, "10001", "20", slow, {}, 0, 0},
        {&C::steptime, "", "2", "Enter Step time", {}, 0, 0},
        {&C::stepcnt, "1", "2", kStepsRange, {}, 0, 0},
        {&C::stepcnt, "1001", "2", kStepsRange, {}, 0, 0},
        {&C::stepcnt, "", "2", "Enter Steps Count", {}, 0, 0},
        {&C::startf, "0.009", "2", kStartRange, {}, 0, 0},
    };
    for (const auto& [field, value, stop, message, multipliers, control2, first] : rows) {
        const Frames frames = sweep(SetSweepGen, field, value, stop);
        if (!message.empty()) {
            EXPECT_EQ(std::tuple(frames.size(), rig.words(mark).size(), rig.messages(),
                                 rig.s().gen.sgerror),
                      std::tuple(0UL, 0UL, Texts{message, "Error Seting SweepGen!"}, true))
                << (rig.w().*field)->name << value;
            continue;
        }
        ASSERT_EQ(frames.size(), 4U) << (rig.w().*field)->name << value;
        EXPECT_EQ(
            std::tuple(frames[1], frames[3], rig.words(mark).at(0), rig.messages(),
                       rig.s().gen.sgerror),
            std::tuple(multipliers, Frame{2, 0, 2, control2, 0, 0}, bytesOf(first), Texts{}, false))
            << (rig.w().*field)->name << value;
    }
}

// Modulation, field and value, frames, messages ("[title] text" when not the default title):
// a failed modulation shows what the failed step shows, and always sets sgerror. A byte beyond
// 0-255 reaches the link, which refuses the frame in its own box on each attempt.
TEST_F(Sweep, ModulationCommandsOrFailureWithTheErrorFlag) {
    const std::string am = "External AM", fm = "External FM", internal = "Internal FM1000Hz";
    const std::string frameError = "[Error] CommSendString Error  'Overflow'.\r\n";
    const Texts refusedByte = {frameError, frameError, frameError,
                               "Set_Modulation_Cmd20_Comm timed out", "Error Sending Data."};
    Texts refusedFmByte = refusedByte;
    refusedFmByte[3] = "Set_Modulation_CMD20_Comm timed out";
    using Row = std::tuple<std::string, Ctl C::*, std::string, Frames, Texts>;
    const Row rows[] = {
        {am, &C::amfactor, "0.5", {kModControl1, {20, 1, 8, 2, 0, 0}}, {}},
        {am, &C::amfactor, "0.3", {kModControl1, {20, 1, 13, 2, 0, 0}}, {}},
        {fm, &C::fmdrange, "100", {kModControl1, {20, 2, 100, 2, 0, 0}}, {}},
        {internal, &C::stepcnt, "10", kInternalFmList, {}},
        {am, &C::amfactor, "0", {kModControl1}, {"Input V. for 100% AM is too close to 0"}},
        {am, &C::amfactor, "1e-6", {kModControl1}, {"Input V. for 100% AM is too close to 0"}},
        {am, &C::amfactor, "abc", {kModControl1}, {"Input V. for 100% AM must be a number"}},
        {am, &C::amfactor, "0.01", {kModControl1}, refusedByte},  // gain 400
        {am, &C::amfactor, "-1", {kModControl1}, refusedByte},    // gain -4
        {fm, &C::fmdrange, "256", {kModControl1}, refusedFmByte},
        {fm, &C::fmdrange, "", {kModControl1}, {"FM Range @4VPP must be a number"}},
        {fm, &C::fmdrange, "70000", {kModControl1}, {"FM Range @4VPP is out of range"}},
        {internal, &C::stepcnt, "1", {kModControl1, kInternalFm}, {kStepsRange}},
        {internal,
         &C::stepcnt,
         "x",
         {kModControl1, kInternalFm},
         {"[Run-time error] Type mismatch"}},
    };
    for (const auto& [type, field, value, frames, messages] : rows) {
        rig.w().modtype->text = type;
        const Frames sent = sweep(SetModulation, field, value);
        Texts shown;
        for (const auto& m : rig.ui.messages) {
            shown.push_back(m.title ? "[" + *m.title + "] " + m.text : m.text);
        }
        EXPECT_EQ(std::tuple(sent, shown, rig.s().gen.sgerror),
                  std::tuple(frames, messages, !messages.empty()))
            << type << value;
    }
}

TEST_F(Sweep, InternalFmWritesTheListWithoutPauseOrReadingItsAcknowledgement) {
    rig.w().modtype->text = "Internal FM1000Hz";
    sweep(SetModulation);
    EXPECT_EQ(rig.words(mark).size(), 10U);
    EXPECT_TRUE(transcriptHas({"write 0 3 154 178", "timeouts 1000 1000"}));
    EXPECT_EQ(rig.sleptMs(mark), 6 * 20 + 100);  // 100 ms after the multipliers only
}

}  // namespace
}  // namespace tunx::test
