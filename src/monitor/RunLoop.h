#pragma once

namespace tunx {

class Form1;
struct MonitorState;

// Whether a measurement runs (a sweep, the scope or the counter), or is about to start.
bool measuring(const MonitorState& m);
// The status once a step has ended: "Running" while a measurement runs, else "Stopped".
void showRunState(Form1& w);
// The status after a failure that ended the measurement.
void showFailed(Form1& w);

// Re-synchronises the scope converter's clock with command 41 and its 20-byte answer.
void syncadcclock(Form1& w);

}  // namespace tunx
