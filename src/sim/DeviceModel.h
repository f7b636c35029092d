#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <utility>
#include <vector>

namespace tunx::sim {

inline constexpr std::size_t kRamWords = 1024;
// How many of the last acknowledged commands the model keeps.
inline constexpr std::size_t kKeptCommands = 4096;

// What the commands have programmed into the virtual instrument.
struct DeviceModel {
    // Switch lines by (group, line), level 1 or 0.
    std::map<std::pair<int, int>, int> switches;
    // DAC channels by number, 16-bit value.
    std::map<int, int> dacs;
    bool outputClosed = true;  // code 30 closes; a level DAC write opens it again
    int outputCloseCount = 0;

    // DDS registers.
    std::uint32_t ftw = 0;  // code 5
    int ftwUpdate = -1;     // byte 1 of the last code 6 (16 = output held at zero)
    int asf = 0;            // code 3
    int offsetCoarse = 0;   // code 13, as 16-bit signed values
    int offsetFine = 0;
    bool offsetSet = false;
    std::array<int, 5> cfr1{};          // code 1 bytes
    std::array<int, 5> cfr2{};          // code 2 or 24 bytes
    int lastClockCommand = 0;           // 2 or 24
    std::array<int, 5> clockSetting{};  // code 26 bytes
    bool clockSettingSet = false;
    std::array<int, 5> profile1{};     // code 21
    std::array<int, 5> profile2{};     // code 22
    std::array<int, 5> multipliers{};  // code 23
    std::array<int, 5> start{};        // code 20
    int startCount = 0;
    int triggerCount = 0;  // code 25

    // Order of the last commands that decide what the DDS plays (their number in the count of
    // acknowledged commands, from 0; -1 before the first): tuning word (5, 6), control register
    // 1, RAM write, profiles.
    long tuningAt = -1, cfr1At = -1, ramWriteAt = -1, profile1At = -1, profile2At = -1;

    // Waveform RAM. A RAM write fills its block from the highest address down, and the DDS
    // plays a block from its lowest address up, so words play in the reverse order of writing.
    std::array<std::uint32_t, kRamWords> ram{};
    int ramStart = 0;    // address of the last RAM write
    int ramCount = 0;    // words announced by the last RAM write
    int ramWritten = 0;  // words received for it

    // When the RAM last started playing from its first word (control register 1, a start or
    // trigger command, or a record that restarts the sweep), in instrument picoseconds, and
    // whether it plays (a single-shot pattern waits for its start).
    std::int64_t playStartPs = 0;
    bool playing = false;

    // How many commands were acknowledged, and the last kKeptCommands of them in order, as
    // their six command bytes: an instrument that runs for days keeps no more than that.
    long commandCount = 0;
    std::deque<std::array<int, 6>> commands;
};

}  // namespace tunx::sim
