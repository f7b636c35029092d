#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "ports/Recording.h"
#include "ports/Transcript.h"
#include "sim/VirtualInstrument.h"
#include "support/Rig.h"

namespace tunx {
namespace {

TEST(TranscriptEscape, LineBreaksAndBackslashes) {
    struct Row {
        const char* in;
        const char* out;
    };
    for (const Row& r : {Row{"plain", "plain"}, Row{"a\r\nb", "a\\nb"}, Row{"a\nb", "a\\nb"},
                         Row{"'.\r\n", "'.\\n"}, Row{"C:\\dir\\f", "C:\\\\dir\\\\f"},
                         Row{"\\n", "\\\\n"}, Row{" x ", " x "}}) {
        EXPECT_EQ(Transcript::escape(r.in), r.out) << r.in;
    }
}

TEST(TranscriptBytes, DecimalSeparatedByOneSpace) {
    const std::array<std::uint8_t, 4> b{4, 0, 255, 33};
    EXPECT_EQ(Transcript::bytes(b), "4 0 255 33");
    EXPECT_EQ(Transcript::bytes({}), "");
}

TEST(Transcript, WritesEachLineToTheStreamAsItHappens) {
    std::ostringstream out;
    Transcript t(out);
    t.write("devices 1");
    EXPECT_EQ(out.str(), "devices 1\n");
    t.write("close");
    EXPECT_EQ(out.str(), "devices 1\nclose\n");
    EXPECT_EQ(t.lines().size(), 2U);
}

// The recorder writes the transcript lines of the automation contract.
TEST(RecordingUsbApi, LineFormats) {
    VirtualClock clock;
    sim::VirtualInstrument sim(clock);
    Transcript t;
    RecordingUsbApi usb(sim, t);
    sim.failOpen(255);
    DeviceHandle h = 0;
    usb.SI_Open(0, h);
    sim.failOpen(0);
    usb.SI_Open(0, h);
    usb.SI_SetTimeouts(1000, 1000);
    usb.SI_FlushBuffers(h, 1, 1);
    std::array<std::uint8_t, 1> one{};
    std::uint32_t n = 0;
    usb.SI_Read(h, one, n);
    const std::array<std::uint8_t, 8> frame{4, 31, 3, 252, 3, 0, 0, 33};
    usb.SI_Write(h, frame, n);
    usb.SI_Read(h, one, n);
    sim.failWritesNext(1);
    usb.SI_Write(h, frame, n);
    usb.SI_Close(h);
    usb.SI_Read(h, one, n);
    const std::vector<std::string> expected = {"open 0 -> 255",
                                               "open 0",
                                               "timeouts 1000 1000",
                                               "flush",
                                               "read 1 -> timeout",
                                               "write 4 31 3 252 3 0 0 33",
                                               "read 1 -> 6",
                                               "write 4 31 3 252 3 0 0 33 -> 4",
                                               "close",
                                               "read 1 -> status 1"};
    EXPECT_EQ(t.lines(), expected);
}

TEST(RecordingUi, MessageAndDialogLines) {
    test::TestUi inner;
    inner.answers = {"C:\\cal\\CalData.txt", ""};
    Transcript t;
    RecordingUi ui(inner, t);
    ui.MsgBox("CommSendString Error  'Overflow'.\r\n", MsgIcon::None, std::string("Error"));
    static_cast<Ui&>(ui).MsgBox("Error Sending Data.");
    ui.FileDialog(FileDialogKind::Open, "Load From File", "All Files (*.*)|*.*", 1);
    ui.FileDialog(FileDialogKind::Open, "Load From File", "All Files (*.*)|*.*", 1);
    ui.EndApplication();
    EXPECT_EQ(t.lines(),
              (std::vector<std::string>{"message [Error] CommSendString Error  'Overflow'.\\n",
                                        "message Error Sending Data.",
                                        "dialog Load From File -> C:\\\\cal\\\\CalData.txt",
                                        "dialog Load From File -> \"\"", "end"}));
    // The inner Ui still gets every call.
    EXPECT_EQ(inner.messages.size(), 2U);
    EXPECT_TRUE(inner.ended);
}

}  // namespace
}  // namespace tunx
