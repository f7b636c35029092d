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

// Whether the 8-bit converter records the time base in real time on its own 40 MHz clock
// (divider 0), which the scope's clock switch must then select.
bool onConverterClock(const TimeBase& tb);

// Samples per second the converter really takes with a record command's divider: the 8-bit
// converter divides the 40 MHz clock by the divider (divider 0: its own 40 MHz clock); the
// 12-bit converter takes 25 clocks more than the divider per conversion in a fast record
// (command 36), at most 482 kS/s, and the divider alone in a slow one (command 42). Not every
// divider of the table gives 64 samples a division exactly (50us/div: 1.25 MS/s).
double converterRate(bool twelveBit, bool slowRecord, std::int32_t divider);

// How the samples of a record taken at a time base spread over time and over the plot.
struct RecordTiming {
    double interval = 0;           // seconds between samples as the converter takes them
                                   // (undersampling: the equivalent time the generator's shift
                                   // gives, 64 samples a division)
    double spectrumRate = 0;       // samples per second of the spectrum; 0 where it offers none
    std::optional<float> hexpand;  // plot columns per sample; empty: as it was
    bool rolling = false;          // the rolling display: one column per sample
};
// The timing of the time base for the 12-bit converter, or the 8-bit one in real time or
// undersampling; nothing where the time base is not offered.
std::optional<RecordTiming> timingOf(const TimeBase& tb, bool twelveBit, bool undersampling);

}  // namespace tunx
