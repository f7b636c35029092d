#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace tunx {

// The line powers of the last records' spectra, for their power average and their max hold.
// Lines 1..512 of each record, in converter codes squared; the records were all taken with the
// settings `key` names (a change of range, rate, converter, channel or window starts afresh).
struct SpectrumHistory {
    std::string key;
    std::deque<std::vector<double>> powers;  // oldest first
    std::vector<double> maxHold;             // the highest power of each line since the start
    std::size_t taken = 0;                   // records since the start, for the max hold
};

}  // namespace tunx
