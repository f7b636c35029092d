#include <gtest/gtest.h>

#include "common/RuntimeError.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kShare = TUNX_SHARE_DIR;
const char* const kNoTunx = "Error finding TUNX3K device. Aborting application.";

TEST(Startup, OpensTheFirstTunx4kDeviceAndNamesItsCalibrationFile) {
    Rig rig({"other-0000001", "tunx4k-ABC1234"});
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.lines(), (Lines{"devices 2", "product 0 -> other-0000001",
                                  "product 1 -> tunx4k-ABC1234", "timeouts 3000 3000", "open 1",
                                  "baud 115200", "message Error Reading Calibration Data"}));
    EXPECT_EQ(rig.w()["tcali"].text, kShare + "CalDataABC1234.txt");
    EXPECT_EQ(rig.w()["cmbDevice"].listIndex, 1);
    EXPECT_FALSE(rig.ui.ended);
}

// The first device whose serial starts with the lower-case model code is opened; the text
// after the code's separator names the calibration file.
TEST(Startup, ModelCodeAndDeviceIdFromTheSerialString) {
    struct Row {
        Lines serials;
        int opened;  // -1: none, the program ends
        std::string calFile;
    };
    for (const Row& r :
         {Row{{"TUNX4K-ABC1234"}, -1, "CalDataABC1234.txt"}, Row{{"tunx4k"}, 0, "CalData.txt"},
          Row{{"tunx4k-AB"}, 0, "CalDataAB.txt"},
          Row{{std::string("tunx4k-ABC\0DEF", 14)}, 0, "CalDataABC.txt"},
          Row{{"tunx4k-FIRST01", "tunx4k-SECOND2"}, 0, "CalDataFIRST01.txt"},
          Row{{"other-1", "TUNX4K-2", "tunx3k-0000003"}, -1, "CalData0000003.txt"}}) {
        Rig rig(r.serials);
        EXPECT_EQ(rig.start(), r.opened >= 0) << r.serials[0];
        EXPECT_EQ(rig.w()["tcali"].text, kShare + r.calFile) << r.serials[0];
        EXPECT_EQ(rig.ui.ended, r.opened < 0) << r.serials[0];
        if (r.opened >= 0) {
            EXPECT_EQ(rig.w()["cmbDevice"].listIndex, r.opened) << r.serials[0];
        } else {
            EXPECT_EQ(rig.messages(), Lines{kNoTunx}) << r.serials[0];
        }
    }
}

TEST(Startup, NoDeviceAttachedLeavesTheProgramRunning) {
    Rig rig(Lines{});
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.messages(), Lines{"ERROR!!! No attached device is found!!!"});
    EXPECT_FALSE(rig.ui.ended);
    // A later command fails in the frame write and ends the program.
    EXPECT_THROW(rig.link().send({25, 0, 0, 0, 0, 0}, "Sending Trigger_", 1000, 1),
                 ApplicationEnded);
    EXPECT_EQ(rig.messages().back(), kNoTunx);
}

TEST(Startup, FailingDeviceCallsAreReported) {
    struct Row {
        void (sim::VirtualInstrument::*fail)(int);
        int status;
        const char* message;
        bool ends;
    };
    for (const Row& r :
         {Row{&sim::VirtualInstrument::failDeviceCount, 255,
              "Error finding USB device. Aborting application.", true},
          Row{&sim::VirtualInstrument::failOpen, 2,
              "Error opening device: tunx4k-SIM0001. Application is aborting. "
              "Reset hardware and try again.",
              true},
          Row{&sim::VirtualInstrument::failBaudRate, 4, "error seting baud rate", false}}) {
        Rig rig;
        (rig.sim.*r.fail)(r.status);
        EXPECT_EQ(rig.start(), !r.ends) << r.message;
        EXPECT_EQ(rig.messages(), Lines{r.message});
        EXPECT_EQ(rig.ui.ended, r.ends) << r.message;
        EXPECT_EQ(rig.ui.shown.empty(), r.ends) << r.message;
    }
}

TEST(Startup, ReactivationRepeatsNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    EXPECT_TRUE(rig.frames().empty());
    EXPECT_EQ(rig.ui.shown, Lines{"Form1"});
    const auto mark = rig.mark();
    rig.w()["tcali"].text = "changed";
    EXPECT_TRUE(rig.run("Form_Activate"));
    EXPECT_TRUE(rig.lines(mark).empty());
    EXPECT_EQ(rig.w()["tcali"].text, "changed");
    EXPECT_EQ(rig.ui.shown.size(), 1U);
}

}  // namespace
}  // namespace tunx::test
