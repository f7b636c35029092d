#pragma once

#include <vector>

#include "monitor/scope/Ranges.h"
#include "state/ScopeCapture.h"

namespace tunx {

class Form1;

// A channel of a capture.
const ChannelCapture& channelOf(const ScopeCapture& c, Channel ch);
ChannelCapture& channelOf(ScopeCapture& c, Channel ch);

// The settings in force now, as a record taken now gets them: the converter, the time base in
// force with the rate the converter really takes samples at, the trigger, and each channel's
// range in force, position and 12-bit scale. No samples yet.
ScopeCapture settingsNow(Form1& w);

// The samples the screen shows of a channel, in volts: an 8-bit code is V/div / 32, a 12-bit
// code the channel scale x V/div / 64, both counted from the channel's position.
std::vector<double> shownVolts(const ScopeCapture& c, Channel ch);
// Samples `from` to before `to` of the channel in volts (as far as it has them).
std::vector<double> sampleVolts(const ScopeCapture& c, Channel ch, std::size_t from,
                                std::size_t to);
// All the samples of the channel's record in volts, from its first.
std::vector<double> recordVolts(const ScopeCapture& c, Channel ch);
// Whether a shown sample sits at one of the converter's end codes, where the signal may have
// gone beyond what the converter can take.
bool shownClipped(const ScopeCapture& c, Channel ch);

// Keeps `c` as the record the plot shows and writes each recorded channel's measurements
// beside the plot.
void keepCapture(Form1& w, ScopeCapture c);
// Writes the measurements of the record the plot shows (after more samples came).
void showMeasurements(Form1& w);
// The same when the plot shows a record, or "—" for the traces the mode draws when it shows none.
void showMeasurementsNow(Form1& w);
// The plot was cleared (new settings, another mode): the record it showed is gone from it;
// the channels the mode draws read "—" until a record comes, the others are hidden.
void forgetShownCapture(Form1& w);
// Hides the measurement readouts (a mode that draws no scope record).
void hideMeasurements(Form1& w);
// Starts the measurement statistics of both channels afresh.
void resetStatistics(Form1& w);

}  // namespace tunx
