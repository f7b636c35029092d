// A started program on the virtual instrument, and the measuring side spoken to in raw
// frames: the V/div, trigger and record commands with the arithmetic the monitor uses.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "monitor/scope/Ranges.h"
#include "support/Bench.h"

namespace tunx::test {

struct ScopeRig : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(rig.start()); }

    void instruct(const std::string& line) { tunx::test::instruct(rig, line); }
    void generator(const std::string& mode, const std::string& fields) {
        tunx::test::generator(rig, mode, fields);
    }
    void sine(const std::string& frek, const std::string& unit, const std::string& vpp,
              const std::string& vppUnit = "Vpp") {
        generatorSine(rig, frek, unit, vpp, vppUnit);
    }

    int write(const Bytes& data) { return writeRaw(sim, handle, data); }
    std::pair<int, Bytes> read(std::size_t size) { return readRaw(sim, handle, size); }
    // An acknowledged command.
    void send(const std::array<int, 6>& cmd) {
        ASSERT_EQ(write(frame(cmd)), 0);
        ASSERT_EQ(read(1), (std::pair<int, Bytes>{0, {6}})) << cmd[0];
    }

    // The V/div handler's commands for a channel (0 CH1, 1 CH2) and range ("1V" .. "10mV"):
    // switch lines, range DAC and offset DAC for the position, by the monitor's arithmetic and
    // the calibration the program loaded. Returns spanadc, the 12-bit codes of 8 divisions.
    int vdiv(int ch, const char* text, int pos) {
        const Channel c = ch == 0 ? Channel::CH1 : Channel::CH2;
        const VoltsRange& range = *findRange(text);
        const RangeSetting s = computeRange(c, range, rig.s().cal);
        for (const Command& k : rangeSwitches(c, range.group)) {
            send({k.code, k.b1, k.b2, k.b3, k.b4, k.b5});
        }
        send({31, s.rangeDac >> 8, s.rangeDac & 0xFF, rangeDacChannel(c), 0, 0});
        const int value = offsetDacValue(pos, s.positionSpan, s.offsetBase, s.offslope);
        send({31, value >> 8, value & 0xFF, offsetDacChannel(c), 0, 0});
        return s.spanadc;
    }
    // Trigger (command 35), set-up (38) and arm (36, or 42 when slow).
    void arm(std::uint32_t divider, int mode, int level = 0, int code = 0, int source = 2,
             bool slow = false) {
        send({35, level >> 8, level & 0xFF, code, 1, source});
        send({38, 3, 2, 0, 0, 0});
        send({slow ? 42 : 36, static_cast<int>(divider >> 24),
              static_cast<int>((divider >> 16) & 0xFF), static_cast<int>((divider >> 8) & 0xFF),
              static_cast<int>(divider & 0xFF), mode});
    }
    // The status, then a record request for `count` bytes: the bytes that came.
    Bytes record(int count) {
        EXPECT_EQ(read(2), (std::pair<int, Bytes>{0, {65, 65}}));
        EXPECT_EQ(write(frame({37, count >> 8, count & 0xFF, 0, 0, 0})), 0);
        return read(static_cast<std::size_t>(count) + 10).second;
    }
    // CH1 (odd bytes) or CH2 (even bytes) of an 8-bit record.
    static std::vector<double> channel8(const Bytes& b, int ch) {
        std::vector<double> out;
        for (std::size_t i = ch == 0 ? 1 : 0; i < b.size(); i += 2) {
            out.push_back(b[i]);
        }
        return out;
    }
    static std::vector<double> samples12(const Bytes& b) {
        std::vector<double> out;
        for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
            out.push_back(std::min<int>(b[i], 16) * 256 + b[i + 1]);
        }
        return out;
    }

    Rig rig;
    sim::VirtualInstrument& sim = rig.sim;
    DeviceHandle handle = 0x7A00;
};

}  // namespace tunx::test
