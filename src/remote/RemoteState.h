#pragma once

#include <cstdint>

#include "remote/Status.h"

namespace tunx::remote {

// What a running measurement still owes the client: *OPC? and *WAI wait for it.
struct PendingOperation {
    enum class Kind {
        None,
        Record,   // a scope's next record (RUN and SINGle of a scope mode)
        Reading,  // the counter's next reading
        Sweep     // a sweep's last point
    };
    Kind kind = Kind::None;
    std::uint64_t baseline = 0;  // records or readings taken when it began
};

// How waveform, sweep and spectrum data go out.
enum class DataFormat { Real, Ascii };

// The remote interface's own state, beside the program's: the status registers, the choices of
// the data commands and what runs on. Lives as long as the server; a new client finds it as
// the last one left it (SCPI keeps the error queue across connections). Touched only on the
// program's thread.
struct RemoteState {
    Status status;
    int waveformSource = 1;  // the channel WAVeform:DATA? sends
    DataFormat format = DataFormat::Real;
    PendingOperation pending;
    bool opcArmed = false;       // *OPC: set the event bit once nothing is pending
    bool canExit = true;         // SYSTem:EXIT may end the program (not beside the windows)
    bool exitRequested = false;  // SYSTem:EXIT was given
};

}  // namespace tunx::remote
