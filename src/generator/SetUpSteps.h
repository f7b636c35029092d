#pragma once

#include "generator/frmMain.h"

namespace tunx {

struct OutputMode;

// The set-up procedures most modes share, as steps of a refresh: the offset, the amplitude and
// the sine frequency as the mode shapes them, and the output stage's switch-on.
namespace step {
void bias(frmMain& w, const OutputMode& mode);
void vpp(frmMain& w, const OutputMode& mode);
void frequency(frmMain& w, const OutputMode& mode);
void relayOn(frmMain& w, const OutputMode& mode);

// A procedure of the panel and the link as a step: `step::run<SetPulse>`.
template <void (*Procedure)(frmMainControls&, Link&)>
void run(frmMain& w, const OutputMode& /*mode*/) {
    Procedure(w, w.link());
}
}  // namespace step

}  // namespace tunx
