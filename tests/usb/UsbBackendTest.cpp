// The USB backend against fake devices: enumeration, strings, the open and close requests,
// flush, packet reassembly, time-outs and what every failure becomes.
#include "usb/UsbBackend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli/Runner.h"
#include "cli/Script.h"
#include "support/Rig.h"
#include "usb/FakeUsb.h"
#include "usb/Results.h"
#include "usb/UdevRule.h"

namespace tunx::test {
namespace {

using usb::UsbResult;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

constexpr DeviceHandle kNoDevice = 1;  // what the program holds before it opens one
const std::string kEnable = "control 40 02 0002 0000";
const std::string kDisable = "control 40 02 0004 0000";
const std::string kFlush = "control 40 02 0001 0000";
const std::string kOpen = "open bus 1 device 5";
const std::string kClosed = "close bus 1 device 5";

Bytes counting(std::size_t n, std::uint8_t from = 0) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) {
        b[i] = static_cast<std::uint8_t>(from + i);
    }
    return b;
}

// A fresh backend on a fake bus; what it tells the user is kept in `told`.
struct UsbRig {
    explicit UsbRig(usb::UsbId id = {})
        : backend(bus, id, [this](const std::string& why) { told.push_back(why); }) {}

    std::uint32_t list() {
        std::uint32_t count = 99;
        EXPECT_EQ(backend.SI_GetNumDevices(count), usb::kSuccess);
        return count;
    }
    // Lists the devices and opens device `index`: the status.
    int open(std::uint32_t index = 0) {
        list();
        return backend.SI_Open(index, handle);
    }
    // Adds the bridge, opens it with the given time-outs and clears the log.
    FakeUsbDevice& opened(FakeDeviceInfo info = {}, std::uint32_t readTimeout = 1000,
                          std::uint32_t writeTimeout = 1000) {
        FakeUsbDevice& d = bus.add(std::move(info));
        EXPECT_EQ(open(), usb::kSuccess);
        EXPECT_EQ(backend.SI_SetTimeouts(readTimeout, writeTimeout), usb::kSuccess);
        bus.world.log.clear();
        return d;
    }
    // The text of a product string read into a buffer of `size` bytes; its status in `status`.
    std::string productString(std::uint32_t index, int option = 0, std::size_t size = 257) {
        std::vector<char> buffer(size, 'x');
        status = backend.SI_GetProductString(index, buffer, option);
        return buffer.empty() ? "(no buffer)" : std::string(buffer.data());
    }
    // Reads `size` bytes: the status and what came.
    std::pair<int, Bytes> read(std::size_t size) {
        Bytes buffer(size, 0xEE);
        std::uint32_t n = 0;
        const int s = backend.SI_Read(handle, buffer, n);
        buffer.resize(n);
        return {s, buffer};
    }
    int write(const Bytes& data, std::uint32_t* written = nullptr) {
        std::uint32_t n = 99;
        const int s = backend.SI_Write(handle, data, n);
        if (written != nullptr) {
            *written = n;
        }
        return s;
    }
    // The library calls since the log was last cleared, joined by '|'.
    std::string calls() const {
        std::string out;
        for (const std::string& line : bus.world.log) {
            out += (out.empty() ? "" : "|") + line;
        }
        return out;
    }

    FakeUsbBus bus;
    Lines told;
    usb::UsbBackend backend;
    DeviceHandle handle = kNoDevice;
    int status = -1;
};

TEST(Enumeration, ListsOnlyBridgesWithTheGivenIdInBusOrder) {
    struct Row {
        std::vector<std::pair<std::uint16_t, std::uint16_t>> ids;  // of the attached devices
        usb::UsbId wanted;
        Lines serials;  // of the devices reported, in order
    };
    for (const Row& r : {
             Row{{}, {}, {}}, Row{{{0x10C4, 0xEA61}}, {}, {"dev0"}},
             Row{{{0x046D, 0xC52B}, {0x10C4, 0xEA61}, {0x10C4, 0xEA60}, {0x10C4, 0xEA61}},
                 {},
                 {"dev1", "dev3"}},
             Row{{{0x10C4, 0xEA61}, {0x10C4, 0xEA60}}, {0x10C4, 0xEA60}, {"dev1"}},
             Row{{{0xEA61, 0x10C4}}, {}, {}},  // vendor and product swapped
         }) {
        UsbRig rig(r.wanted);
        for (std::size_t i = 0; i < r.ids.size(); ++i) {
            rig.bus.add({.descriptor = {r.ids[i].first, r.ids[i].second, 2, 3},
                         .serial = "dev" + std::to_string(i)});
        }
        Lines serials;
        for (std::uint32_t i = 0, count = rig.list(); i < count; ++i) {
            serials.push_back(rig.productString(i));
        }
        EXPECT_EQ(serials, r.serials) << usb::toText(r.wanted);
    }
}

TEST(Enumeration, SkipsUnreadableAndUnpluggedDevicesAndReportsAFailedList) {
    UsbRig rig;
    rig.bus.add({.serial = "a"}).fail("descriptor", UsbResult::Io);
    rig.bus.add({.serial = "b"}).unplug();
    rig.bus.add({.serial = "c"});
    EXPECT_EQ(rig.list(), 1u);
    EXPECT_EQ(rig.productString(0), "c");
    rig.bus.listResult = UsbResult::NoMem;
    std::uint32_t count = 99;
    EXPECT_EQ(rig.backend.SI_GetNumDevices(count), usb::kIoError);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(rig.productString(0), "");  // the failed listing forgot the old one
    EXPECT_EQ(rig.status, usb::kDeviceNotFound);
}

// The serial (option 0) or the description (option 1) of any length, cut to the caller's
// buffer, and the device closed again; a failure leaves an empty text, and says why when the
// device cannot be opened.
TEST(ProductString, AnyLengthFitsTheCallersBufferAndFailuresLeaveItEmpty) {
    struct Row {
        std::string serial = "tunx4k-ABC1234";
        int option = 0;
        std::size_t buffer = 257;
        std::string expected = {};
        int status = usb::kSuccess;
        const char* call = "";  // the call that fails with `result`
        UsbResult result = UsbResult::Success;
        std::uint8_t serialIndex = 3;
        std::uint32_t device = 0;
        const char* told = "";  // how the line to the user ends; "" for none
    };
    const std::string longText(300, 'k');
    for (const Row& r : {
             Row{.expected = "tunx4k-ABC1234"},
             Row{.serial = "", .expected = ""},
             Row{.serial = longText, .expected = longText.substr(0, 256)},
             Row{.buffer = 5, .expected = "tunx"},
             Row{.buffer = 1, .expected = ""},
             Row{.option = 1, .expected = "TUNX4K Signal"},
             Row{.option = 2, .status = usb::kInvalidParameter},
             Row{.option = -1, .status = usb::kInvalidParameter},
             Row{.serialIndex = 0},  // no serial string
             Row{.status = usb::kDeviceNotFound, .device = 1},
             Row{.buffer = 0, .expected = "(no buffer)", .status = usb::kInvalidParameter},
             Row{.status = usb::kDeviceNotFound,
             .call = "open",
             .result = UsbResult::Access,
             .told = "plug it in again."},
             Row{.status = usb::kDeviceNotFound,
             .call = "open",
             .result = UsbResult::NoDevice,
             .told = "unplugged."},
             Row{.status = usb::kIoError, .call = "string", .result = UsbResult::Pipe},
             Row{.status = usb::kDeviceNotFound, .call = "string", .result = UsbResult::NoDevice},
             Row{.status = usb::kIoError, .call = "descriptor", .result = UsbResult::Io},
         }) {
        UsbRig rig;
        rig.bus.add({.descriptor = {0x10C4, 0xEA61, 2, r.serialIndex},
                     .serial = r.serial,
                     .description = "TUNX4K Signal"});
        rig.list();
        rig.bus.devices[0]->fail(r.call, r.result);
        const std::string what = r.serial.substr(0, 20) + " " + r.call;
        EXPECT_EQ(rig.productString(r.device, r.option, r.buffer), r.expected) << what;
        EXPECT_EQ(rig.status, r.status) << what;
        EXPECT_EQ(rig.bus.world.openHandles, 0) << what;
        EXPECT_EQ(rig.told.size(), *r.told ? 1u : 0u) << what;
        EXPECT_TRUE(rig.told.empty() || rig.told[0].ends_with(r.told)) << rig.told[0];
    }
}

// Open detaches the kernel driver, claims the data interface (the first vendor interface with
// a bulk IN and a bulk OUT endpoint) and enables the bridge; close disables it and gives it
// back, once.
TEST(OpenAndClose, OpenDetachesClaimsAndEnablesCloseDisablesAndGivesTheDeviceBack) {
    usb::InterfaceDescriptor notVendor = bridgeInterface(0, 0x81, 0x01);
    notVendor.interfaceClass = 0x0A;
    usb::InterfaceDescriptor oneWay = bridgeInterface(1, 0x82, 0x02);
    oneWay.endpoints.pop_back();
    usb::InterfaceDescriptor interruptFirst = bridgeInterface(2, 0x83, 0x04);
    interruptFirst.endpoints.insert(interruptFirst.endpoints.begin(), {0x85, 0x03, 16});
    UsbRig rig;
    rig.bus.add({.interfaces = {notVendor, oneWay, interruptFirst}}).send({6});
    ASSERT_EQ(rig.open(), usb::kSuccess);
    EXPECT_NE(rig.handle, kNoDevice);
    EXPECT_EQ(rig.calls(), kOpen + "|auto-detach 1|claim 2|" + kEnable);
    EXPECT_EQ(rig.bus.world.openHandles, 1);
    rig.bus.world.log.clear();
    EXPECT_EQ(rig.write({1, 2, 3}), usb::kSuccess);
    EXPECT_EQ(rig.read(1), (std::pair<int, Bytes>{usb::kSuccess, {6}}));
    EXPECT_EQ(rig.backend.SI_Close(rig.handle), usb::kSuccess);
    EXPECT_EQ(rig.calls(), "out 04 3 1000|in 83 64 1000|" + kDisable + "|release 2|" + kClosed);
    EXPECT_EQ(rig.bus.world.openHandles, 0);
    EXPECT_EQ(rig.backend.SI_Close(rig.handle), usb::kInvalidHandle);
    EXPECT_TRUE(rig.told.empty());
}

TEST(OpenAndClose, AFailedOpenSaysWhyAndLeavesNothingOpen) {
    struct Row {
        std::string call;
        UsbResult result;
        int status;
        const char* told;   // how the line to the user ends; "" for none
        std::string calls;  // the calls that were made
    };
    const std::string claim = kOpen + "|auto-detach 1|claim 0";
    for (const Row& r : {
             Row{"open", UsbResult::Access, usb::kDeviceNotFound,
                 "no permission to open it. Install the udev rule that comes with the program "
                 "(README, \"Real instrument\"), then unplug the instrument and plug it in again.",
                 kOpen},
             Row{"open", UsbResult::NoDevice, usb::kDeviceNotFound, "it was unplugged.", kOpen},
             Row{"claim", UsbResult::Busy, usb::kDeviceNotFound,
                 "busy: another program is using it. Close that program and start again.",
                 claim + "|" + kClosed},
             Row{"claim", UsbResult::Access, usb::kDeviceNotFound, "plug it in again.",
                 claim + "|" + kClosed},
             Row{"auto-detach", UsbResult::NotSupported, usb::kSuccess, "", claim + "|" + kEnable},
             Row{"auto-detach", UsbResult::Io, usb::kIoError, "USB error: input/output error.",
                 kOpen + "|auto-detach 1|" + kClosed},
             Row{kEnable, UsbResult::Timeout, usb::kIoError, "USB error: timed out.",
                 claim + "|" + kEnable + "|release 0|" + kClosed},
             Row{kEnable, UsbResult::NoDevice, usb::kDeviceNotFound, "unplugged.",
                 claim + "|" + kEnable + "|release 0|" + kClosed},
             Row{"config", UsbResult::Io, usb::kIoError, "USB error: input/output error.", ""},
         }) {
        UsbRig rig;
        rig.bus.add().fail(r.call, r.result);
        EXPECT_EQ(rig.open(), r.status) << r.call;
        EXPECT_EQ(rig.calls(), r.calls) << r.call;
        if (r.status == usb::kSuccess) {
            EXPECT_TRUE(rig.told.empty());
            continue;
        }
        EXPECT_EQ(std::pair(rig.bus.world.openHandles, rig.handle), std::pair(0, kNoDevice));
        ASSERT_EQ(rig.told.size(), 1u) << r.call;
        EXPECT_TRUE(
            rig.told[0].starts_with("cannot open the USB device 10c4:ea61 at bus 1 device 5: "))
            << rig.told[0];
        EXPECT_TRUE(rig.told[0].ends_with(r.told)) << rig.told[0];
    }
    // A device without the bridge's interface, and one beyond the list.
    usb::InterfaceDescriptor cdc = bridgeInterface();
    cdc.interfaceClass = 0x0A;
    UsbRig rig;
    rig.bus.add({.interfaces = {cdc}});
    EXPECT_EQ(rig.open(0), usb::kDeviceNotFound);
    ASSERT_EQ(rig.told.size(), 1u);
    EXPECT_TRUE(
        rig.told[0].ends_with("no vendor interface with a bulk IN and a bulk OUT endpoint."));
    EXPECT_EQ(rig.open(1), usb::kDeviceNotFound);
    EXPECT_EQ(rig.calls(), "");
}

TEST(OpenAndClose, EveryCallOnAHandleThatIsNotOpenIsRefused) {
    UsbRig rig;
    rig.opened();
    const DeviceHandle good = rig.handle;
    for (const DeviceHandle h : {kNoDevice, DeviceHandle{0}, good + 1}) {
        rig.handle = h;
        EXPECT_EQ(rig.backend.SI_SetBaudRate(h, 115200), usb::kInvalidHandle);
        EXPECT_EQ(rig.backend.SI_FlushBuffers(h, 1, 1), usb::kInvalidHandle);
        EXPECT_EQ(rig.write({4}), usb::kInvalidHandle);
        EXPECT_EQ(rig.read(1).first, usb::kInvalidHandle);
        EXPECT_EQ(rig.backend.SI_Close(h), usb::kInvalidHandle);
    }
    EXPECT_EQ(rig.calls(), "");
    EXPECT_EQ(rig.backend.SI_SetBaudRate(good, 115200), usb::kSuccess);  // a fixed-rate link
    EXPECT_EQ(rig.backend.SI_Close(good), usb::kSuccess);
    EXPECT_EQ(rig.backend.SI_SetBaudRate(good, 115200), usb::kInvalidHandle);
    ASSERT_EQ(rig.open(), usb::kSuccess);
    EXPECT_NE(rig.handle, good) << "a new open gives a new handle";
}

TEST(OpenAndClose, AnOpenDeviceIsGivenBackWhenTheBackendEnds) {
    FakeUsbBus bus;
    bus.add();
    {
        usb::UsbBackend backend(bus, {});
        std::uint32_t count = 0;
        DeviceHandle h = 0;
        ASSERT_EQ(backend.SI_GetNumDevices(count), usb::kSuccess);
        ASSERT_EQ(backend.SI_Open(0, h), usb::kSuccess);
        bus.world.log.clear();
    }
    EXPECT_EQ(bus.world.log, (Lines{kDisable, "release 0", kClosed}));
    EXPECT_EQ(bus.world.openHandles, 0);
}

// Flushing the receive side empties the bridge and what the host kept of a packet; a failed
// flush is a failure.
TEST(Flush, EmptiesTheBridgeAndWhatTheHostKept) {
    struct Row {
        std::uint8_t tx, rx;
        std::string calls;
        std::size_t keptAfter;  // of the 63 bytes left over by a 1-byte read of a full packet
    };
    for (const Row& r :
         {Row{1, 1, kFlush, 0}, Row{0, 1, kFlush, 0}, Row{1, 0, kFlush, 63}, Row{0, 0, "", 63}}) {
        UsbRig rig;
        rig.opened(FakeDeviceInfo{}, 10).send(counting(64));
        ASSERT_EQ(rig.read(1).second, counting(1));
        rig.bus.world.log.clear();
        EXPECT_EQ(rig.backend.SI_FlushBuffers(rig.handle, r.tx, r.rx), usb::kSuccess);
        EXPECT_EQ(rig.calls(), r.calls);
        EXPECT_EQ(rig.read(64).second.size(), r.keptAfter) << int(r.tx) << int(r.rx);
    }
    UsbRig rig;
    FakeUsbDevice& d = rig.opened();
    d.fail(kFlush, UsbResult::Pipe);
    EXPECT_EQ(rig.backend.SI_FlushBuffers(rig.handle, 1, 1), usb::kIoError);
    d.unplug();
    EXPECT_EQ(rig.backend.SI_FlushBuffers(rig.handle, 1, 1), usb::kDeviceNotFound);
}

TEST(Read, ReassemblesPacketsAndKeepsTheSurplus) {
    struct Sent {
        Bytes bytes;
        std::size_t packet = 64;  // the device cuts them into packets of this size
        std::int64_t at = 0;
    };
    struct Row {
        const char* what;
        std::vector<Sent> sent;
        std::vector<std::size_t> reads;  // sizes asked for, in order
        std::vector<std::size_t> got;    // sizes received
        std::string transfers;           // bulk IN transfers: endpoint, length, time-out
        std::uint32_t timeout = 1000;    // the read time-out
        std::int64_t waited = -1;        // the time the reads took, when checked
    };
    std::string oddPackets;  // 1300 bytes in packets of 7, each transfer asking what is left
    for (int left = 1300; left > 0; left -= 7) {
        oddPackets += "in 81 " + std::to_string((left + 63) / 64 * 64) + " 1000|";
    }
    oddPackets.pop_back();
    const std::string in64 = "in 81 64 1000";
    for (const Row& r : {
             Row{"an acknowledgement", {{{6}}}, {1}, {1}, in64},
             Row{"two bytes in two packets", {{{1, 2}, 1}}, {2}, {2}, in64 + "|" + in64},
             Row{"a full packet read in parts",
                 {{counting(64)}, {counting(10, 64)}},
                 {10, 60, 4},
                 {10, 60, 4},
                 in64 + "|" + in64},
             Row{"a scope record", {{counting(4096)}}, {4096}, {4096}, "in 81 4096 1000"},
             Row{"a record in odd packets", {{counting(1300), 7}}, {1300}, {1300}, oddPackets},
             Row{"fewer than asked: what came, after the time-out",
                 {{counting(70)}},
                 {100},
                 {70},
                 "in 81 128 1000|" + in64},
             Row{"a reply in parts: each transfer waits what is left of the time-out",
                 {{{1}, 64, 300}, {{2}, 64, 600}},
                 {2},
                 {2},
                 in64 + "|in 81 64 700"},
             Row{"a reply too late is there for the next read",
                 {{{9}, 64, 1500}},
                 {1, 1},
                 {0, 1},
                 in64 + "|" + in64},
             Row{"a zero-length packet ends a transfer, not the read",
                 {{{}}, {{5}}},
                 {1},
                 {1},
                 in64 + "|" + in64},
             // A read waits no longer than the read time-out, and 0 is not "for ever".
             Row{"nothing comes", {}, {1}, {0}, in64, 1000, 1000},
             Row{"nothing comes, short time-out", {}, {1}, {0}, "in 81 64 30", 30, 30},
             Row{"just in time", {{{6}, 64, 4999}}, {1}, {1}, "in 81 64 5000", 5000, 4999},
             Row{"just too late", {{{6}, 64, 5001}}, {1}, {0}, "in 81 64 5000", 5000, 5000},
             Row{"no time-out", {}, {1}, {0}, "in 81 64 1", 0, 1},
         }) {
        UsbRig rig;
        FakeUsbDevice& d = rig.opened(FakeDeviceInfo{}, r.timeout, 7);
        Bytes all, received;
        for (const Sent& s : r.sent) {
            d.send(s.bytes, s.packet, s.at);
            all.insert(all.end(), s.bytes.begin(), s.bytes.end());
        }
        std::vector<std::size_t> got;
        for (const std::size_t size : r.reads) {
            const auto [status, bytes] = rig.read(size);
            EXPECT_EQ(status, bytes.empty() ? usb::kReadTimedOut : usb::kSuccess) << r.what;
            got.push_back(bytes.size());
            received.insert(received.end(), bytes.begin(), bytes.end());
        }
        EXPECT_EQ(got, r.got) << r.what;
        EXPECT_EQ(received, Bytes(all.begin(), all.begin() + received.size())) << r.what;
        EXPECT_EQ(rig.calls(), r.transfers) << r.what;
        if (r.waited >= 0) {
            EXPECT_EQ(rig.bus.world.now, r.waited) << r.what;
        }
    }
}

TEST(Read, FailuresOtherThanATimeOutAreReadErrors) {
    for (const UsbResult r : {UsbResult::Io, UsbResult::Pipe, UsbResult::Overflow,
                              UsbResult::Interrupted, UsbResult::Other}) {
        UsbRig rig;
        rig.opened().fail("in", r);
        EXPECT_EQ(rig.read(2).first, usb::kReadError) << usb::wordsFor(r);
    }
    UsbRig rig;  // babble: a packet of 9 bytes where the endpoint allows 8
    rig.opened({.interfaces = {bridgeInterface(0, 0x81, 0x01, 8)}}).in.push_back({counting(9)});
    EXPECT_EQ(rig.read(1).first, usb::kReadError);
    EXPECT_EQ(rig.calls(), "in 81 8 1000");
}

TEST(Write, GoesOutWholeOrFailsWithWhatWasTaken) {
    struct Row {
        const char* what;
        std::optional<std::size_t> room, unplugAfter;
        UsbResult fault;
        int status;
        std::uint32_t written;
        std::int64_t waited;
    };
    for (const Row& r : {
             Row{"taken", {}, {}, UsbResult::Success, usb::kSuccess, 8, 0},
             Row{"refused after 5 bytes", 5, {}, UsbResult::Success, usb::kWriteError, 5, 2000},
             Row{"refused at once", 0, {}, UsbResult::Success, usb::kWriteError, 0, 2000},
             Row{"unplugged after 3 bytes", {}, 3, UsbResult::Success, usb::kDeviceNotFound, 3, 0},
             Row{"endpoint halted", {}, {}, UsbResult::Pipe, usb::kWriteError, 0, 0},
         }) {
        UsbRig rig;
        FakeUsbDevice& d = rig.opened(FakeDeviceInfo{}, 1000, 2000);
        d.outRoom = r.room;
        d.unplugAfter = r.unplugAfter;
        d.fail("out", r.fault);
        const Bytes frame{4, 32, 3, 15, 1, 0, 0, 51};
        std::uint32_t written = 99;
        EXPECT_EQ(rig.write(frame, &written), r.status) << r.what;
        EXPECT_EQ(written, r.written) << r.what;
        EXPECT_EQ(d.out, Bytes(frame.begin(), frame.begin() + r.written)) << r.what;
        EXPECT_EQ(rig.bus.world.now, r.waited) << r.what;
        EXPECT_EQ(rig.calls(), "out 01 8 2000") << r.what;
    }
}

TEST(Unplugged, MidTransferEveryCallFailsAndTheDeviceStillCloses) {
    UsbRig rig;
    FakeUsbDevice& d = rig.opened();
    d.send(counting(64));
    d.in.push_back({{}, 0, true});
    d.send(counting(10));  // never comes
    const auto [status, bytes] = rig.read(100);
    EXPECT_EQ(status, usb::kDeviceNotFound);
    EXPECT_EQ(bytes, counting(64)) << "what came before is handed over";
    EXPECT_EQ(rig.read(1).first, usb::kDeviceNotFound);
    EXPECT_EQ(rig.write({4, 1}), usb::kDeviceNotFound);
    EXPECT_EQ(rig.backend.SI_FlushBuffers(rig.handle, 1, 1), usb::kDeviceNotFound);
    EXPECT_EQ(rig.backend.SI_Close(rig.handle), usb::kDeviceNotFound);
    EXPECT_EQ(rig.bus.world.openHandles, 0);
    EXPECT_EQ(rig.list(), 0u);
}

// Only success is success; each failure gets the nearest status of the operation (enumerate,
// open, control, read, write). Every result not named is an I/O, read or write error.
TEST(ResultStatus, OnlySuccessIsSuccessAndEachFailureGetsTheNearestStatus) {
    using Op = usb::Operation;
    using Statuses = std::array<int, 5>;
    const auto statuses = [](UsbResult r) {
        return Statuses{usb::statusOf(r, Op::Enumerate), usb::statusOf(r, Op::Open),
                        usb::statusOf(r, Op::Control), usb::statusOf(r, Op::Read),
                        usb::statusOf(r, Op::Write)};
    };
    const std::pair<UsbResult, Statuses> named[] = {
        {UsbResult::Success, {0, 0, 0, 0, 0}},
        {UsbResult::NoDevice, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {UsbResult::Timeout, {0x08, 0x08, 0x08, 0x0D, 0x04}},
        {UsbResult::Access, {0x08, 0xFF, 0x08, 0x02, 0x04}},
        {UsbResult::Busy, {0x08, 0xFF, 0x08, 0x02, 0x04}},
        {UsbResult::NotFound, {0x08, 0xFF, 0x08, 0x02, 0x04}},
    };
    for (const auto& [result, expected] : named) {
        EXPECT_EQ(statuses(result), expected) << usb::wordsFor(result);
    }
    for (const UsbResult r : {UsbResult::Io, UsbResult::InvalidParam, UsbResult::Overflow,
                              UsbResult::Pipe, UsbResult::Interrupted, UsbResult::NoMem,
                              UsbResult::NotSupported, UsbResult::Other, UsbResult(-42)}) {
        EXPECT_EQ(statuses(r), (Statuses{0x08, 0x08, 0x08, 0x02, 0x04})) << usb::wordsFor(r);
    }
}

// When start-up finds no instrument it can use, its message box says what to check: that the
// instrument is plugged in, or why the device found could not be opened and what to do.
TEST(StartupOverUsb, TheMessageSaysWhatToCheck) {
    struct Row {
        const char* what;
        std::function<void(FakeUsbBus&)> attach;
        std::string message;  // as the transcript writes it
    };
    for (const Row& r : {
             Row{"nothing attached", [](FakeUsbBus&) {},
                 "ERROR!!! No attached device is found!!!\\n\\nCheck that the instrument is "
                 "plugged in: lsusb lists it as 10c4:ea61. Without one, tunx4k --simulate (the "
                 "menu entry \"TUNX4K on the Virtual Instrument\") runs the program on its "
                 "built-in virtual instrument."},
             Row{"no permission",
                 [](FakeUsbBus& bus) { bus.add().fail("open", UsbResult::Access); },
                 "Error finding TUNX3K device. Aborting application.\\n\\nThe USB device "
                 "10c4:ea61 at bus 1 device 5 cannot be opened: no permission to open it. Plug it "
                 "in again."},
             Row{"not one of ours", [](FakeUsbBus& bus) { bus.add({.serial = "other-0000001"}); },
                 "Error finding TUNX3K device. Aborting application."},
         }) {
        FakeUsbBus bus;
        r.attach(bus);
        usb::UsbBackend backend(bus, usb::UsbId{}, {}, "Plug it in again.");
        std::istringstream script("mark done\n");
        std::ostringstream transcript;
        cli::runScript(cli::parseScript(script),
                       {.fast = true, .installDir = TUNX_SHARE_DIR, .device = &backend},
                       transcript);
        EXPECT_NE(transcript.str().find("\nmessage " + r.message + "\n"), std::string::npos)
            << r.what << ":\n"
            << transcript.str();
    }
}

// Where the udev rule is decides what the user is told to do.
TEST(PermissionAdvice, NamesTheRuleAndWhatToDo) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(writeTempFile("advice.txt", "")).parent_path() / "advice";
    const fs::path etc = root / "etc-rules";
    const fs::path prefix = root / "opt";
    fs::remove_all(root);
    fs::create_directories(etc);
    fs::create_directories(prefix / "lib/udev/rules.d");
    fs::create_directories(prefix / "share/tunx4k");
    const std::string installDir = (prefix / "share/tunx4k").string() + "/";
    const std::string bare = (root / "bare/share/tunx4k").string() + "/";
    const std::string beside = (prefix / "lib/udev/rules.d/70-tunx4k.rules").string();
    std::ofstream(beside) << "rule";
    EXPECT_TRUE(
        usb::permissionAdvice(installDir, etc.string() + "/")
            .starts_with("Install the udev rule that gives access to the user at the "
                         "desktop: sudo cp " +
                         beside + " " + etc.string() +
                         "/ && sudo udevadm control "
                         "--reload-rules; then unplug the instrument and plug it in again"));
    EXPECT_TRUE(usb::permissionAdvice(bare, etc.string() + "/")
                    .starts_with("Install the program's udev rule 70-tunx4k.rules in " +
                                 etc.string() + "/ (README, \"Real instrument\"); then unplug"));
    std::ofstream(etc / "70-tunx4k.rules") << "rule";
    EXPECT_TRUE(usb::permissionAdvice(installDir, etc.string() + "/")
                    .starts_with("The udev rule " + (etc / "70-tunx4k.rules").string() +
                                 " gives access to the user at the desktop: unplug the instrument "
                                 "and plug it in again"));
}

TEST(UsbIdText, ParsesVendorAndProductInHexadecimal) {
    const std::pair<const char*, std::optional<usb::UsbId>> rows[] = {
        {"10c4:ea61", usb::UsbId{0x10C4, 0xEA61}},
        {"0x10C4:0XEA60", usb::UsbId{0x10C4, 0xEA60}},
        {"ffff:1", usb::UsbId{0xFFFF, 1}},
        {"ffff:0", std::nullopt},  // no device has id 0
        {"0:ea61", std::nullopt},
        {"10c4", std::nullopt},
        {"10c4:", std::nullopt},
        {":ea61", std::nullopt},
        {"10c4:ea61:1", std::nullopt},
        {"10000:1", std::nullopt},
        {"10c4:ea6g", std::nullopt},
        {"-1:2", std::nullopt},
        {"10c4 :ea61", std::nullopt},
    };
    for (const auto& [text, id] : rows) {
        EXPECT_EQ(usb::parseUsbId(text), id) << text;
    }
    EXPECT_EQ(usb::toText({0x1, 0xA}), "0001:000a");
}

}  // namespace
}  // namespace tunx::test
