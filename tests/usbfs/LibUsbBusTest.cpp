// The USB backend through real libusb-1.0 against emulated usbfs nodes: enumeration beside a
// foreign device, the bridge's requests on open, flush and close, whole scripts with the
// virtual instrument as the bridge's firmware (the same transcript as on the virtual
// instrument itself, whatever packets the bridge cuts its answers into, lost answers timing
// out in libusb), a device unplugged in the middle of a transfer, and an interface another
// program holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "cli/Runner.h"
#include "cli/Script.h"
#include "usb/LibUsbBus.h"
#include "usbfs/BridgeFirmware.h"
#include "usbfs/Testbed.h"

namespace tunx::test {
namespace {

using Faults = std::function<void(sim::VirtualInstrument&)>;
using Lines = std::vector<std::string>;

const std::string kEnable = "control 40 02 0002 0000";
const std::string kDisable = "control 40 02 0004 0000";
const std::string kFlush = "control 40 02 0001 0000";

struct ScriptRun {
    int status;
    std::string transcript;
};

ScriptRun runScript(const std::string& script, cli::Options options) {
    std::istringstream in(script);
    std::ostringstream out;
    const int status = cli::runScript(cli::parseScript(in), options, out);
    return {status, out.str()};
}

// The script on the built-in virtual instrument, with `simLines` before it.
ScriptRun onVirtualInstrument(const std::string& simLines, const std::string& script) {
    return runScript(simLines + script,
                     {.simulate = true, .fast = true, .installDir = TUNX_SHARE_DIR});
}

class UsbfsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!Testbed::preloaded()) {
            GTEST_SKIP() << "umockdev's preload library is not loaded: run these tests through "
                            "ctest, or with LD_PRELOAD=libumockdev-preload.so.0";
        }
    }
};

// The program through the USB backend over libusb, against a bridge whose firmware is the
// virtual instrument, with a foreign device listed before it.
struct OverUsbfs {
    explicit OverUsbfs(std::size_t packetSize = 64, const Faults& faults = {}) {
        if (faults) {
            faults(sim);
        }
        bridge.setReplyPacketSize(packetSize);
    }
    ScriptRun run(const std::string& script) {
        return runScript(script, {.fast = true, .installDir = TUNX_SHARE_DIR, .device = &backend});
    }
    static Firmware firmwareOf(BridgeFirmware& f) {
        return {.request =
                    [&f](std::uint16_t value, std::uint16_t index, bool& emptyIn) {
                        emptyIn = value == BridgeFirmware::kFlush;
                        return index == 0 && f.request(value);
                    },
                .take = [&f](std::span<const std::uint8_t> data) { return f.take(data); }};
    }

    Testbed testbed;  // first made, last gone: libusb must not outlive the emulated nodes
    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    BridgeFirmware firmware{sim};
    EmulatedDevice& foreign = testbed.add({.vendor = 0x046D,
                                           .product = 0xC52B,
                                           .interfaceClass = 0x03,
                                           .manufacturer = "Logitech",
                                           .productName = "USB Receiver",
                                           .serial = ""});
    EmulatedDevice& bridge = testbed.add({.serial = sim::kDefaultSerial}, firmwareOf(firmware));
    Lines told;
    usb::LibUsbBus bus{[this](const std::string& why) { told.push_back(why); }};
    usb::UsbBackend backend{bus, usb::UsbId{},
                            [this](const std::string& why) { told.push_back(why); }};
};

const std::string kSingleToneRefresh =
    "choose ModeSelect Single Tone Sine\nset Frek 1\nset Vpp 1\nclick RefreshBtn\n";

TEST_F(UsbfsTest, FindsTheBridgeBesideAForeignDeviceOpensItAndGivesItBack) {
    OverUsbfs usb;
    const ScriptRun got = usb.run("menu Form_Unload\n");
    EXPECT_EQ(got.status, cli::kProgramEnded);
    EXPECT_TRUE(got.transcript.starts_with(
        "devices 1\nproduct 0 -> tunx4k-SIM0001\ntimeouts 3000 3000\nopen 0\nbaud 115200\n"))
        << got.transcript;
    EXPECT_TRUE(got.transcript.ends_with("read 1 -> 6\nclose\nend\n")) << got.transcript;
    EXPECT_EQ(usb.told, Lines{});

    // The foreign device is never opened. The bridge tells its serial number, is claimed and
    // enabled, flushed before each command of the start-up, then disabled and released.
    EXPECT_EQ(usb.foreign.log(), Lines{});
    Lines requests;
    for (const std::string& line : usb.bridge.log()) {
        if (line.starts_with("control") || line.starts_with("claim") ||
            line.starts_with("release") || line.starts_with("string")) {
            requests.push_back(line);
        }
    }
    const auto flushes =
        static_cast<std::size_t>(std::count(requests.begin(), requests.end(), kFlush));
    EXPECT_GT(flushes, 0u);
    Lines expected = {"string 0", "string 3", "claim 0", kEnable};
    expected.insert(expected.end(), flushes, kFlush);
    expected.insert(expected.end(), {kDisable, "release 0"});
    EXPECT_EQ(requests, expected);
    EXPECT_FALSE(usb.bridge.claimed());
    for (const std::string& line : usb.bridge.log()) {
        EXPECT_FALSE(line.ends_with("(unknown)")) << line;
    }
}

struct ScriptRow {
    const char* name;
    std::string script;
    std::string simLines;  // faults of the instrument, as script lines
    Faults faults;         // the same faults, on the instrument behind the bridge
};

const ScriptRow kScripts[] = {
    {"SingleToneRefresh", kSingleToneRefresh + "menu Form_Unload\n", "", {}},
    {"RefusedAndLostAnswers", kSingleToneRefresh, "sim nak 1 after 2\nsim mute 2 after 5\n",
     [](sim::VirtualInstrument& s) {
         s.nakNext(1, 2);
         s.muteNext(2, 5);
     }},
    {"ArbitraryWithRamWords", "choose ModeSelect Arbitrary\nclick RUN\nclick STOP\n", "", {}},
};

class SameTranscript
    : public UsbfsTest,
      public ::testing::WithParamInterface<std::tuple<const ScriptRow*, std::size_t>> {};

// A real bridge may cut the instrument's answers into packets of any size.
TEST_P(SameTranscript, AsOnTheVirtualInstrument) {
    const auto& [row, packet] = GetParam();
    const ScriptRun expected = onVirtualInstrument(row->simLines, row->script);
    ASSERT_NE(expected.transcript.find("read "), std::string::npos);
    OverUsbfs usb(packet, row->faults);
    const ScriptRun got = usb.run(row->script);
    EXPECT_EQ(got.status, expected.status);
    EXPECT_EQ(got.transcript, expected.transcript);
    EXPECT_EQ(usb.sim.badFrames(), 0);
    EXPECT_EQ(usb.told, Lines{});
    // A lost answer is a read that libusb gives up on at its time-out, discarding the transfer.
    EXPECT_EQ(std::ranges::count(usb.bridge.log(), std::string("discard in")) > 0,
              static_cast<bool>(row->faults));
}

INSTANTIATE_TEST_SUITE_P(
    Usbfs, SameTranscript,
    ::testing::Combine(::testing::Values(&kScripts[0], &kScripts[1], &kScripts[2]),
                       ::testing::Values(std::size_t{64}, std::size_t{1}, std::size_t{5})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param)->name) + "In" +
               std::to_string(std::get<1>(info.param)) + "BytePackets";
    });

TEST_F(UsbfsTest, AnInstrumentUnpluggedMidTransferEndsTheProgramWithTheLinksMessage) {
    struct Row {
        std::size_t unplugAfter;  // bytes of the refresh the bridge takes before it is pulled out
        const char* expected;     // a line of the transcript
    };
    // The start-up's frames: the monitor's first activation sets both channels' ranges.
    constexpr std::size_t kStartupBytes = 8 * 8;
    for (const Row& r : {
             Row{1, "write 4 31 3 252 3 0 0 33 -> 255"},        // inside the first frame
             Row{8, "read 1 -> status 255"},                    // while it waits for the answer
             Row{8 * 2 + 5, "write 4 30 0 0 0 0 0 30 -> 255"},  // inside the third frame
         }) {
        OverUsbfs usb;
        usb.bridge.unplugAfter(kStartupBytes + r.unplugAfter);
        const ScriptRun got = usb.run(kSingleToneRefresh + "mark never\n");
        EXPECT_EQ(got.status, cli::kProgramEnded) << got.transcript;
        EXPECT_NE(got.transcript.find(std::string("\n") + r.expected + "\n"), std::string::npos)
            << got.transcript;
        EXPECT_TRUE(got.transcript.ends_with(
            "message Error finding TUNX3K device. Aborting application.\nend\n"))
            << got.transcript;
    }
}

// The message names the cause: the window is all a user who started from the desktop sees.
TEST_F(UsbfsTest, AnInterfaceAnotherProgramHoldsIsNotOpenedAndTheMessageSaysWhy) {
    OverUsbfs usb;
    usb.bridge.setHeldElsewhere(true);
    const ScriptRun got = usb.run("mark never\n");
    EXPECT_EQ(got.status, cli::kProgramEnded);
    EXPECT_TRUE(got.transcript.ends_with(
        "open 0 -> 255\nmessage Error opening device: tunx4k-SIM0001. Application is aborting. "
        "Reset hardware and try again.\\n\\nThe USB device 10c4:ea61 at bus 1 device 3 cannot be "
        "opened: it is busy: another program is using it. Close that program and start "
        "again.\nend\n"))
        << got.transcript;
    ASSERT_EQ(usb.told.size(), 1u);
    EXPECT_NE(usb.told[0].find("it is busy: another program is using it"), std::string::npos)
        << usb.told[0];
    EXPECT_FALSE(usb.bridge.claimed());
}

}  // namespace
}  // namespace tunx::test
