#include <gtest/gtest.h>

#include "common/RuntimeError.h"
#include "link/Link.h"
#include "support/Rig.h"

namespace tunx {
namespace {

using test::Rig;

TEST(Frame, LeadByteCommandBytesAndChecksum) {
    struct Row {
        std::array<std::int16_t, 6> cmd;
        std::array<std::uint8_t, 8> frame;
    };
    const Row rows[] = {
        {{32, 3, 15, 1, 0, 0}, {4, 32, 3, 15, 1, 0, 0, 51}},
        {{25, 0, 0, 0, 0, 0}, {4, 25, 0, 0, 0, 0, 0, 25}},
        {{5, 128, 0, 0, 0, 0}, {4, 5, 128, 0, 0, 0, 0, 133}},
        {{255, 255, 255, 255, 255, 255}, {4, 255, 255, 255, 255, 255, 255, 250}},
        {{0, 0, 0, 0, 0, 0}, {4, 0, 0, 0, 0, 0, 0, 0}},
        {{128, 128, 0, 0, 0, 0}, {4, 128, 128, 0, 0, 0, 0, 0}},
        {{31, 3, 252, 3, 0, 0}, {4, 31, 3, 252, 3, 0, 0, 33}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(buildFrame(r.cmd), r.frame) << r.cmd[0] << " " << r.cmd[1];
    }
}

TEST(Frame, ByteOutsideZeroTo255IsAnOverflow) {
    for (const std::array<std::int16_t, 6> cmd : {std::array<std::int16_t, 6>{256, 0, 0, 0, 0, 0},
                                                  {0, 0, 0, 0, 0, -1},
                                                  {1, 2, 3, 300, 0, 0},
                                                  {32767, 32767, 0, 0, 0, 0}}) {
        try {
            buildFrame(cmd);
            ADD_FAILURE() << cmd[0];
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.description(), "Overflow");
        }
    }
}

// A byte that does not fit is not sent: the "Error" box, then the transaction fails as if
// nothing had answered.
TEST(Frame, UnsendableByteShowsTheErrorBoxAndTheTransactionFails) {
    for (const Command c : {Command{256, 0, 0, 0, 0, 0}, Command{32, 6, 4, -1, 0, 0}}) {
        Rig rig;
        ASSERT_TRUE(rig.start());
        rig.ui.messages.clear();
        const auto mark = rig.mark();
        EXPECT_FALSE(rig.link().send(c, "Set_Offset_"));
        EXPECT_TRUE(rig.frames(mark).empty());
        for (const std::string& l : rig.lines(mark)) {
            EXPECT_NE(l.rfind("write", 0), 0U) << l;
        }
        ASSERT_EQ(rig.ui.messages.size(), 5U);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(rig.ui.messages[i].text, "CommSendString Error  'Overflow'.\r\n");
            EXPECT_EQ(rig.ui.messages[i].title, std::optional<std::string>("Error"));
        }
        EXPECT_EQ(rig.ui.messages[3].text, "Set_Offset_Comm timed out");
        EXPECT_FALSE(rig.ui.messages[3].title.has_value());
        EXPECT_EQ(rig.ui.messages[4].text, "Error Sending Data.");
        EXPECT_EQ(rig.lines(mark).back(), "message Error Sending Data.");
        EXPECT_FALSE(rig.ui.ended);
    }
}

TEST(Frame, BytesKeepTheirValuesAfterTheSend) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    ASSERT_TRUE(rig.link().send({32, 3, 15, 1, 0, 0}, "_Relay_ON_"));
    EXPECT_EQ(rig.s().link.cmd, (std::array<std::int16_t, 6>{32, 3, 15, 1, 0, 0}));
    // A caller that writes the frame itself sends what the bytes hold.
    const auto mark = rig.mark();
    rig.link().CommSendString2();
    EXPECT_EQ(rig.frames(mark), (std::vector<test::Frame>{{32, 3, 15, 1, 0, 0}}));
}

TEST(Frame, FilledBytesBeyond16BitsRaiseOverflowBeforeAnythingIsSent) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    EXPECT_THROW(rig.link().send({40000, 0, 0, 0, 0, 0}, "x_"), RuntimeError);
    EXPECT_TRUE(rig.lines(mark).empty());
}

}  // namespace
}  // namespace tunx
