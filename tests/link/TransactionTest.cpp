#include <gtest/gtest.h>

#include <sstream>

#include "common/RuntimeError.h"
#include "link/Link.h"
#include "link/Relay.h"
#include "support/Rig.h"
#include "support/UsbPassThrough.h"

namespace tunx {
namespace {

using Frames = std::vector<test::Frame>;
using Lines = std::vector<std::string>;

const Lines kRefused = {"message _Relay_ON_CommError", "message Error Sending Data."};
const Lines kTimedOut = {"message _Relay_ON_Comm timed out", "message Error Sending Data."};

// A transaction's transcript: a round per answer ("6", "21" or "timeout"), then the messages.
Lines transaction(const std::string& sent, const std::string& answers, const Lines& messages) {
    Lines out = {"timeouts 1000 1000"};
    std::istringstream in(answers);
    for (std::string a; in >> a;) {
        out.insert(out.end(), {"flush", sent, "sleep 20", "read 1 -> " + a});
    }
    out.insert(out.end(), messages.begin(), messages.end());
    return out;
}

TEST(Frame, LeadByteCommandBytesAndChecksum) {
    using Bytes = std::array<std::uint8_t, 8>;
    EXPECT_EQ(buildFrame({32, 3, 15, 1, 0, 0}), (Bytes{4, 32, 3, 15, 1, 0, 0, 51}));
    EXPECT_EQ(buildFrame({25, 0, 0, 0, 0, 0}), (Bytes{4, 25, 0, 0, 0, 0, 0, 25}));
    EXPECT_EQ(buildFrame({255, 255, 255, 255, 255, 255}),
              (Bytes{4, 255, 255, 255, 255, 255, 255, 250}));
}

// The checksum is the low byte of the 16-bit sum, two's complement when the sum is negative;
// a sum beyond 16 bits is a run-time error "Overflow".
TEST(Frame, ChecksumOfNegativeSumsAndOverflow) {
    using Cmd = std::array<std::int16_t, 6>;
    const std::pair<Cmd, int> rows[] = {
        {{1, 0, 0, 0, 0, -2}, 255},            // -1
        {{0, 0, 0, 0, 0, -256}, 0},            // 0xFF00
        {{0, 0, 0, 0, 0, -255}, 1},            // 0xFF01
        {{-32768, 0, 0, 0, 0, 0}, 0},          // 0x8000
        {{32767, 0, 0, 0, 0, 0}, 255},         // 0x7FFF
        {{16000, 16000, 767, 0, 0, 0}, 255},   // 32767, the largest sum
        {{-16000, -16000, -768, 0, 0, 0}, 0},  // -32768, the smallest
    };
    for (const auto& [cmd, checksum] : rows) {
        EXPECT_EQ(frameChecksum(cmd), checksum) << cmd[0] << " " << cmd[5];
    }
    for (const Cmd cmd : {Cmd{16000, 16000, 768, 0, 0, 0}, Cmd{-16000, -16000, -769, 0, 0, 0},
                          Cmd{32767, 1, 0, 0, 0, 0}}) {
        EXPECT_THROW(frameChecksum(cmd), RuntimeError) << cmd[0];
    }
}

struct Started : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.ui.messages.clear();
        mark = rig.mark();
    }
    test::Rig rig;
    std::size_t mark = 0;
};

TEST_F(Started, AttemptsConsumedAndTheMessagesOfAFailure) {
    struct Row {
        int naks, mutes, muteAfter;
        std::int16_t given, left;
        std::string answers;
        Lines messages;
    };
    for (const Row& r : {
             Row{0, 0, 0, 3, 2, "6", {}},  // the example transcript
             Row{1, 0, 0, 3, 1, "21 6", {}}, Row{0, 1, 0, 3, 1, "timeout 6", {}},
             Row{1, 0, 0, 5, 3, "21 6", {}}, Row{3, 0, 0, 3, 0, "21 21 21", kRefused},
             Row{0, 3, 0, 3, 0, "timeout timeout timeout", kTimedOut},
             Row{2, 1, 2, 3, 0, "21 21 timeout", kTimedOut},  // the last attempt decides
             Row{1, 0, 0, 1, 0, "21", kRefused},              // one attempt or less writes once
             Row{1, 0, 0, 0, -1, "21", kRefused}, Row{1, 0, 0, -5, -6, "21", kRefused},
             Row{0, 0, 0, -32768, -32768, "", {"message Error Sending Data."}},  // no count-down
         }) {
        rig.sim.nakNext(r.naks);
        rig.sim.muteNext(r.mutes, r.muteAfter);
        const auto m = rig.mark();
        std::int16_t attempts = r.given;
        rig.link().setCommand({31, 3, 252, 3, 0, 0});
        const bool acknowledged = r.answers.ends_with("6");
        EXPECT_EQ(rig.link().sendk2(attempts, 1000, "_Relay_ON_"), acknowledged) << r.answers;
        EXPECT_EQ(attempts, r.left) << r.answers;
        EXPECT_EQ(rig.lines(m), transaction("write 4 31 3 252 3 0 0 33", r.answers, r.messages));
    }
}

// A byte outside 0-255 is not sent: the "Error" box instead of the write, then no answer.
TEST_F(Started, AnUnsendableByteShowsTheErrorBoxAndTimesOut) {
    for (const Command c : {Command{256, 0, 0, 0, 0, 0}, Command{32, 6, 4, -1, 0, 0}}) {
        const auto m = rig.mark();
        EXPECT_FALSE(rig.link().send(c, "_Relay_ON_"));
        EXPECT_EQ(rig.lines(m), transaction("message [Error] CommSendString Error  'Overflow'.\\n",
                                            "timeout timeout timeout", kTimedOut));
    }
    EXPECT_EQ(rig.ui.messages.at(0).text, "CommSendString Error  'Overflow'.\r\n");
}

TEST_F(Started, AFailedWriteEndsTheApplication) {
    rig.sim.failWritesNext(1);
    EXPECT_THROW(rig.link().send({31, 3, 252, 3, 0, 0}, "_Relay_ON_"), ApplicationEnded);
    EXPECT_EQ(rig.lines(mark),
              (Lines{"timeouts 1000 1000", "flush", "write 4 31 3 252 3 0 0 33 -> 4",
                     "message Error finding TUNX3K device. Aborting application.", "end"}));
    EXPECT_TRUE(rig.sim.isOpen());  // left as it is
}

// A transport that reports success for every read but delivers nothing.
struct EmptyReads : test::UsbPassThrough {
    using UsbPassThrough::UsbPassThrough;
    int SI_Read(DeviceHandle, std::span<std::uint8_t>, std::uint32_t& n) override {
        n = 0;
        return usb::kSuccess;
    }
};

TEST_F(Started, ASuccessfulReadWithoutBytesIsNoAcknowledgement) {
    EmptyReads empty(rig.sim);
    Link link(rig.s(), empty, rig.clock, rig.ui);
    EXPECT_FALSE(link.send({25, 0, 0, 0, 0, 0}, "Sending Trigger_", 1000, 1));
    EXPECT_FALSE(link.rxver("RamWrite_"));
    EXPECT_EQ(rig.messages(), (Lines{"Sending Trigger_CommError", "Error Sending Data.",
                                     "RamWrite_CommError", "Error Writing Data Ram."}));
}

TEST_F(Started, RxverReadsTheAcknowledgementOnceAndShowsTheStatus) {
    rig.w().Status->text = "x";
    std::uint32_t n = 0;
    const std::array<std::uint8_t, 8> trigger{4, 25, 0, 0, 0, 0, 0, 25};
    rig.link().usb().SI_Write(rig.s().link.devhandle, trigger, n);
    auto m = rig.mark();
    EXPECT_TRUE(rig.link().rxver("Ram Write_"));
    EXPECT_EQ(rig.lines(m), (Lines{"read 1 -> 6"}));  // no flush, no write, no retry
    EXPECT_EQ(rig.w().Status->text, "0");
    m = rig.mark();
    EXPECT_FALSE(rig.link().rxver("Ram Write_"));
    EXPECT_EQ(rig.lines(m), (Lines{"read 1 -> timeout", "message Ram Write_Comm timed out",
                                   "message Error Writing Data Ram."}));
    EXPECT_EQ(rig.w().Status->text, "13");
}

// sgrelayon: the level DAC pair for sgaten, then the attenuator line; sgrelayoff: the pair
// for 2040, then the output close.
TEST_F(Started, RelayLevelDacPairThenTheAttenuatorLineOrTheOutputClose) {
    struct Row {
        bool on;
        std::int16_t sgaten;
        bool sgatten;
        Frames frames;
    };
    const Row rows[] = {
        {true, 0, false, {{31, 0, 0, 3, 0, 0}, {31, 3, 255, 7, 0, 0}, {32, 3, 15, 0, 0, 0}}},
        {true, 2046, true, {{31, 4, 0, 3, 0, 0}, {31, 0, 0, 7, 0, 0}, {32, 3, 15, 1, 0, 0}}},
        // (2044 + 1) / 2 = 1022.5 goes to the even 1022.
        {true, 1, false, {{31, 0, 1, 3, 0, 0}, {31, 3, 254, 7, 0, 0}, {32, 3, 15, 0, 0, 0}}},
        {false, 17, false, {{31, 3, 252, 3, 0, 0}, {31, 0, 3, 7, 0, 0}, {30, 0, 0, 0, 0, 0}}},
    };
    for (const Row& r : rows) {
        rig.s().gen.sgaten = r.sgaten;
        rig.s().gen.sgatten = r.sgatten;
        const auto mark = rig.mark();
        r.on ? sgrelayon(rig.link()) : sgrelayoff(rig.link());
        EXPECT_EQ(rig.frames(mark), r.frames) << r.sgaten;
        EXPECT_EQ(rig.s().gen.sgaten, r.on ? r.sgaten : 2040);
    }
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Started, RelayRefusedCommandEndsTheSequence) {
    for (const auto& [on, after] : {std::pair{true, 0}, {true, 2}, {false, 1}}) {
        rig.sim.nakNext(3, after);
        const auto mark = rig.mark();
        on ? sgrelayon(rig.link()) : sgrelayoff(rig.link());
        // The passed frames, then the refused one three times and nothing after it.
        const Frames frames = rig.frames(mark);
        ASSERT_EQ(frames.size(), after + 3U) << on << " " << after;
        EXPECT_EQ(Frames(frames.begin() + after + 1, frames.end()), Frames(2, frames[after]));
        const Lines lines = rig.lines(mark);
        EXPECT_EQ(Lines(lines.end() - 2, lines.end()), kRefused);
    }
}

// A byte or level beyond 16 bits raises "Overflow" before anything is sent.
TEST_F(Started, SixteenBitOverflowIsARunTimeErrorBeforeAnythingIsSent) {
    EXPECT_THROW(rig.link().send({40000, 0, 0, 0, 0, 0}, "x_"), RuntimeError);
    for (const std::int16_t sgaten : {std::int16_t{-30722}, std::int16_t{32767}}) {
        rig.s().gen.sgaten = sgaten;
        EXPECT_THROW(sgrelayon(rig.link()), RuntimeError) << sgaten;
    }
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx
