#include <gtest/gtest.h>

#include "common/RuntimeError.h"
#include "link/Link.h"
#include "support/Rig.h"
#include "support/UsbPassThrough.h"

namespace tunx {
namespace {

using test::Rig;
using Lines = std::vector<std::string>;

const Lines kAttemptTimedOut = {"flush", "write 4 31 3 252 3 0 0 33", "sleep 20",
                                "read 1 -> timeout"};

struct Started : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.start());
        rig.ui.messages.clear();
        mark = rig.mark();
        elapsed = rig.clock.elapsedMs();
    }
    bool sendDac(std::int16_t& attempts, std::int32_t timeout = 1000) {
        rig.link().setCommand({31, 3, 252, 3, 0, 0});
        return rig.link().sendk2(attempts, timeout, "_Relay_ON_");
    }
    Rig rig;
    std::size_t mark = 0;
    long long elapsed = 0;
};

TEST_F(Started, AcknowledgedAtTheFirstAttemptAsTheExampleTranscriptShows) {
    std::int16_t attempts = 3;
    EXPECT_TRUE(sendDac(attempts));
    EXPECT_EQ(rig.lines(mark), (Lines{"timeouts 1000 1000", "flush", "write 4 31 3 252 3 0 0 33",
                                      "sleep 20", "read 1 -> 6"}));
    EXPECT_EQ(attempts, 2);
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.s().link.usbstatus, 0);
}

TEST_F(Started, AckOnTheSecondAttemptSucceedsSilentlyAndConsumesTwoAttempts) {
    struct Row {
        std::int16_t given;
        void (sim::VirtualInstrument::*fault)(int, int);
    };
    for (const Row r :
         {Row{3, &sim::VirtualInstrument::nakNext}, Row{3, &sim::VirtualInstrument::muteNext},
          Row{5, &sim::VirtualInstrument::nakNext}}) {
        (rig.sim.*r.fault)(1, 0);
        std::int16_t attempts = r.given;
        const auto m = rig.mark();
        EXPECT_TRUE(sendDac(attempts));
        EXPECT_EQ(attempts, r.given - 2);
        EXPECT_EQ(rig.frames(m).size(), 2U);
        EXPECT_TRUE(rig.messages().empty());
    }
}

TEST_F(Started, RefusedThreeTimesIsACommError) {
    rig.sim.nakNext(3);
    std::int16_t attempts = 3;
    EXPECT_FALSE(sendDac(attempts));
    EXPECT_EQ(attempts, 0);
    EXPECT_EQ(rig.frames(mark).size(), 3U);
    EXPECT_EQ(rig.messages(), (Lines{"_Relay_ON_CommError", "Error Sending Data."}));
    EXPECT_EQ(rig.lines(mark).back(), "message Error Sending Data.");
}

TEST_F(Started, NoAnswerTimesOutAfterThreeAttempts) {
    rig.sim.muteNext(3);
    std::int16_t attempts = 3;
    EXPECT_FALSE(sendDac(attempts));
    Lines expected = {"timeouts 1000 1000"};
    for (int i = 0; i < 3; ++i) {
        expected.insert(expected.end(), kAttemptTimedOut.begin(), kAttemptTimedOut.end());
    }
    expected.push_back("message _Relay_ON_Comm timed out");
    expected.push_back("message Error Sending Data.");
    EXPECT_EQ(rig.lines(mark), expected);
    EXPECT_EQ(rig.s().link.usbstatus, 13);
    // The user waits three read time-outs plus the pauses.
    EXPECT_EQ(rig.clock.elapsedMs() - elapsed, 3 * (1000 + 20));
}

TEST_F(Started, TheLastAttemptDecidesTheMessage) {
    // Two refusals, then silence: the last status is the time-out.
    rig.sim.nakNext(2);
    rig.sim.muteNext(1, 2);
    std::int16_t attempts = 3;
    EXPECT_FALSE(sendDac(attempts));
    EXPECT_EQ(rig.messages(), (Lines{"_Relay_ON_Comm timed out", "Error Sending Data."}));
}

TEST_F(Started, TheTimeoutGoesToBothLibraryTimeouts) {
    std::int16_t attempts = 3;
    EXPECT_TRUE(sendDac(attempts, 3000));
    EXPECT_EQ(rig.lines(mark).front(), "timeouts 3000 3000");
    EXPECT_EQ(rig.sim.readTimeout(), 3000U);
}

TEST_F(Started, AnAttemptCountOfOneOrLessWritesOnce) {
    for (const std::int16_t given : {1, 0, -5}) {
        rig.sim.nakNext(1);
        std::int16_t attempts = given;
        const auto m = rig.mark();
        EXPECT_FALSE(sendDac(attempts));
        EXPECT_EQ(rig.frames(m).size(), 1U) << given;
        EXPECT_EQ(attempts, given - 1);
    }
}

TEST_F(Started, AttemptCountThatCannotBeCountedDownIsARunTimeErrorOfTheTransaction) {
    std::int16_t attempts = -32768;
    EXPECT_FALSE(sendDac(attempts));
    EXPECT_EQ(rig.messages(), (Lines{"Error Sending Data."}));
    EXPECT_TRUE(rig.frames(mark).empty());
}

TEST_F(Started, SendUsesItsOwnAttemptCount) {
    rig.sim.nakNext(2);
    EXPECT_TRUE(rig.link().send({31, 3, 252, 3, 0, 0}, "_Relay_ON_"));
    rig.sim.nakNext(2);
    EXPECT_FALSE(rig.link().send({13, 2, 128, 2, 128, 0}, "Set_Offset_", 3000, 2));
    EXPECT_EQ(rig.messages(), (Lines{"Set_Offset_CommError", "Error Sending Data."}));
}

TEST_F(Started, ALabelWithoutTrailingUnderscoreRunsIntoTheText) {
    rig.sim.muteNext(3);
    EXPECT_FALSE(rig.link().send({24, 0, 0, 0, 0, 0}, "Set_Pulse_CFR2", 2000));
    EXPECT_EQ(rig.messages().front(), "Set_Pulse_CFR2Comm timed out");
}

TEST_F(Started, AFailedWriteEndsTheApplication) {
    rig.sim.failWritesNext(1);
    std::int16_t attempts = 3;
    EXPECT_THROW(sendDac(attempts), ApplicationEnded);
    EXPECT_TRUE(rig.ui.ended);
    EXPECT_EQ(rig.messages(), (Lines{"Error finding TUNX3K device. Aborting application."}));
    EXPECT_EQ(rig.lines(mark).back(), "end");
    EXPECT_EQ(rig.s().link.usbstatus, 4);
    // The device is left as it is: not closed.
    EXPECT_TRUE(rig.sim.isOpen());
}

TEST_F(Started, AFailedWriteInsideAHandlerEndsTheRun) {
    rig.sim.failWritesNext(1, 1);
    // The second frame's write fails: the handler does not return normally.
    EXPECT_THROW(rig.program.dispatch(rig.w(),
                                      [&] {
                                          rig.link().send({31, 0, 0, 3, 0, 0}, "_Relay_ON_");
                                          rig.link().send({31, 3, 255, 7, 0, 0}, "_Relay_ON_");
                                          rig.link().send({32, 3, 15, 0, 0, 0}, "_Relay_ON_");
                                      }),
                 ApplicationEnded);
    EXPECT_EQ(rig.frames(mark).size(), 2U);
    EXPECT_FALSE(rig.program.gate().busy());
}

// A transport that reports success for every read but delivers nothing.
class EmptyReads : public test::UsbPassThrough {
  public:
    using UsbPassThrough::UsbPassThrough;
    int SI_Read(DeviceHandle, std::span<std::uint8_t>, std::uint32_t& n) override {
        n = 0;
        return usb::kSuccess;
    }
};

TEST_F(Started, ASuccessfulReadWithoutBytesIsNoAcknowledgement) {
    EmptyReads empty(rig.sim);
    Control status;
    Link link(rig.s(), empty, rig.clock, rig.ui, status);
    EXPECT_FALSE(link.send({25, 0, 0, 0, 0, 0}, "Sending Trigger_", 1000, 1));
    EXPECT_EQ(rig.messages(), (Lines{"Sending Trigger_CommError", "Error Sending Data."}));
    rig.ui.messages.clear();
    EXPECT_FALSE(link.rxver(1, 1000, "RamWrite_"));
    EXPECT_EQ(rig.messages(), (Lines{"RamWrite_CommError", "Error Writing Data Ram."}));
}

struct Rxver : Started {};

TEST_F(Rxver, AcknowledgementAfterRawDataShowsStatusZero) {
    rig.w()["Status"].text = "x";
    ASSERT_TRUE(rig.link().send({18, 0, 1, 0, 0, 0}, "RamWrite_"));
    std::uint32_t n = 0;
    const std::array<std::uint8_t, 4> word{1, 2, 3, 4};
    rig.link().usb().SI_Write(rig.s().link.devhandle, word, n);
    const auto m = rig.mark();
    EXPECT_TRUE(rig.link().rxver(1, 1000, "Ram Write_"));
    EXPECT_EQ(rig.lines(m), (Lines{"read 1 -> 6"}));  // no flush, no write, no time-outs
    EXPECT_EQ(rig.w()["Status"].text, "0");
    EXPECT_TRUE(rig.messages().empty());
}

TEST_F(Rxver, NothingToReadIsATimeOut) {
    EXPECT_FALSE(rig.link().rxver(1, 1000, "Ram Write_"));
    EXPECT_EQ(rig.w()["Status"].text, "13");
    EXPECT_EQ(rig.messages(), (Lines{"Ram Write_Comm timed out", "Error Writing Data Ram."}));
    EXPECT_EQ(rig.lines(mark).size(), 3U);  // one read, two messages: no retry
}

TEST_F(Rxver, AnotherByteIsACommError) {
    rig.sim.nakNext(1);
    std::uint32_t n = 0;
    const std::array<std::uint8_t, 8> frame{4, 25, 0, 0, 0, 0, 0, 25};
    rig.link().usb().SI_Write(rig.s().link.devhandle, frame, n);
    EXPECT_FALSE(rig.link().rxver(1, 1000, "RamWrite_"));
    EXPECT_EQ(rig.w()["Status"].text, "0");
    EXPECT_EQ(rig.messages(), (Lines{"RamWrite_CommError", "Error Writing Data Ram."}));
}

TEST_F(Started, StatusLabelShowsTheDecimalStatus) {
    rig.link().showStatus(13);
    EXPECT_EQ(rig.w()["Status"].text, "13");
    rig.link().showStatus(0);
    EXPECT_EQ(rig.w()["Status"].text, "0");
}

}  // namespace
}  // namespace tunx
