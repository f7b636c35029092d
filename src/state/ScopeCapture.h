#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tunx {

// The scope's two converters.
enum class Converter { EightBit, TwelveBit };

// One input channel of a record: what it was set to, and its samples.
struct ChannelCapture {
    std::string range;                // the volts-per-division entry in force ("1V")
    double voltsPerDiv = 0;           // its volts per division
    std::int16_t position = 0;        // where 0 V sits, in screen units from the bottom (0..512)
    float scale = 0;                  // 12-bit converter: screen units per code
    std::vector<std::int32_t> codes;  // converter codes in time order; empty: not recorded
    // With the display's average on: the mean code at each sample of `codes` over the last
    // records, aligned on their trigger points (a sample the earlier records do not reach keeps
    // the last record's code); empty otherwise.
    std::vector<double> averaged;
};

// The trigger a record was taken with, as the panel named it.
struct TriggerCapture {
    std::string mode;        // "Free-running", "Normal", "Single", "Auto"
    std::string edge;        // "Positive", "Negative"
    std::string source;      // "CH1", "CH2"
    std::int16_t level = 0;  // screen units from the bottom
};

// One accepted scope record together with everything it was taken with, so that whoever reads
// it (the picture, the measurements, the spectrum, the cursors, the exports) turns its codes
// into volts and seconds without asking the panel, which may have changed since.
struct ScopeCapture {
    Converter converter = Converter::EightBit;
    bool undersampling = false;  // equivalent time: the samples step through a repeating signal
    std::string timeBase;        // the time-base entry in force ("1ms/div")
    double interval = 0;         // seconds between samples
    double spectrumRate = 0;     // samples per second for the spectrum; 0: none at this time base
    float hexpand = 1;           // plot columns per sample
    bool longRecord = false;     // the "2048 samples" record, moved through by Hor. Position
    bool rolling = false;        // the rolling display's samples so far
    bool peakDetect = false;     // several samples per plot column, drawn as their envelope
    std::size_t averagedRecords = 1;  // the records the channels' `averaged` codes are the mean of
    TriggerCapture trigger;
    ChannelCapture ch1, ch2;
    // The samples the screen shows, measured and exported: `count` samples from `first` (past
    // the software trigger); a long record shows all of them, one screen at a time.
    std::size_t first = 0;
    std::size_t count = 0;
};

}  // namespace tunx
