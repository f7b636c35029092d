#include "monitor/scope/TimeBase.h"

#include <algorithm>

namespace tunx {

namespace {

constexpr std::string_view kNs = " ns";
constexpr std::string_view kUs = " us";
constexpr std::string_view kMs = " ms";
constexpr std::string_view kS = " s";

constexpr double kMasterClock = 40e6;
constexpr double kConversionClocks = 25;  // a fast 12-bit record's extra clocks a sample
constexpr double kMaxTwelveBitRate = 482e3;
constexpr double kSamplesPerDivision = 64;

constexpr bool S = true;   // slowtb
constexpr bool V = true;   // vslowtb
constexpr bool o = false;  // flag cleared

constexpr Sampling at(std::int32_t divider, bool slow, bool verySlow, double rate,
                      std::optional<float> expand) {
    return Sampling{divider, slow, verySlow, rate, expand};
}

constexpr std::nullopt_t none = std::nullopt;
constexpr std::nullopt_t unchanged = std::nullopt;

constexpr std::array<TimeBase, 28> kTimeBases{{
    {"1s/div", "1s", 1, kS, at(625000, S, V, 0, 1.0f), at(625000, S, V, 0, unchanged), none},
    {"500ms/div", "500ms", 500, kMs, at(312500, S, V, 0, 1.0f), at(312500, S, V, 0, unchanged),
     none},
    {"200ms/div", "200ms", 200, kMs, at(125000, S, V, 0, 1.0f), at(125000, S, V, 0, unchanged),
     none},
    {"100ms/div", "100ms", 100, kMs, at(62500, S, o, 256000, 1.0f), at(62500, S, o, 640, 1.0f),
     none},
    {"50ms/div", "50ms", 50, kMs, at(31250, S, o, 128000, 1.0f), at(31250, S, o, 1280, 1.0f), none},
    {"20ms/div", "20ms", 20, kMs, at(12500, S, o, 51200, 1.0f), at(12500, S, o, 3200, 1.0f), none},
    {"10ms/div", "10ms", 10, kMs, at(6250, S, o, 25600, 1.0f), at(6250, S, o, 6400, 1.0f), none},
    {"5ms/div", "5ms", 5, kMs, at(3092, o, o, 12800, 1.0f), at(3125, o, o, 12800, 1.0f), none},
    {"2ms/div", "2ms", 2, kMs, at(1225, o, o, 32000, 1.0f), at(1250, o, o, 32000, 1.0f), none},
    {"1ms/div", "1ms", 1, kMs, at(600, o, o, 64000, 1.0f), at(625, o, o, 64000, 1.0f), none},
    {"500us/div", "500us", 500, kUs, at(287, o, o, 128000, 1.0f), at(313, o, o, 128000, 1.0f),
     none},
    {"200us/div", "200us", 200, kUs, at(99, o, o, 320000, 1.0f), at(125, o, o, 320000, 1.0f), none},
    {"100us/div", "100us", 100, kUs, at(1, o, o, 486400, 1.327f), at(63, o, o, 640000, 1.01f),
     none},
    {"50us/div", "50us", 50, kUs, none, at(32, o, o, 1400000, 1.024f), none},
    {"20us/div", "20us", 20, kUs, none, at(13, o, o, 3080000, 1.04f), none},
    {"10us/div", "10us", 10, kUs, none, at(7, o, o, 5714285, 1.12f), none},
    {"5us/div", "5us", 5, kUs, none, at(6, o, o, 6600000, 1.936f), none},
    {"2us/div", "2us", 2, kUs, none, at(6, o, o, 6600000, 4.84f), none},
    {"1us/div", "1us", 1, kUs, none, at(0, o, o, 40000000, 1.6f), Undersampling{1000, 64000000}},
    {"500ns/div", "500ns", 500, kNs, none, at(0, o, o, 40000000, 3.2f),
     Undersampling{500, 128000000}},
    {"200ns/div", "200ns", 200, kNs, none, at(0, o, o, 40000000, 8.0f),
     Undersampling{200, 320000000}},
    {"100ns/div", "100ns", 100, kNs, none, at(0, o, o, 40000000, 16.0f),
     Undersampling{100, 640000000}},
    {"50ns/div", "50ns", 50, kNs, none, none, Undersampling{50, 0}},
    {"20ns/div", "20ns", 20, kNs, none, none, Undersampling{20, 0}},
    {"10ns/div", "10ns", 10, kNs, none, none, Undersampling{10, 0}},
    {"5ns/div", "5ns", 5, kNs, none, none, Undersampling{5, 0}},
    {"2ns/div", "2ns", 2, kNs, none, none, Undersampling{2, 0}},
    {"1ns/div", "1ns", 1, kNs, none, none, Undersampling{1, 0}},
}};

}  // namespace

const std::array<TimeBase, 28>& timeBases() {
    return kTimeBases;
}

double secondsPerDivision(const TimeBase& tb) {
    const double scale = tb.unit == kNs   ? 1e-9
                         : tb.unit == kUs ? 1e-6
                         : tb.unit == kMs ? 1e-3
                                          : 1.0;
    return tb.number * scale;
}

double converterRate(bool twelveBit, bool slowRecord, std::int32_t divider) {
    if (!twelveBit) {
        return divider > 0 ? kMasterClock / divider : kMasterClock;
    }
    const double clocks = slowRecord ? divider : divider + kConversionClocks;
    return clocks > 0 ? std::min(kMaxTwelveBitRate, kMasterClock / clocks) : kMaxTwelveBitRate;
}

std::optional<RecordTiming> timingOf(const TimeBase& tb, bool twelveBit, bool undersampling) {
    const std::optional<Sampling>& s = twelveBit ? tb.twelveBit : tb.realTime;
    if (!twelveBit && undersampling) {
        if (!tb.under) {
            return std::nullopt;
        }
        const double interval = secondsPerDivision(tb) / kSamplesPerDivision;
        return RecordTiming{interval, tb.under->fftrate == 0 ? 0 : 1 / interval, std::nullopt,
                            false};
    }
    if (!s) {
        return std::nullopt;
    }
    const double rate = converterRate(twelveBit, s->slowtb, s->adcdiv);
    return RecordTiming{1 / rate, s->fftrate == 0 ? 0 : rate, s->hexpand, s->vslowtb};
}

const TimeBase* findTimeBase(std::string_view text) {
    for (const TimeBase& row : timeBases()) {
        if (row.text == text) {
            return &row;
        }
    }
    return nullptr;
}

bool onConverterClock(const TimeBase& tb) {
    return tb.realTime && tb.realTime->adcdiv == 0;
}

}  // namespace tunx
