#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "common/RuntimeError.h"
#include "support/Rig.h"

namespace tunx::test {
namespace {

using Lines = std::vector<std::string>;
const char* const kNoTunx = "Error finding TUNX3K device. Aborting application.";

// The first device whose serial starts with the lower-case model code is opened (the
// transcript line, "" for none: the program ends); the text after the code and one separator
// names the calibration file.
TEST(Startup, OpensTheFirstTunx4kDeviceAndNamesItsCalibrationFile) {
    for (const auto& [serials, opens, calFile] :
         {std::tuple<Lines, std::string, std::string>{
              {"other-0000001", "tunx4k-ABC1234"}, "open 1", "CalDataABC1234.txt"},
          {{"TUNX4K-ABC1234"}, "", "CalDataABC1234.txt"},
          {{"tunx4k"}, "open 0", "CalData.txt"},
          {{"tunx4k-FIRST01", "tunx4k-SECOND2"}, "open 0", "CalDataFIRST01.txt"},
          {{"other-1", "TUNX4K-2", "tunx3k-0000003"}, "", "CalData0000003.txt"}}) {
        Rig rig(serials);
        const bool opened = !opens.empty();
        EXPECT_EQ(rig.start(), opened) << serials[0];
        EXPECT_EQ(std::ranges::count(rig.lines(), opens), opened ? 1 : 0) << serials[0];
        EXPECT_EQ(rig.w().tcali->text, TUNX_SHARE_DIR + calFile) << serials[0];
        EXPECT_EQ(rig.ui.ended, !opened) << serials[0];
        // Without calibration values the monitor cannot set its ranges either.
        const Lines expected = opened ? Lines{"Error Reading Calibration Data",
                                              "Error Vold/div set", "Error Vold/div set"}
                                      : Lines{kNoTunx};
        EXPECT_EQ(rig.messages(), expected);
    }
}

// Without a device the windows stay; the first command then fails and ends the program.
TEST(Startup, NoDeviceAttachedLeavesTheProgramRunning) {
    Rig rig(Lines{});
    EXPECT_FALSE(rig.start());
    EXPECT_FALSE(rig.ui.ended);
    EXPECT_THROW(rig.link().send({25, 0, 0, 0, 0, 0}, "Sending Trigger_"), ApplicationEnded);
    EXPECT_EQ(rig.messages(), (Lines{"ERROR!!! No attached device is found!!!", kNoTunx}));
}

// --serial: the instrument with that serial number, or a message that names the attached ones
// (the windows stay, as without a device). The calibration file is the user's own copy in
// their data folder when there is one.
TEST(Startup, OpensTheInstrumentAskedForWithTheUsersOwnCalibrationFile) {
    const std::string share = TUNX_SHARE_DIR;
    const std::string mine = writeTempFile("CalDataSIM0001.txt", "not a calibration file\n");
    const std::string userDir =
        mine.substr(0, mine.size() - std::string("CalDataSIM0001.txt").size());
    const Lines unreadable = {"Error Reading Calibration Data", "Error Vold/div set",
                              "Error Vold/div set"};
    struct Row {
        Lines serials;
        std::string wanted;
        std::string userDir;
        std::string opens;  // the transcript line; "" when none is opened
        std::string tcali;
        Lines messages;
    };
    for (const Row& r : {
             Row{{"tunx4k-OTHER01", "tunx4k-SIM0001"},
                 "tunx4k-SIM0001",
                 "",
                 "open 1",
                 share + "CalDataSIM0001.txt",
                 {}},
             Row{{"tunx4k-SIM0001", "tunx4k-OTHER01"},
                 "tunx4k-OTHER01",
                 "",
                 "open 1",
                 share + "CalDataOTHER01.txt",
                 unreadable},
             Row{{"tunx4k-A", "other-1", "tunx4k-B"},
                 "tunx4k-NOPE",
                 "",
                 "",
                 share + "CalDataB.txt",
                 {"No instrument with the serial number tunx4k-NOPE is attached. Attached: "
                  "tunx4k-A, tunx4k-B."}},
             Row{{"other-1"},
                 "tunx4k-SIM0001",
                 "",
                 "",
                 share + "CalData.txt",
                 {"No instrument with the serial number tunx4k-SIM0001 is attached. Attached: "
                  "none."}},
             Row{{"tunx4k-SIM0001"}, "", userDir, "open 0", mine, unreadable},
             Row{{"tunx4k-OTHER01", "tunx4k-SIM0001"},
                 "tunx4k-SIM0001",
                 userDir,
                 "open 1",
                 mine,
                 unreadable},
             Row{{"tunx4k-OTHER01"},
                 "",
                 userDir,
                 "open 0",
                 share + "CalDataOTHER01.txt",
                 unreadable},
         }) {
        const std::string what = r.wanted + " in " + r.userDir;
        Rig rig(r.serials);
        rig.s().host.serial = r.wanted;
        rig.s().host.userDataDir = r.userDir;
        EXPECT_EQ(rig.start(), !r.opens.empty()) << what;
        EXPECT_EQ(std::ranges::count(rig.lines(), r.opens), r.opens.empty() ? 0 : 1) << what;
        EXPECT_EQ(rig.w().tcali->text, r.tcali) << what;
        EXPECT_EQ(rig.messages(), r.messages) << what;
        EXPECT_FALSE(rig.ui.ended) << what;
    }
}

TEST(Startup, FailingDeviceCallsAreReported) {
    using Sim = sim::VirtualInstrument;
    const std::tuple<void (Sim::*)(int), int, const char*> rows[] = {
        {&Sim::failDeviceCount, 255, "Error finding USB device. Aborting application."},
        {&Sim::failOpen, 2,
         "Error opening device: tunx4k-SIM0001. Application is aborting. Reset hardware and try "
         "again."},
        {&Sim::failBaudRate, 4, "error seting baud rate"}};
    for (const auto& [fail, status, message] : rows) {
        Rig rig;
        (rig.sim.*fail)(status);
        const bool goesOn = status == 4;  // a failed baud rate only
        EXPECT_EQ(rig.start(), goesOn) << message;
        EXPECT_EQ(rig.messages(), Lines{message});
        EXPECT_EQ(rig.ui.ended, !goesOn) << message;
    }
}

TEST(Startup, ReactivationRepeatsNothing) {
    Rig rig;
    ASSERT_TRUE(rig.start());
    const auto mark = rig.mark();
    rig.w().tcali->text = "changed";
    EXPECT_TRUE(rig.run("Form_Activate"));
    EXPECT_TRUE(rig.lines(mark).empty());
    EXPECT_EQ(rig.w().tcali->text, "changed");
}

}  // namespace
}  // namespace tunx::test
