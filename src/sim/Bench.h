#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <string>

#include "sim/SimCalibration.h"

namespace tunx::sim {

// What an input is connected to.
enum class Wire { Generator, Dut, Off, External };

// The device under test between the generator and an input wired to it.
struct Dut {
    enum class Kind { None, Lowpass, Highpass, Bandpass, Attenuate };
    Kind kind = Kind::None;
    double hz = 0;  // corner or centre frequency
    double q = 1;   // bandpass quality factor
    double db = 0;  // attenuation

    // Output over input voltage at `hz` (first-order low and high pass, second-order band pass).
    std::complex<double> response(double f) const;
    bool passesUnchanged() const { return kind == Kind::None; }
    std::string words() const;
};

// A bench source on one input instead of the generator: open-circuit volts of a 50-ohm source.
struct ExternalSource {
    bool square = false;
    double hz = 0;
    double vpp = 0;     // mV
    double offset = 0;  // mV
};

// Everything around the instrument: wiring, device under test, noise and offset errors.
struct Bench {
    std::array<Wire, kChannels> wire{Wire::Generator, Wire::Generator};
    std::array<ExternalSource, kChannels> external{};
    Dut dut;
    double noiseMv = 0;                        // white noise, rms, on both inputs
    std::uint64_t seed = 1;                    // noise sequence
    std::array<double, kChannels> offsetMv{};  // each input's true offset error
};

}  // namespace tunx::sim
