#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "state/MonitorState.h"

namespace tunx {

// Sample arrays of one read-out, indexed from 1 like the program's (index 0 unused); samples
// beyond what the record holds read as 0.
inline constexpr std::size_t kSampleArraySize = 3501;
using Samples = std::array<std::int32_t, kSampleArraySize>;

// The first status byte that reports a finished record ("A").
inline constexpr std::uint8_t kRecordReady = 65;

// The highest 12-bit high byte the read-out accepts; anything above reads as this.
inline constexpr std::uint8_t kMaxHighByte = 16;

// 12-bit record: for every even index k up to `lastIndex`, a high byte above 16 is first set
// to 16 in the buffer, then sample n (n = 1, 2, ...) = byte k x 256 + byte k + 1.
void unpack12(RecordBuffer& buffer, std::size_t lastIndex, Samples& out);

// 8-bit record of CH2/CH1 byte pairs from index `first`: pair n (n = 1, 2, ...) gives
// CH2 = its first byte, CH1 = its second byte. Reads `count` bytes.
void unpack8(const RecordBuffer& buffer, std::size_t first, std::size_t count, Samples& ch1,
             Samples& ch2);

// The software trigger of an 8-bit record: the first sample t (1..600) on the far side of
// the level, then from t + 5 the first crossing back; 1 when no crossing follows, and the
// loop's own end values otherwise (606 when the record never reaches the near side).
int softwareTrigger(const Samples& samples, int level, bool positiveEdge);

// The plot columns a trace walks: sample j (from 1) goes to column c, starting at 1, then
// x += hexpand and c = rounded(x - 1) + 1, while c <= 640.
std::vector<int> traceColumns(float hexpand);

}  // namespace tunx
