#include "monitor/scope/Record.h"

#include "common/Numbers.h"

namespace tunx {

namespace {
constexpr int kTriggerSearchEnd = 600;
constexpr int kTriggerHoldOff = 5;
constexpr int kPlotColumns = 640;
}  // namespace

void unpack12(RecordBuffer& buffer, std::size_t lastIndex, Samples& out) {
    out.fill(0);
    std::size_t n = 1;
    for (std::size_t k = 0; k <= lastIndex && k + 1 < buffer.size() && n < out.size();
         k += 2, ++n) {
        if (buffer[k] > kMaxHighByte) {
            buffer[k] = kMaxHighByte;
        }
        out[n] = buffer[k] * 256 + buffer[k + 1];
    }
}

void unpack8(const RecordBuffer& buffer, std::size_t first, std::size_t count, Samples& ch1,
             Samples& ch2) {
    ch1.fill(0);
    ch2.fill(0);
    std::size_t n = 1;
    for (std::size_t k = first; k < first + count && k + 1 < buffer.size() && n < ch1.size();
         k += 2, ++n) {
        ch2[n] = buffer[k];
        ch1[n] = buffer[k + 1];
    }
}

int softwareTrigger(const Samples& samples, int level, bool positiveEdge) {
    const auto farSide = [&](int t) {
        return positiveEdge ? samples[t] < level : samples[t] > level;
    };
    const auto crossed = [&](int t) {
        return positiveEdge ? samples[t] > level : samples[t] < level;
    };
    int t = 1;
    while (t <= kTriggerSearchEnd && !farSide(t)) {
        ++t;
    }
    t += kTriggerHoldOff;
    while (t <= kTriggerSearchEnd && !crossed(t)) {
        ++t;
    }
    return t == kTriggerSearchEnd + 1 ? 1 : t;
}

std::vector<int> traceColumns(float hexpand) {
    std::vector<int> columns;
    columns.reserve(kPlotColumns + 1);
    float x = 0;
    int c = 1;
    while (c <= kPlotColumns) {
        columns.push_back(c);
        x += hexpand;
        c = static_cast<int>(roundHalfEven(static_cast<double>(x) - 1.0)) + 1;
        if (hexpand <= 0) {
            break;  // a walk that never advances draws one column
        }
    }
    return columns;
}

}  // namespace tunx
