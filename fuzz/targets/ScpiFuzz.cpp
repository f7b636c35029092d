// libFuzzer target: the remote control's line framing, SCPI parser and commands.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/Report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tunx::fuzz::report(tunx::fuzz::scpi({data, size}, TUNX_SHARE_DIR));
}
