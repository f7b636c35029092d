#pragma once

#include <array>

namespace tunx::sim {

// The input range groups of a scope channel, in the order of the calibration file's gains.
enum class RangeGroup { Volts, Decivolts, Millivolts };
inline constexpr int kChannels = 2;

// One scope channel's true constants: a gain per range group, and the offset network's zero
// point and slope for the volt groups (V and dV) and the millivolt group.
struct ChannelCalibration {
    std::array<double, 3> gain;  // by RangeGroup
    double offsetV, slopeV;      // volt groups
    double offsetMv, slopeMv;    // millivolt group
};

// The calibration the virtual instrument behaves by. Its own calibration file holds the same
// values, so the program's arithmetic reproduces the instrument exactly.
struct SimCalibration {
    double ampfullscale = 7090;
    double clkcorr = 1.0;
    double offzero = -10;
    double offgain = 1.0;
    double adcref = 3600;
    double rfdetoffset = 512;
    double rfdetintercept = -87.5;
    double rfdetslope = 24.6;
    std::array<int, 5> sq2level{1240, 980, 720, 460, 200};
    // The output's gain loss at 1, 10, 20 .. 100, 150 and 200 MHz (the amplitude calibration
    // raises the amplitude by these factors).
    std::array<double, 13> flatHz{1e6,  10e6, 20e6, 30e6,  40e6,  50e6, 60e6,
                                  70e6, 80e6, 90e6, 100e6, 150e6, 200e6};
    std::array<double, 13> flat{1.0,  1.015, 1.04, 1.08, 1.15, 1.245, 1.36,
                                1.52, 1.75,  2.1,  2.63, 2.63, 2.63};
    // The front end scales every range so that 8 divisions fill about 3.5 V at the converters
    // (the 12-bit converter's 4096 codes span `adcref`): the volt group attenuates, the
    // millivolt group amplifies.
    std::array<ChannelCalibration, kChannels> channel{
        ChannelCalibration{{0.442, 2.21, 8.84}, 8012, 1.004, 9005, 0.502},
        ChannelCalibration{{0.439, 2.195, 8.79}, 7990, 0.996, 8995, 0.497}};
};

}  // namespace tunx::sim
