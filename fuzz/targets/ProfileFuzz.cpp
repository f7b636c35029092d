// libFuzzer target: the arbitrary profile reader.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/Report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tunx::fuzz::report(tunx::fuzz::profileFile({data, size}, TUNX_SHARE_DIR));
}
