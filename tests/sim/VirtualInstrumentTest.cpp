#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

#include "sim/VirtualInstrument.h"

namespace tunx::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The instrument, opened, with helpers that speak raw bytes.
struct Wire {
    Wire() {
        sim.SI_Open(0, handle);
        sim.SI_SetTimeouts(1000, 1000);
    }
    static Bytes frame(std::array<int, 6> cmd) {
        Bytes f{4};
        int sum = 0;
        for (int b : cmd) {
            f.push_back(static_cast<std::uint8_t>(b));
            sum += b;
        }
        f.push_back(static_cast<std::uint8_t>(sum & 0xFF));
        return f;
    }
    int write(const Bytes& data) {
        std::uint32_t n = 0;
        return sim.SI_Write(handle, data, n);
    }
    // Reads up to `size` bytes: the status and what came.
    std::pair<int, Bytes> read(std::size_t size = 1) {
        Bytes buffer(size, 0);
        std::uint32_t n = 0;
        const int status = sim.SI_Read(handle, buffer, n);
        buffer.resize(n);
        return {status, buffer};
    }
    // Writes a frame and returns the single answer byte (-1 for none).
    int send(std::array<int, 6> cmd) {
        sim.SI_FlushBuffers(handle, 1, 1);
        if (write(frame(cmd)) != 0) {
            return -2;
        }
        const auto [status, bytes] = read();
        return status == 0 && bytes.size() == 1 ? bytes[0] : -1;
    }

    VirtualClock clock;
    VirtualInstrument sim{clock};
    DeviceHandle handle = 0;
};

struct Device : ::testing::Test, Wire {};

TEST_F(Device, AcknowledgesAGoodFrameAndKeepsWhatItProgrammed) {
    EXPECT_EQ(send({32, 3, 15, 1, 0, 0}), 6);
    EXPECT_EQ(sim.model().switches.at({3, 15}), 1);
    EXPECT_EQ(send({31, 3, 255, 7, 0, 0}), 6);
    EXPECT_EQ(sim.model().dacs.at(7), 1023);
    EXPECT_FALSE(sim.model().outputClosed);
    EXPECT_EQ(send({30, 0, 0, 0, 0, 0}), 6);
    EXPECT_TRUE(sim.model().outputClosed);
    EXPECT_EQ(send({5, 0, 0, 41, 241, 0}), 6);
    EXPECT_EQ(sim.model().ftw, 10737U);
    EXPECT_EQ(sim.model().commands.size(), 4U);
}

TEST_F(Device, RefusesABadFrameAndChangesNothing) {
    Bytes badLead = frame({32, 3, 15, 1, 0, 0});
    badLead[0] = 5;
    Bytes badSum = frame({32, 3, 15, 1, 0, 0});
    badSum[7] = static_cast<std::uint8_t>(badSum[7] + 1);
    const Bytes shortFrame = {4, 32, 3, 15, 1, 0, 51};
    Bytes longFrame = frame({32, 3, 15, 1, 0, 0});
    longFrame.push_back(0);
    for (const Bytes& bad : {badLead, badSum, shortFrame, longFrame}) {
        sim.SI_FlushBuffers(handle, 1, 1);
        ASSERT_EQ(write(bad), 0);
        EXPECT_EQ(read(), (std::pair<int, Bytes>{0, {21}}));
    }
    EXPECT_TRUE(sim.model().switches.empty());
    EXPECT_TRUE(sim.model().commands.empty());
    EXPECT_EQ(sim.badFrames(), 4);
}

TEST_F(Device, ReadWithNothingPendingTimesOutAfterTheReadTimeout) {
    sim.SI_SetTimeouts(2500, 2500);
    const auto before = clock.elapsedMs();
    EXPECT_EQ(read().first, 13);
    EXPECT_EQ(clock.elapsedMs() - before, 2500);
}

TEST_F(Device, FlushDiscardsStaleBytes) {
    ASSERT_EQ(write(frame({25, 0, 0, 0, 0, 0})), 0);
    sim.SI_FlushBuffers(handle, 1, 1);
    EXPECT_EQ(read().first, 13);
}

TEST(Faults, StartAfterKFramesAndLastNFrames) {
    struct Row {
        const char* what;
        int n, after;
        std::vector<int> answers;  // for six frames; -1 = no answer, -2 = write failed
    };
    const Row rows[] = {
        {"nak", 2, 0, {21, 21, 6, 6, 6, 6}},         {"nak", 2, 3, {6, 6, 6, 21, 21, 6}},
        {"mute", 1, 1, {6, -1, 6, 6, 6, 6}},         {"mute", 3, 0, {-1, -1, -1, 6, 6, 6}},
        {"write-error", 2, 2, {6, 6, -2, -2, 6, 6}},
    };
    for (const Row& r : rows) {
        Wire w;
        const std::string what = r.what;
        if (what == "nak") {
            w.sim.nakNext(r.n, r.after);
        } else if (what == "mute") {
            w.sim.muteNext(r.n, r.after);
        } else {
            w.sim.failWritesNext(r.n, r.after);
        }
        std::vector<int> answers;
        for (int i = 0; i < 6; ++i) {
            answers.push_back(w.send({25, 0, 0, 0, 0, 0}));
        }
        EXPECT_EQ(answers, r.answers) << r.what << " " << r.n << " after " << r.after;
    }
}

TEST_F(Device, RefusedAndMutedFramesAreNotCarriedOut) {
    sim.nakNext(1);
    EXPECT_EQ(send({32, 3, 15, 1, 0, 0}), 21);
    sim.muteNext(1);
    EXPECT_EQ(send({32, 3, 15, 1, 0, 0}), -1);
    EXPECT_TRUE(sim.model().switches.empty());
}

TEST_F(Device, FailedWriteReportsAWriteError) {
    sim.failWritesNext(1);
    std::uint32_t n = 99;
    const Bytes f = frame({25, 0, 0, 0, 0, 0});
    EXPECT_EQ(sim.SI_Write(handle, f, n), 4);
    EXPECT_EQ(n, 0U);
    EXPECT_EQ(sim.model().triggerCount, 0);
}

TEST_F(Device, BiasReadingAnswersTwoBytesForTheProgrammedOffset) {
    struct Row {
        std::array<int, 6> offset;
        double mv;
    };
    // 0 mV and 1002 mV with the default calibration; nothing programmed reads as 0 mV.
    for (const Row& r : {Row{{13, 2, 128, 2, 128, 0}, 0.0}, Row{{13, 1, 179, 1, 239, 0}, 1002.0},
                         Row{{13, 254, 129, 254, 129, 0}, 5000.0}}) {
        ASSERT_EQ(send(r.offset), 6);
        sim.SI_FlushBuffers(handle, 1, 1);
        ASSERT_EQ(write(frame({27, 255, 255, 85, 85, 85})), 0);
        const auto [status, bytes] = read(2);
        ASSERT_EQ(status, 0);
        ASSERT_EQ(bytes.size(), 2U);
        const int raw = bytes[0] * 256 + bytes[1];
        EXPECT_LT(raw, 4096);
        const double mv = (raw * sim.calibration().adcref / 4096.0 - 900.0) * 2.0;
        EXPECT_NEAR(mv, r.mv, 5.0) << r.offset[1];
    }
}

TEST_F(Device, ClockSynchronisationAnswersTwentyBytesOf133) {
    sim.SI_FlushBuffers(handle, 1, 1);
    ASSERT_EQ(write(frame({41, 0, 0, 0, 0, 0})), 0);
    const auto [status, bytes] = read(20);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(bytes, Bytes(20, 133));
    EXPECT_EQ(read().first, 13);
}

TEST_F(Device, RamWriteTakesExactlyTheAnnouncedWordsThenAcknowledges) {
    constexpr int kWords = 3;
    ASSERT_EQ(send({18, 0, kWords, 0, 10, 0}), 6);
    for (int i = 0; i < kWords; ++i) {
        ASSERT_EQ(write({0x12, 0x34, 0x56, static_cast<std::uint8_t>(i)}), 0);
        if (i < kWords - 1) {
            EXPECT_EQ(read().first, 13) << i;  // no answer before the last word
        }
    }
    EXPECT_EQ(read(), (std::pair<int, Bytes>{0, {6}}));
    EXPECT_EQ(sim.model().ram[10], 0x12345600U);
    EXPECT_EQ(sim.model().ram[12], 0x12345602U);
    EXPECT_EQ(sim.model().ramWritten, kWords);
    // The next write is a command frame again.
    EXPECT_EQ(send({25, 0, 0, 0, 0, 0}), 6);
    EXPECT_EQ(sim.model().triggerCount, 1);
}

TEST_F(Device, RamWordsMayComeInOneBlock) {
    ASSERT_EQ(send({18, 0, 2, 0, 0, 0}), 6);
    ASSERT_EQ(write({1, 2, 3, 4, 5, 6, 7, 8}), 0);
    EXPECT_EQ(read(), (std::pair<int, Bytes>{0, {6}}));
    EXPECT_EQ(sim.model().ram[1], 0x05060708U);
}

TEST_F(Device, RamReadAnswersTheAckThenTheWords) {
    ASSERT_EQ(send({18, 0, 1, 0, 5, 0}), 6);
    ASSERT_EQ(write({9, 8, 7, 6}), 0);
    ASSERT_EQ(read().second, Bytes{6});
    sim.SI_FlushBuffers(handle, 1, 1);
    ASSERT_EQ(write(frame({19, 0, 1, 0, 5, 0})), 0);
    EXPECT_EQ(read(5).second, (Bytes{6, 9, 8, 7, 6}));
}

TEST_F(Device, ClosedDeviceRefusesEverything) {
    sim.SI_Close(handle);
    EXPECT_FALSE(sim.isOpen());
    EXPECT_NE(write(frame({25, 0, 0, 0, 0, 0})), 0);
    EXPECT_NE(read().first, 0);
    EXPECT_NE(read().first, 13);
    EXPECT_NE(sim.SI_FlushBuffers(handle, 1, 1), 0);
    EXPECT_NE(sim.SI_SetBaudRate(handle, 115200), 0);
}

TEST(Enumeration, SerialsCountAndFailures) {
    VirtualClock clock;
    VirtualInstrument sim(clock);
    std::uint32_t n = 0;
    EXPECT_EQ(sim.SI_GetNumDevices(n), 0);
    EXPECT_EQ(n, 1U);
    std::array<char, 257> buffer{};
    buffer.fill('x');
    EXPECT_EQ(sim.SI_GetProductString(0, buffer, 0), 0);
    EXPECT_EQ(std::string(buffer.data()), kDefaultSerial);

    sim.setDevices({"a", std::string(300, 'L')});
    EXPECT_EQ(sim.SI_GetProductString(1, buffer, 0), 0);
    EXPECT_EQ(std::string(buffer.data()).size(), 256U);  // always zero-terminated
    EXPECT_NE(sim.SI_GetProductString(2, buffer, 0), 0);

    sim.failDeviceCount(255);
    EXPECT_EQ(sim.SI_GetNumDevices(n), 255);
    EXPECT_EQ(n, 0U);

    DeviceHandle h = 0;
    sim.failOpen(2);
    EXPECT_EQ(sim.SI_Open(0, h), 2);
    EXPECT_FALSE(sim.isOpen());
    sim.failOpen(0);
    EXPECT_NE(sim.SI_Open(5, h), 0);
    EXPECT_EQ(sim.SI_Open(1, h), 0);
    sim.failBaudRate(4);
    EXPECT_EQ(sim.SI_SetBaudRate(h, 115200), 4);
    sim.failBaudRate(0);
    EXPECT_EQ(sim.SI_SetBaudRate(h, 115200), 0);
}

}  // namespace
}  // namespace tunx::sim
