// libFuzzer target: the script parser of tunx4k-cli and the actions of its scripts.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/Report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tunx::fuzz::report(tunx::fuzz::script({data, size}, TUNX_SHARE_DIR));
}
