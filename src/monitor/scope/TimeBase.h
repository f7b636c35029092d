#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tunx {

// How one converter records at one time base.
struct Sampling {
    std::int32_t adcdiv = 0;       // sample-clock divider of the record command
    bool slowtb = false;           // record command 42 instead of 36
    bool vslowtb = false;          // rolling display, streamed samples
    double fftrate = 0;            // sample rate shown for the spectrum, 0 = none
    std::optional<float> hexpand;  // plot columns per sample; empty leaves it unchanged
};

// Undersampling: the converter records with a fixed divider while the generator is shifted.
struct Undersampling {
    std::int32_t undersdiv = 0;  // time per division in nanoseconds, for the generator
    double fftrate = 0;
};

inline constexpr std::int32_t kUndersamplingDivider = 4000;

// One entry of the time-base list ("1ms/div"), with what each acquisition mode makes of it.
struct TimeBase {
    std::string_view text;    // the list entry
    std::string_view perDiv;  // the caption of tdivtext: the entry without "/div"
    double number = 0;        // the number in the entry
    std::string_view unit;    // the cursor readout's unit text (" ms")
    std::optional<Sampling> twelveBit;
    std::optional<Sampling> realTime;  // the 8-bit converter in real time
    std::optional<Undersampling> under;
};

// The 28 time bases, as the list shows them: from "1s/div" down to "1ns/div".
const std::array<TimeBase, 28>& timeBases();

// The time per division of a time base, in seconds.
double secondsPerDivision(const TimeBase& tb);

// The time base whose list entry is `text` exactly; nullptr for any other text.
const TimeBase* findTimeBase(std::string_view text);

}  // namespace tunx
