#pragma once

#include "monitor/scope/Ranges.h"

namespace tunx {

class Form1;

inline constexpr const char* kRelayStep = "_Relay_ON_";

// A channel's volts-per-division handler: range switches, range DAC and offset DAC, with the
// channel's scale and span kept for the read-out. False when a command failed ("Error
// Vold/div set" shown).
bool channelVoltsPerDiv(Form1& w, Channel ch);

// Arms one acquisition with the switch, trigger and record commands of the panel's settings.
// False when a command failed ("Error setting scope" shown).
bool setscope2t(Form1& w);
// The same for the offset calibration: free-running, record command 36, 3 s time-outs.
bool setscopeforcalb(Form1& w);
// The acquisition half of the fast sweep: the detector on the 12-bit converter, slow record.
bool setscopeforrf(Form1& w);

// The record mode byte of the re-arm after a record: the long record, else waiting for a
// trigger when `triggered`, else free-running; with the 12-bit converter's flag.
int rearmModeByte(Form1& w, bool triggered);
// Sends the record command (36, or 42 on the slow time bases) with `modeByte`.
bool sendRecordCommand(Form1& w, int modeByte, const char* stepLabel);

}  // namespace tunx
