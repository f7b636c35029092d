#pragma once

#include <cstdint>
#include <initializer_list>

#include "controls/frmMainControls.h"
#include "link/Link.h"

namespace tunx {

inline constexpr const char* kMsgProfileError = "Loading Profile Error! Please, Verify your entry.";
// Step label of the acknowledgement read after the raw RAM words.
inline constexpr const char* kLabelRamAck = "Ram Write_";
// The play-mode text of the RAM modes that asks for one pass per trigger.
inline constexpr const char* kPlaySingle = "Single";

// Words of the waveform RAM.
inline constexpr std::int32_t kRamWords = 1024;

// Levels of the two-level patterns (byte 1 of a RAM word).
inline constexpr int kLevelHigh = 127;
inline constexpr int kLevelLow = 0;

// RAM write command (code 18): word count and start address. On failure shows the profile
// message and sets sgerror; returns whether it was acknowledged.
bool ramwrinit(Link& link, std::int16_t startadres, std::int32_t bytenumber);
// Writes command bytes 1-4 raw as one 4-byte RAM word (no frame). The status goes to the
// Status label; a failed write is a broken link and ends the application (Link::writeRaw):
// the instrument would otherwise take every later frame as the rest of the words.
void writeram(Link& link);
// writeram of a 16-bit word: bytes 1-2 take bits 15-8 and 7-0 of `word`, bytes 3-4 keep the
// start address of the RAM write command.
void writeram16(Link& link, std::int32_t word);
// writeram of a 32-bit word: bytes 1-4 take its four bytes, most significant first.
void writeram32(Link& link, std::int32_t word);

// A run of equal words of a two-level pattern.
struct LevelRun {
    int level = 0;
    std::int32_t words = 0;
};
// Writes a two-level pattern from address 0: the RAM write command for all the runs' words,
// the words (byte 1 = level, byte 2 = 0), then the acknowledgement read. False on a failure
// (the primitives have shown their messages).
bool writeLevelPattern(Link& link, std::initializer_list<LevelRun> runs);

// Loads the profile file named in flocation into the RAM (button "Load Profile from file").
void loadfile_Click(frmMainControls& panel, Link& link);
// Open-file dialog for the profile: the chosen path goes into flocation.
void SelectFile1_Click(frmMainControls& panel, Link& link);
// Programs the clock, the two profiles and the control register of the Arbitrary mode.
void setarb(frmMainControls& panel, Link& link);

}  // namespace tunx
