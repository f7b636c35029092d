#pragma once

namespace tunx {

// How an output mode's amplitude entry becomes its output level.
enum class AmplitudeScale {
    Flat,          // the scale factor with the 1 MHz flatness gain
    SineFlatness,  // the flatness gain at sgfreq; the only one taking mVrms and dBmV entries
    Ramp,          // the ramp's own gain
    Square2Level,  // the comparator's output level (sgaten), sent with the output stage
};

// What the offset procedure adds to the entered offset, or puts in its place.
enum class OffsetShift {
    None,
    Ramp,              // the ramp's calibrated off-centre share of its amplitude
    ArbitraryVoltage,  // arbvoffset, when the profile drives the voltage
    Square2,           // the comparator's fixed offset sq2offset instead of the entry
};

// What the amplitude, offset and frequency procedures must know of the output mode they set up.
struct OutputTraits {
    AmplitudeScale amplitude = AmplitudeScale::Flat;
    OffsetShift offset = OffsetShift::None;
    // The carrier of the modulation: with "External FM" it is shifted by fmoffset.
    bool modulationCarrier = false;
};

}  // namespace tunx
