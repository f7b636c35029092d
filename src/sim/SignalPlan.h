#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/Levels.h"

namespace tunx::sim {

// A generator sweep as the input sees it: the frequencies in playing order, each with the
// device under test's gain and delay at that frequency.
struct SweepPlan {
    std::vector<double> hz;
    std::vector<double> ends;          // seconds from the pass's start to each step's end
    std::vector<double> cyclesBefore;  // periods played in the pass before each step
    std::vector<double> gain;          // |H| at each step
    std::vector<double> delay;         // arg H at each step, in periods
    double period = 0;
    double cyclesPerPass = 0;
    bool single = false;
    bool playing = false;
    std::int64_t startPs = 0;

    // The step playing `seconds` after the start (the last one once a single pass is over),
    // and the periods played until then.
    std::size_t stepAt(double seconds, long double& cycles) const;
};

// How the voltage on one input follows from time: the generator's or a bench source's signal,
// through the device under test where the input is wired to it.
struct SignalPlan {
    enum class Kind {
        Quiet,   // dc only
        Tone,    // dc + amp sin(2 pi (cycles + shift))
        Levels,  // dc + amp levels(cycles), repeating
        Table,   // dc + amp table(cycles): a pattern through the device under test
        Once,    // a pattern played once from the anchor, else its last level
        Sweep,   // dc + amp gain sin(2 pi (cycles + delay)) at the step playing
    };
    static constexpr std::size_t kTablePoints = 4096;

    Kind kind = Kind::Quiet;
    double dcMv = 0;
    double ampMv = 0;
    double hz = 0;  // repetition rate
    std::int64_t anchorPs = 0;
    long double anchorCycles = 0;  // periods completed at anchorPs
    double shift = 0;              // periods added to the phase (a tone's delay)
    double acRmsMv = 0;            // rms of the varying part (not for sweeps)
    bool playing = false;          // Once: started
    const Levels* levels = nullptr;
    const std::vector<double>* table = nullptr;  // kTablePoints + 1 points, the last = first
    const SweepPlan* sweep = nullptr;

    // Periods of the fundamental since time 0 (what a counter counts).
    long double cycles(std::int64_t tPs) const;
    // The input's voltage in mV at t0 + n stepPs for each n of `out`.
    void sample(std::int64_t t0Ps, double stepPs, std::span<double> out) const;
    // The rms of the varying part in mV at `tPs` (it changes only during a sweep).
    double acRmsAt(std::int64_t tPs) const;
};

}  // namespace tunx::sim
