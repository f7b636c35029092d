#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/DeviceModel.h"
#include "sim/SimCalibration.h"

namespace tunx::sim {

// What the DDS plays.
enum class Waveform {
    Sine,        // the tuning word's sine (also with external AM/FM, which has no input here)
    Comparator,  // a square from the comparator, locked to the tuning word's sine
    Pattern,     // RAM words turned into levels, each held for its steps
    Sweep,       // RAM words as frequencies, each held for its dwell
};

// One played RAM word: a level (-1 .. 1) or a frequency in hertz, and how long it lasts.
struct PlayedStep {
    double value;
    double seconds;
};

// The generator's analogue output as the programmed registers make it: the one place where
// registers become volts and hertz, for the words of `describe()` and the bench's signal.
struct GeneratorOutput {
    bool on = false;
    bool attenuated = false;
    int levelDac = 0;   // level DAC channel 3
    double sysclk = 0;  // DDS system clock, Hz
    Waveform kind = Waveform::Sine;
    std::string words;     // "sine", "sine sweep (single)", "pulse", ...
    double hz = 0;         // repetition rate of a sine, comparator square or pattern
    double vpp = 0;        // open-circuit mV peak to peak of the varying part
    double linearVpp = 0;  // what the amplitude register alone gives, after the attenuator
    double offsetMv = 0;   // DC offset (0 until an offset was programmed)
    bool offsetSet = false;
    std::vector<PlayedStep> steps;  // pattern levels or sweep frequencies, in playing order
    bool single = false;            // a pattern or sweep played once per start
    bool playing = false;           // a single-shot one has been started
    std::int64_t playStartPs = 0;

    double periodSeconds() const;  // of one pass through `steps`
};

GeneratorOutput generatorOutput(const DeviceModel& m, const SimCalibration& cal);

// The peak-to-peak mV a sine of `hz` reaches when the amplitude register alone would give
// `linearVpp`: the output loses gain with frequency (the calibration's flatness table) and
// compresses above 3.9 Vpp (the amplitude calibration's boost).
double sineVpp(double linearVpp, double hz, const SimCalibration& cal);

}  // namespace tunx::sim
