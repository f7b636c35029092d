#include "sim/VirtualInstrument.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/Bench.h"

namespace tunx::sim {
namespace {

using test::Bytes;
using test::frame;
using Read = std::pair<int, Bytes>;

// The instrument, opened, spoken to in raw bytes.
struct Device : ::testing::Test {
    void SetUp() override { ASSERT_EQ(sim.SI_Open(0, handle), 0); }
    int write(const Bytes& data) { return test::writeRaw(sim, handle, data); }
    Read read(std::size_t size = 1) { return test::readRaw(sim, handle, size); }
    // Writes a frame: its one answer byte, or minus the status of the failed write or read.
    int send(const std::array<int, 6>& cmd) {
        const int written = write(frame(cmd));
        const auto [status, bytes] = read();
        return written != 0 ? -written : status != 0 ? -status : bytes.at(0);
    }

    VirtualClock clock;
    VirtualInstrument sim{clock};
    DeviceHandle handle = 0;
};

TEST_F(Device, RefusesABadFrameAndChangesNothing) {
    // A wrong lead byte, a wrong checksum, a byte short, a byte over.
    for (const Bytes& bad : {Bytes{5, 32, 3, 15, 1, 0, 0, 51}, Bytes{4, 32, 3, 15, 1, 0, 0, 52},
                             Bytes{4, 32, 3, 15, 1, 0, 0}, Bytes{4, 32, 3, 15, 1, 0, 0, 51, 0}}) {
        ASSERT_EQ(write(bad), 0);
        EXPECT_EQ(read(), (Read{0, {21}}));
    }
    EXPECT_TRUE(sim.model().commands.empty());
    EXPECT_TRUE(sim.model().switches.empty());
    EXPECT_EQ(send({32, 3, 15, 1, 0, 0}), 6);
    EXPECT_EQ(sim.model().switches.at({3, 15}), 1);
}

TEST_F(Device, FaultsStartAfterKFramesAndOnlyAcknowledgedFramesAreCarriedOut) {
    using VI = VirtualInstrument;
    struct Row {
        void (VI::*fault)(int, int);
        int n, after;
        std::vector<int> answers;  // -13: no answer, -4: the write failed
    };
    for (const Row& r : {Row{&VI::nakNext, 2, 0, {21, 21, 6, 6, 6, 6}},
                         Row{&VI::nakNext, 2, 3, {6, 6, 6, 21, 21, 6}},
                         Row{&VI::muteNext, 1, 1, {6, -13, 6, 6, 6, 6}},
                         Row{&VI::muteNext, 3, 0, {-13, -13, -13, 6, 6, 6}},
                         Row{&VI::failWritesNext, 2, 2, {6, 6, -4, -4, 6, 6}}}) {
        (sim.*r.fault)(r.n, r.after);
        const long before = sim.model().commandCount;
        std::vector<int> answers;
        for (int i = 0; i < 6; ++i) {
            answers.push_back(send({25, 0, 0, 0, 0, 0}));
        }
        EXPECT_EQ(answers, r.answers) << r.n << " after " << r.after;
        EXPECT_EQ(sim.model().commandCount - before,
                  std::count(r.answers.begin(), r.answers.end(), 6));
    }
}

// A long run keeps the last commands only; what plays is still decided by the latest of them:
// a tuning word sent after the history wrapped is newer than the control register before it.
TEST_F(Device, KeepsTheLastCommandsOnlyAndTheirOrder) {
    ASSERT_EQ(send({1, 0, 0, 0, 0, 0}), 6);
    const long cfr1At = sim.model().cfr1At;
    for (std::size_t i = 0; i < kKeptCommands + 10; ++i) {
        ASSERT_EQ(send({32, 3, 15, static_cast<int>(i % 2), 0, 0}), 6);
    }
    ASSERT_EQ(send({6, 0, 0, 0, 0, 0}), 6);
    EXPECT_EQ(sim.model().commandCount, static_cast<long>(kKeptCommands) + 12);
    EXPECT_EQ(sim.model().commands.size(), kKeptCommands);
    EXPECT_EQ(sim.model().commands.back(), (std::array{6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sim.model().commands.front(), (std::array{32, 3, 15, 1, 0, 0}));
    EXPECT_GT(sim.model().tuningAt, cfr1At);
}

// 0 mV and 1002 mV by the instrument's own calibration.
TEST_F(Device, BiasReadingAnswersTwoBytesForTheProgrammedOffset) {
    for (const auto& [offset, mv] :
         {std::pair{std::array{13, 2, 128, 2, 128, 0}, 0.0}, {{13, 1, 179, 1, 239, 0}, 1002.0}}) {
        ASSERT_EQ(send(offset), 6);
        ASSERT_EQ(write(frame({27, 255, 255, 85, 85, 85})), 0);
        const Bytes bytes = read(2).second;
        ASSERT_EQ(bytes.size(), 2U);
        const double adc = (bytes[0] * 256 + bytes[1]) * sim.calibration().adcref / 4096.0;
        EXPECT_NEAR((adc - 900.0) * 2.0, mv, 5.0);
    }
}

// Code 41 answers twenty bytes of 133; then nothing is pending and a read waits out its time-out.
TEST_F(Device, ClockSynchronisationThenAReadWithNothingPending) {
    sim.SI_SetTimeouts(2500, 2500);
    ASSERT_EQ(write(frame({41, 0, 0, 0, 0, 0})), 0);
    EXPECT_EQ(read(20), (Read{0, Bytes(20, 133)}));
    const auto before = clock.elapsedMs();
    EXPECT_EQ(read(), (Read{13, {}}));
    EXPECT_EQ(clock.elapsedMs() - before, 2500);
}

TEST_F(Device, RamWriteTakesExactlyTheAnnouncedWordsThenAcknowledges) {
    ASSERT_EQ(send({18, 0, 3, 0, 10, 0}), 6);
    for (std::uint8_t i = 0; i < 3; ++i) {
        ASSERT_EQ(write({0x12, 0x34, 0x56, i}), 0);
        EXPECT_EQ(read(), (i < 2 ? Read{13, {}} : Read{0, {6}})) << int{i};
    }
    // The block fills from its highest address down; a read gives the words back in order.
    EXPECT_EQ(sim.model().ram[12], 0x12345600U);
    EXPECT_EQ(sim.model().ram[10], 0x12345602U);
    EXPECT_EQ(send({19, 0, 3, 0, 10, 0}), 6);
    EXPECT_EQ(read(12), (Read{0, {0x12, 0x34, 0x56, 0, 0x12, 0x34, 0x56, 1, 0x12, 0x34, 0x56, 2}}));
    EXPECT_EQ(send({25, 0, 0, 0, 0, 0}), 6);  // a command frame again
    EXPECT_EQ(sim.model().triggerCount, 1);
}

}  // namespace
}  // namespace tunx::sim
