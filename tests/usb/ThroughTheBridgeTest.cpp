// The whole program over the USB backend, against a fake bridge whose firmware is the virtual
// instrument: the same script gives the same transcript as on the virtual instrument itself.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "cli/Runner.h"
#include "cli/Script.h"
#include "usb/SimulatedBridge.h"
#include "usb/UsbBackend.h"

namespace tunx::test {
namespace {

using Faults = std::function<void(sim::VirtualInstrument&)>;

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

// The script through the USB backend and a fake bridge to a virtual instrument.
struct OverUsb {
    OverUsb(std::size_t packetSize, const Faults& faults) : bridge(device, sim, packetSize) {
        if (faults) {
            faults(sim);
        }
    }
    ScriptRun run(const std::string& script) {
        return runScript(script, {.fast = true, .installDir = TUNX_SHARE_DIR, .device = &backend});
    }

    VirtualClock clock;
    sim::VirtualInstrument sim{clock};
    FakeUsbBus bus;
    FakeUsbDevice& device = bus.add({.serial = sim::kDefaultSerial});
    SimulatedBridge bridge;
    usb::UsbBackend backend{bus, usb::UsbId{}};
};

const std::string kSingleToneRefresh =
    "choose ModeSelect Single Tone Sine\nset Frek 1\nset Vpp 1\nclick RefreshBtn\n";

TEST(ThroughTheBridge, TheSameScriptGivesTheSameTranscriptAsTheVirtualInstrument) {
    struct Row {
        const char* what;
        std::string script;
        std::string simLines;  // faults of the instrument, as script lines
        Faults faults;         // the same faults, on the instrument behind the bridge
    };
    const std::vector<Row> rows = {
        {"a Single Tone Sine refresh", kSingleToneRefresh + "menu Form_Unload\n", "", {}},
        {"a refresh with refused and lost answers", kSingleToneRefresh,
         "sim nak 1 after 2\nsim mute 2 after 5\n",
         [](sim::VirtualInstrument& s) {
             s.nakNext(1, 2);
             s.muteNext(2, 5);
         }},
        {"an arbitrary waveform, with its RAM words",
         "choose ModeSelect Arbitrary\nset Vpp 1\nclick RUN\nclick STOP\n",
         "",
         {}},
    };
    for (const Row& r : rows) {
        const ScriptRun expected = onVirtualInstrument(r.simLines, r.script);
        ASSERT_NE(expected.transcript.find("read "), std::string::npos) << r.what;
        // A real bridge may cut the instrument's replies into packets of any size.
        for (const std::size_t packet : {64, 1, 5}) {
            OverUsb usb(packet, r.faults);
            const ScriptRun got = usb.run(r.script);
            EXPECT_EQ(got.status, expected.status) << r.what << ", packets of " << packet;
            EXPECT_EQ(got.transcript, expected.transcript) << r.what << ", packets of " << packet;
            EXPECT_EQ(usb.sim.badFrames(), 0) << r.what << ", packets of " << packet;
        }
    }
}

TEST(ThroughTheBridge, AnInstrumentUnpluggedMidRunEndsTheProgramWithItsMessage) {
    struct Row {
        std::size_t unplugAfter;  // bytes of the refresh the bridge takes before it is pulled out
        const char* expected;     // a line of the transcript
    };
    // The start-up's frames: the monitor's first activation sets both channels' ranges.
    constexpr std::size_t kStartupBytes = 8 * 8;
    for (const Row& r : {
             Row{1, "write 4 31 3 252 3 0 0 33 -> 255"},        // inside the first frame
             Row{8, "read 1 -> status 255"},                    // before the answer to it
             Row{8 * 2 + 5, "write 4 30 0 0 0 0 0 30 -> 255"},  // inside the third frame
         }) {
        OverUsb usb(64, {});
        usb.device.unplugAfter = kStartupBytes + r.unplugAfter;
        const ScriptRun got = usb.run(kSingleToneRefresh + "mark never\n");
        EXPECT_EQ(got.status, cli::kProgramEnded) << got.transcript;
        EXPECT_NE(got.transcript.find(std::string("\n") + r.expected + "\n"), std::string::npos)
            << got.transcript;
        EXPECT_TRUE(got.transcript.ends_with(
            "message Error finding TUNX3K device. Aborting application.\nend\n"))
            << got.transcript;
    }
}

}  // namespace
}  // namespace tunx::test
