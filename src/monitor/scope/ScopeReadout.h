#pragma once

namespace tunx {

class Form1;

// One record: status, request, unpack, software trigger, erase-and-draw, re-arm. False when
// the re-arm failed or a run-time error occurred ("Error Displaying scope" shown, monitor
// idle).
bool scopedisplay2t(Form1& w);

// The rolling display of the very slow time bases: up to 100 streamed bytes per call.
bool scopedisplayslow(Form1& w);

// One record averaged into scopeavg1/scopeavg2 for the offset calibration; draws nothing.
// NoRecord when no whole record came (both averages 0); Failed when the re-arm failed or a
// run-time error occurred ("Error Displaying scope" shown, monitor idle).
enum class Averaged { Taken, NoRecord, Failed };
Averaged getscopeavg(Form1& w);

// The fast sweep's record of detector levels, drawn as a sweep trace. Does not re-arm.
bool scopedisplayrf(Form1& w);

}  // namespace tunx
