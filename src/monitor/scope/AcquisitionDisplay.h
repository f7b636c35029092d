#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "state/ScopeCapture.h"

namespace tunx {

class Form1;

// How the scope shows its records: each as it comes, the running average of the last ones, or
// the envelope of several samples per plot column; and whether earlier traces stay on the plot.
inline constexpr std::array<std::string_view, 10> kAcqModeTexts = {
    "Normal",     "Average 2",  "Average 4",   "Average 8",   "Average 16",
    "Average 32", "Average 64", "Average 128", "Average 256", "Peak detect"};
inline constexpr std::string_view kPeakDetect = kAcqModeTexts.back();
inline constexpr std::array<std::string_view, 4> kPersistenceTexts = {"Off", "0.5 s", "2 s",
                                                                      "Infinite"};

// The records an entry of acqmode averages: 1 for "Normal", "Peak detect" or an unknown text.
std::size_t recordsAveraged(std::string_view acqmode);
// How long an earlier trace stays: none for "Off" (or an unknown text), 0 seconds for
// "Infinite" (it never fades).
struct Persistence {
    bool on = false;
    double seconds = 0;
};
Persistence persistenceOf(std::string_view text);

// Peak detect in the rolling display (200 ms/div and slower): the instrument streams this many
// times faster than the time base alone needs, and each plot column shows the lowest and
// highest of its samples. The block records of the faster time bases hold no more samples than
// the plot has columns, so there peak detect shows the record as "Normal" does.
inline constexpr std::int32_t kPeakSamplesPerColumn = 32;
// The sample-clock divider a record is set up with: the time base's, or in the rolling display
// with peak detect on, one about kPeakSamplesPerColumn times smaller.
std::int32_t recordDivider(Form1& w);
// Peak detect streams now (the rolling display with "Peak detect").
bool peakStreaming(Form1& w);

// A new set-up (START, a changed setting): the average starts afresh, the picture's fading
// from now.
void restartAcquisition(Form1& w);

// With "Average N": adds the record `c` to the last ones, its codes from `alignAt` (its trigger
// point, 0-based) lined up with theirs, and gives each recorded channel the mean codes and `c`
// the number of records in them. The records of other settings are dropped first.
void averageRecord(Form1& w, ScopeCapture& c, std::size_t alignAt);

// Earlier traces stay on the plot (persistence on): the read-out draws over them instead of
// erasing, after fading them by the time since the last fade.
bool keepsEarlierTraces(Form1& w);
void fadeEarlierTraces(Form1& w);

// What the plot's caption says of the acquisition: "Avg 7/16", "Avg 16", "Peak x32", "Peak: as
// Normal" where the records hold no more samples than columns, "Avg: none here" in the rolling
// display; "" for "Normal".
std::string acquisitionCaption(Form1& w);
void showAcquisition(Form1& w);

}  // namespace tunx
