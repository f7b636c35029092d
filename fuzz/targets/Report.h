#pragma once

#include <cstdlib>
#include <iostream>

#include "fuzz/Entries.h"

namespace tunx::fuzz {

// libFuzzer's answer to one input: a finding is written out and stops the run as a crash does,
// so that libFuzzer keeps the input as a reproducer.
inline int report(const Finding& finding) {
    if (finding) {
        std::cerr << "finding: " << *finding << "\n";
        std::abort();
    }
    return 0;
}

}  // namespace tunx::fuzz
