#pragma once

#include <cstdint>

#include "state/MonitorState.h"

namespace tunx {

class Form1;

// The timer's sweep branches: set-up and one point per tick. False when a command failed.
bool frequencySweepSetup(Form1& w);
bool frequencySweepPoint(Form1& w);
bool amplitudeSweepSetup(Form1& w);
bool amplitudeSweepPoint(Form1& w);

// Control registers, switches and level DACs for the sweep signal. False, with "Error setting
// sweep sine" shown, when a command failed (no flag).
bool setsweepsine(Form1& w);
// The generator amplitude from textstarta/combstarta (sweepamp in an amplitude sweep),
// corrected for sgfreq. False (and sgerror set) on failure.
bool SetVppmon(Form1& w);
// One detector reading into detmv and detcode; false when it did not come whole (detmv keeps
// the reading before).
bool readrflevel(Form1& w);
// START's preparation of an amplitude sweep ("CAL ERROR" on failure).
void rfcal_Click(Form1& w);
// The sweep preparation of the fast sweep: limits, amplitude, and the generator's own
// hardware sweep set up and started through its panel. False for limits no sweep can take.
bool prepareFastSweep(Form1& w);

// The plot row (with the origin) of the level in detmv on the display scale, after the
// level conversion; the level values are kept, and `dbv` (when given) gets the level measured.
std::int32_t sweepRowOf(Form1& w, float* dbv = nullptr);

// The monitor's sweep of `kind` takes the generator's output: the generator window says so.
void takeGeneratorForSweep(Form1& w, SweepKind kind);

}  // namespace tunx
