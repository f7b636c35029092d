// libFuzzer target: the calibration file reader.
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/Report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tunx::fuzz::report(tunx::fuzz::calibrationFile({data, size}, TUNX_SHARE_DIR));
}
