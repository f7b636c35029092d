#include "link/Relay.h"

#include "common/Numbers.h"
#include "common/RegisterBytes.h"

namespace tunx {

Command switchCommand(SwitchLine which, bool on) {
    return {code::kSwitch, which.group, which.line, on ? 1 : 0, 0, 0};
}

Command dacCommand(int channel, std::int32_t value) {
    const BytePair bytes = lowBytes(value);
    return {code::kDac, bytes.high, bytes.low, channel, 0, 0};
}

namespace {

// Sends the level DAC pair for the current sgaten; false when a command failed.
bool sendLevelPair(Link& link) {
    GeneratorState& g = link.state().gen;
    // 16-bit arithmetic with overflow checking, then the halves rounded half to even.
    const std::int16_t upper = CInt(CInt(2045.0 - g.sgaten) + 1.0);
    const std::int16_t lower = CInt(static_cast<double>(g.sgaten) + 1);
    g.levelDac7 = CLng(upper / 2.0);
    g.levelDac3 = CLng(lower / 2.0);
    if (!link.send(dacCommand(dac::kLevelA, g.levelDac3), kRelayLabel)) {
        return false;
    }
    return link.send(dacCommand(dac::kLevelB, g.levelDac7), kRelayLabel);
}

}  // namespace

void sgrelayon(Link& link) {
    if (!sendLevelPair(link)) {
        return;
    }
    link.send(switchCommand(line::kAttenuator20dB, link.state().gen.sgatten), kRelayLabel);
}

void sgrelayoff(Link& link) {
    link.state().gen.sgaten = kSgatenOff;
    if (!sendLevelPair(link)) {
        return;
    }
    link.send({code::kOutputClose, 0, 0, 0, 0, 0}, kRelayLabel);
}

}  // namespace tunx
