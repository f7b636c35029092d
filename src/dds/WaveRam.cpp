#include "dds/WaveRam.h"

#include <array>

#include "common/Numbers.h"
#include "common/RegisterBytes.h"
#include "dds/Failure.h"

namespace tunx {

namespace {

bool ramCommand(Link& link, int code, std::int16_t startadres, std::int32_t bytenumber,
                const char* label) {
    // A count or address that does not fit its two bytes would leave the instrument waiting
    // for a different number of words than follow; such a command is not sent.
    bool ok = bytenumber >= 0 && bytenumber <= kMaxUnsigned16 && startadres >= 0;
    if (ok) {
        const BytePair count = lowBytes(bytenumber);
        const BytePair address = lowBytes(startadres);
        ok = link.send({code, count.high, count.low, address.high, address.low, 0}, label);
    }
    if (!ok) {
        failWith(link, kMsgProfileError);
    }
    return ok;
}

}  // namespace

bool ramwrinit(Link& link, std::int16_t startadres, std::int32_t bytenumber) {
    return ramCommand(link, code::kRamWrite, startadres, bytenumber, "RamWrite_");
}

void writeram(Link& link) {
    const auto& cmd = link.state().link.cmd;
    const std::array<std::uint8_t, 4> word = {CByte(cmd[1]), CByte(cmd[2]), CByte(cmd[3]),
                                              CByte(cmd[4])};
    link.writeRaw(word);
}

void writeram16(Link& link, std::int32_t word) {
    auto& cmd = link.state().link.cmd;
    const BytePair bytes = lowBytes(word);
    cmd[1] = static_cast<std::int16_t>(bytes.high);
    cmd[2] = static_cast<std::int16_t>(bytes.low);
    writeram(link);
}

void writeram32(Link& link, std::int32_t word) {
    auto& cmd = link.state().link.cmd;
    const auto bytes = registerBytes(word);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        cmd[i + 1] = static_cast<std::int16_t>(bytes[i]);
    }
    writeram(link);
}

bool writeLevelPattern(Link& link, std::initializer_list<LevelRun> runs) {
    std::int32_t total = 0;
    for (const LevelRun& run : runs) {
        total = CLng(static_cast<double>(total) + run.words);
    }
    if (!ramwrinit(link, 0, total)) {
        return false;
    }
    auto& cmd = link.state().link.cmd;
    for (const LevelRun& run : runs) {
        for (std::int32_t i = 0; i < run.words; ++i) {
            cmd[1] = static_cast<std::int16_t>(run.level);
            cmd[2] = 0;  // bytes 3-4 keep the start address of the RAM write command
            writeram(link);
        }
    }
    return link.rxver(kLabelRamAck);
}

}  // namespace tunx
