#include <gtest/gtest.h>

#include "common/RuntimeError.h"
#include "support/Rig.h"

namespace tunx {
namespace {

using test::Rig;
using Lines = std::vector<std::string>;

const std::string kShare = TUNX_SHARE_DIR;
constexpr const char* kNoTunx = "Error finding TUNX3K device. Aborting application.";

TEST(Startup, OpensTheFirstTunx4kDeviceAndNamesItsCalibrationFile) {
    Rig rig({"other-0000001", "tunx4k-ABC1234"});
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.lines(), (Lines{"devices 2", "product 0 -> other-0000001",
                                  "product 1 -> tunx4k-ABC1234", "timeouts 3000 3000", "open 1",
                                  "baud 115200", "message Error Reading Calibration Data"}));
    EXPECT_EQ(rig.w()["tcali"].text, kShare + "CalDataABC1234.txt");
    const Control& device = rig.w()["cmbDevice"];
    EXPECT_EQ(device.items, (Lines{"other-0000001", "tunx4k-ABC1234"}));
    EXPECT_EQ(device.listIndex, 1);
    EXPECT_EQ(device.text, "tunx4k-ABC1234");
    EXPECT_FALSE(device.enabled);
    EXPECT_TRUE(rig.s().link.devconnected);
    EXPECT_EQ(rig.s().link.devcount, 2);
    EXPECT_NE(rig.s().link.devhandle, 1U);  // the handle SI_Open gave
    EXPECT_TRUE(rig.sim.isOpen());
    EXPECT_EQ(rig.w()["Status"].text, "0");
    EXPECT_FALSE(rig.ui.ended);
}

TEST(Startup, TheVirtualInstrumentLoadsItsOwnCalibrationFile) {
    Rig rig;
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.w()["tcali"].text, kShare + "CalDataSIM0001.txt");
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_FLOAT_EQ(rig.s().cal.ampfullscale, 7090);
    EXPECT_EQ(rig.s().cal.adcref, 3600);
    // No command frame is sent during start-up.
    EXPECT_TRUE(rig.frames().empty());
}

TEST(Startup, ModelCodeAndDeviceIdFromTheSerialString) {
    struct Row {
        std::string serial;
        bool matches;
        std::string calFile;  // after the folder
    };
    const std::string longSerial = "tunx4k-" + std::string(293, 'Z');
    const std::string odd = std::string("tunx4k\xff\x80\x01\xfe") + "ab\xc3";
    const Row rows[] = {
        {"tunx4k-ABC1234", true, "CalDataABC1234.txt"},
        {"TUNX4K-ABC1234", false, "CalDataABC1234.txt"},
        {"Tunx4k-ABC1234", false, "CalDataABC1234.txt"},
        {"tunx4k", true, "CalData.txt"},
        {"tunx4k-", true, "CalData.txt"},
        {"tunx4k-AB", true, "CalDataAB.txt"},
        {"tunx4k_ABC1234_extra", true, "CalDataABC1234.txt"},
        {"tunx4", false, "CalData.txt"},
        {"", false, "CalData.txt"},
        {longSerial, true, "CalDataZZZZZZZ.txt"},
        {odd, true,
         "CalData\x80\x01\xfe"
         "ab\xc3.txt"},
    };
    for (const Row& r : rows) {
        Rig rig({r.serial});
        EXPECT_EQ(rig.start(), r.matches) << r.serial;
        EXPECT_EQ(rig.w()["tcali"].text, kShare + r.calFile) << r.serial;
        EXPECT_EQ(rig.ui.ended, !r.matches);
        if (!r.matches) {
            EXPECT_EQ(rig.messages(), (Lines{kNoTunx}));
            EXPECT_EQ(rig.lines().back(), "end");
        }
    }
}

TEST(Startup, SerialStringIsCutAt256Characters) {
    const std::string serial = "tunx4k-" + std::string(293, 'Q');
    Rig rig({serial});
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.w()["cmbDevice"].items.front(), serial.substr(0, 256));
}

TEST(Startup, SerialStringEndsAtTheFirstZeroByte) {
    Rig rig({std::string("tunx4k-ABC\0DEF", 14)});
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.w()["cmbDevice"].items.front(), "tunx4k-ABC");
    EXPECT_EQ(rig.w()["tcali"].text, kShare + "CalDataABC.txt");
}

TEST(Startup, NoDeviceAttachedLeavesTheWindowsOpen) {
    Rig rig(std::vector<std::string>{});
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.messages(), (Lines{"ERROR!!! No attached device is found!!!"}));
    EXPECT_EQ(rig.lines(), (Lines{"devices 0", "message ERROR!!! No attached device is found!!!"}));
    EXPECT_FALSE(rig.ui.ended);
    EXPECT_TRUE(rig.ui.shown.empty());
    EXPECT_EQ(rig.w()["tcali"].text, kShare);
    EXPECT_EQ(rig.s().link.devhandle, 1U);
    EXPECT_EQ(rig.s().mon.monstate, "Idle");
    // A later command fails in the frame write and ends the program.
    EXPECT_THROW(rig.link().send({25, 0, 0, 0, 0, 0}, "Sending Trigger_", 1000, 1),
                 ApplicationEnded);
    EXPECT_EQ(rig.messages().back(), kNoTunx);
}

TEST(Startup, FailingDeviceCountEndsTheProgram) {
    Rig rig;
    rig.sim.failDeviceCount(255);
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.messages(), (Lines{"Error finding USB device. Aborting application."}));
    EXPECT_EQ(rig.lines(),
              (Lines{"devices -> status 255",
                     "message Error finding USB device. Aborting application.", "end"}));
    EXPECT_TRUE(rig.ui.ended);
    EXPECT_EQ(rig.w()["Status"].text, "255");
    EXPECT_EQ(rig.w()["cmbDevice"].listIndex, -1);
}

TEST(Startup, FailingOpenEndsTheProgram) {
    Rig rig({"other-1", "tunx4k-ABC1234"});
    rig.sim.failOpen(2);
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.messages(),
              (Lines{"Error opening device: tunx4k-ABC1234. Application is aborting. Reset "
                     "hardware and try again."}));
    EXPECT_EQ(rig.lines(),
              (Lines{"devices 2", "product 0 -> other-1", "product 1 -> tunx4k-ABC1234",
                     "timeouts 3000 3000", "open 1 -> 2",
                     "message Error opening device: tunx4k-ABC1234. Application is aborting. "
                     "Reset hardware and try again.",
                     "end"}));
    EXPECT_TRUE(rig.ui.ended);
    EXPECT_TRUE(rig.ui.shown.empty());
    EXPECT_EQ(rig.w()["Status"].text, "2");
}

TEST(Startup, FailingBaudRateIsReportedAndStartUpGoesOn) {
    Rig rig;
    rig.sim.failBaudRate(4);
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.messages(), (Lines{"error seting baud rate"}));
    EXPECT_EQ(rig.lines(), (Lines{"devices 1", "product 0 -> tunx4k-SIM0001", "timeouts 3000 3000",
                                  "open 0", "baud 115200 -> 4", "message error seting baud rate"}));
    EXPECT_FALSE(rig.ui.ended);
    // The calibration file was still read.
    EXPECT_EQ(rig.s().cal.adcref, 3600);
}

TEST(Startup, NoTunx4kDeviceAmongSeveralEndsTheProgram) {
    Rig rig({"other-0000001", "TUNX4K-0000002", "tunx3k-0000003"});
    EXPECT_FALSE(rig.start());
    EXPECT_EQ(rig.messages(), (Lines{kNoTunx}));
    EXPECT_TRUE(rig.ui.ended);
    // Nothing was opened; the last entry's name stays in tcali.
    for (const std::string& l : rig.lines()) {
        EXPECT_NE(l.rfind("open", 0), 0U) << l;
    }
    EXPECT_EQ(rig.w()["tcali"].text, kShare + "CalData0000003.txt");
}

TEST(Startup, SecondTunx4kIsNotOpenedOnceTheFirstIs) {
    Rig rig({"tunx4k-FIRST01", "tunx4k-SECOND2"});
    EXPECT_TRUE(rig.start());
    EXPECT_EQ(rig.w()["tcali"].text, kShare + "CalDataFIRST01.txt");
    EXPECT_EQ(rig.w()["cmbDevice"].listIndex, 0);
}

TEST(Startup, ReactivationRepeatsNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    rig.w()["tcali"].text = "changed";
    EXPECT_TRUE(rig.run("Form_Activate"));
    EXPECT_TRUE(rig.lines(mark).empty());
    EXPECT_EQ(rig.w()["tcali"].text, "changed");
    EXPECT_EQ(rig.ui.shown.size(), 1U);
}

TEST(Startup, ShowsTheMonitorWindowAndSetsTheMonitorIdle) {
    Rig rig;
    rig.s().mon.monstate = "something";
    ASSERT_TRUE(rig.start());
    EXPECT_EQ(rig.ui.shown, (Lines{"Form1"}));
    EXPECT_EQ(rig.s().mon.monstate, "Idle");
}

TEST(Startup, LaysThePanelOutForTheSelectedMode) {
    Rig rig;
    rig.w()["Vpp"].enabled = false;
    rig.w()["description"].text.clear();
    ASSERT_TRUE(rig.start());
    // "Single Tone Sine" uses the amplitude field; its limitation lines are shown.
    EXPECT_TRUE(rig.w()["Vpp"].enabled);
    EXPECT_FALSE(rig.w()["description"].text.empty());
}

TEST(Shutdown, UnloadClosesTheDeviceAndEndsTheProgram) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    EXPECT_FALSE(rig.run("Form_Unload"));
    EXPECT_EQ(rig.lines(mark), (Lines{"close", "end"}));
    EXPECT_FALSE(rig.sim.isOpen());
    EXPECT_TRUE(rig.ui.ended);
}

TEST(UsersGuide, OpensTheGuideFromTheInstallationFolder) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    EXPECT_TRUE(rig.run("MenuBar_UsersGuide_Click"));
    EXPECT_EQ(rig.ui.guides, (Lines{kShare + "SigGen_helpfile.txt"}));
    EXPECT_EQ(rig.lines(mark), (Lines{"guide " + kShare + "SigGen_helpfile.txt"}));
}

TEST(DeviceList, ClickingItOnlyPauses) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    EXPECT_TRUE(rig.run("cmbDevice_Click"));
    EXPECT_EQ(rig.lines(mark), (Lines{"sleep 10"}));
}

}  // namespace
}  // namespace tunx
