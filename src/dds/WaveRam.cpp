#include "dds/WaveRam.h"

#include <array>

#include "common/Hex.h"
#include "common/Numbers.h"

namespace tunx {

namespace {

constexpr std::int32_t kMaxField = 0xFFFF;  // count and address travel as 16 bits

bool ramCommand(Link& link, int code, std::int16_t startadres, std::int32_t bytenumber,
                const char* label) {
    // A count or address that does not fit its two bytes would leave the instrument waiting
    // for a different number of words than follow; such a command is not sent.
    bool ok = bytenumber >= 0 && bytenumber <= kMaxField && startadres >= 0;
    if (ok) {
        const auto count = ltotx(bytenumber);
        const auto address = ltotx(startadres);
        ok = link.send({code, CInt(std::stod(count[2])), CInt(std::stod(count[3])),
                        CInt(std::stod(address[2])), CInt(std::stod(address[3])), 0},
                       label);
    }
    if (!ok) {
        link.ui().MsgBox(kMsgProfileError);
        link.state().gen.sgerror = true;
    }
    return ok;
}

}  // namespace

bool ramwrinit(Link& link, std::int16_t startadres, std::int32_t bytenumber) {
    return ramCommand(link, code::kRamWrite, startadres, bytenumber, "RamWrite_");
}

bool ramrdinit(Link& link, std::int16_t startadres, std::int32_t bytenumber) {
    return ramCommand(link, code::kRamRead, startadres, bytenumber, "RamRead_");
}

bool writeram(Link& link) {
    SharedState& s = link.state();
    const std::array<std::uint8_t, 4> word = {CByte(s.link.cmd[1]), CByte(s.link.cmd[2]),
                                              CByte(s.link.cmd[3]), CByte(s.link.cmd[4])};
    std::uint32_t written = 0;
    const int status = link.usb().SI_Write(s.link.devhandle, word, written);
    link.showStatus(status);
    if (status != usb::kSuccess) {
        link.ui().MsgBox(kMsgProfileError);
        s.gen.sgerror = true;
        return false;
    }
    return true;
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
            if (!writeram(link)) {
                return false;
            }
        }
    }
    return link.rxver(1, kRamAckTimeoutMs, kLabelRamAck);
}

}  // namespace tunx
