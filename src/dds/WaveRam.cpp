#include "dds/WaveRam.h"

#include <array>

#include "common/Hex.h"
#include "common/Numbers.h"

namespace tunx {

namespace {

bool ramCommand(Link& link, int code, std::int16_t startadres, std::int32_t bytenumber,
                const char* label) {
    const auto count = ltotx(bytenumber);
    const auto address = ltotx(startadres);
    const bool ok = link.send({code, CInt(std::stod(count[2])), CInt(std::stod(count[3])),
                               CInt(std::stod(address[2])), CInt(std::stod(address[3])), 0},
                              label);
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

}  // namespace tunx
