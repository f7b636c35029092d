#include <gtest/gtest.h>

#include "common/RuntimeError.h"
#include "link/Relay.h"
#include "support/Rig.h"

namespace tunx {
namespace {

using test::Frame;
using test::Rig;
using Frames = std::vector<Frame>;

TEST(Sgrelayon, LevelDacPairThenTheAttenuatorLine) {
    struct Row {
        std::int16_t sgaten;
        bool sgatten;
        Frames frames;
        std::int32_t dac3, dac7;
    };
    const Row rows[] = {
        {0, false, {{31, 0, 0, 3, 0, 0}, {31, 3, 255, 7, 0, 0}, {32, 3, 15, 0, 0, 0}}, 0, 1023},
        {2046, true, {{31, 4, 0, 3, 0, 0}, {31, 0, 0, 7, 0, 0}, {32, 3, 15, 1, 0, 0}}, 1024, 0},
        {2040, false, {{31, 3, 252, 3, 0, 0}, {31, 0, 3, 7, 0, 0}, {32, 3, 15, 0, 0, 0}}, 1020, 3},
        // Halves go to the even neighbour: 2 / 2 = 1, (2044 + 1) / 2 = 1022.5 -> 1022.
        {1, false, {{31, 0, 1, 3, 0, 0}, {31, 3, 254, 7, 0, 0}, {32, 3, 15, 0, 0, 0}}, 1, 1022},
        {2, true, {{31, 0, 2, 3, 0, 0}, {31, 3, 254, 7, 0, 0}, {32, 3, 15, 1, 0, 0}}, 2, 1022},
    };
    for (const Row& r : rows) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.s().gen.sgaten = r.sgaten;
        rig.s().gen.sgatten = r.sgatten;
        const auto mark = rig.mark();
        sgrelayon(rig.link());
        EXPECT_EQ(rig.frames(mark), r.frames) << r.sgaten;
        EXPECT_EQ(rig.s().gen.levelDac3, r.dac3);
        EXPECT_EQ(rig.s().gen.levelDac7, r.dac7);
        EXPECT_EQ(rig.s().gen.sgaten, r.sgaten);
        EXPECT_TRUE(rig.messages().empty());
    }
}

TEST(Sgrelayoff, LevelPairFor2040ThenTheOutputClose) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.s().gen.sgaten = 17;
    const auto mark = rig.mark();
    sgrelayoff(rig.link());
    EXPECT_EQ(rig.frames(mark),
              (Frames{{31, 3, 252, 3, 0, 0}, {31, 0, 3, 7, 0, 0}, {30, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(rig.s().gen.sgaten, 2040);
    EXPECT_TRUE(rig.sim.model().outputClosed);
    EXPECT_EQ(rig.sim.model().dacs.at(3), 1020);
    EXPECT_EQ(rig.sim.model().dacs.at(7), 3);
}

TEST(RelayFailure, AFailedCommandEndsTheSequence) {
    struct Row {
        bool on;
        int after;  // frames that pass before the refusals
        std::size_t written;
    };
    for (const Row r : {Row{true, 0, 3}, Row{true, 1, 4}, Row{true, 2, 5}, Row{false, 0, 3},
                        Row{false, 1, 4}, Row{false, 2, 5}}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.ui.messages.clear();
        rig.sim.nakNext(3, r.after);
        const auto mark = rig.mark();
        r.on ? sgrelayon(rig.link()) : sgrelayoff(rig.link());
        // The passed frames plus three refused attempts; nothing after the failed command.
        EXPECT_EQ(rig.frames(mark).size(), r.written) << r.on << " " << r.after;
        EXPECT_EQ(rig.messages(),
                  (std::vector<std::string>{"_Relay_ON_CommError", "Error Sending Data."}));
        EXPECT_FALSE(rig.s().gen.sgerror);
    }
}

TEST(RelayFailure, NakOnTheFirstDacCommandSendsNothingElse) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    rig.sim.nakNext(3);
    const auto mark = rig.mark();
    sgrelayon(rig.link());
    const Frames frames = rig.frames(mark);
    ASSERT_EQ(frames.size(), 3U);
    for (const Frame& f : frames) {
        EXPECT_EQ(f, (Frame{31, 0, 0, 3, 0, 0}));
    }
}

TEST(RelayArithmetic, SixteenBitOverflowIsARunTimeError) {
    for (const std::int16_t sgaten : {std::int16_t{-30722}, std::int16_t{32767}}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.s().gen.sgaten = sgaten;
        const auto mark = rig.mark();
        EXPECT_THROW(sgrelayon(rig.link()), RuntimeError) << sgaten;
        EXPECT_TRUE(rig.frames(mark).empty());
    }
}

TEST(RelayCommands, SwitchAndDacBytes) {
    EXPECT_EQ(switchCommand(line::kBiasReadback, true).b3, 1);
    const Command s = switchCommand(line::kAttenuator20dB, false);
    EXPECT_EQ((Frame{s.code, s.b1, s.b2, s.b3, s.b4, s.b5}), (Frame{32, 3, 15, 0, 0, 0}));
    const Command d = dacCommand(dac::kLevelB, 1023);
    EXPECT_EQ((Frame{d.code, d.b1, d.b2, d.b3, d.b4, d.b5}), (Frame{31, 3, 255, 7, 0, 0}));
    const Command big = dacCommand(dac::kCh1Position, 65535);
    EXPECT_EQ((Frame{big.code, big.b1, big.b2, big.b3, big.b4, big.b5}),
              (Frame{31, 255, 255, 8, 0, 0}));
}

}  // namespace
}  // namespace tunx
