#pragma once

#include <optional>

#include "monitor/scope/Ranges.h"
#include "monitor/scope/TimeBase.h"

namespace tunx {

class Form1;

// The volts per division of the 8-bit converter's ranges (1V to 20mV) that shows a signal of
// `pp` volts peak to peak 4 to 7 divisions tall; where none does, the one that shows it tallest
// without going beyond 7.5 divisions (1V for anything taller). A signal whose middle lies
// `middle` volts from zero needs a range at which a position can bring that onto the plot.
const VoltsRange& autosetRange(double pp, double middle);

// A time base that shows 2 to 5 periods of a signal of `hz` across the 10 divisions, as near
// to 4 periods as the list allows: a real-time one where the 8-bit converter takes at least 8
// samples a period, an undersampling one beyond. Nothing for a signal too slow to show whole
// periods without the rolling display, or too fast for any time base.
struct AutosetTimeBase {
    const TimeBase* timeBase = nullptr;
    bool undersampling = false;
};
std::optional<AutosetTimeBase> autosetTimeBase(double hz);

// "Auto Set": from a few quick records, each shown channel's volts per division and position,
// a time base for the strongest channel and a trigger on it at its mid level (Auto mode); the
// scope then runs with them. When no repeating signal is found, or no record comes, it says
// so and puts every setting back as it was.
void autoset(Form1& w);

}  // namespace tunx
