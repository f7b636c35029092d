#include "generator/SetUpSteps.h"

#include "dds/Amplitude.h"
#include "dds/Frequency.h"
#include "generator/OutputMode.h"
#include "generator/frmMain.h"
#include "link/Relay.h"

namespace tunx::step {

void bias(frmMain& w, const OutputMode& mode) {
    SetBias(w, w.link(), mode.traits);
}

void vpp(frmMain& w, const OutputMode& mode) {
    SetVpp(w, w.link(), mode.traits);
}

void frequency(frmMain& w, const OutputMode& mode) {
    SetFrequency(w, w.link(), mode.traits);
}

void relayOn(frmMain& w, const OutputMode& /*mode*/) {
    sgrelayon(w.link());
}

}  // namespace tunx::step
