#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ports/UsbApi.h"
#include "state/MonitorState.h"

namespace tunx {

// Flags are 16-bit values: true = -1, false = 0. The program keeps them as bool here.

// Values of the USB link.
struct LinkState {
    DeviceHandle devhandle = 0;
    std::int16_t usbstatus = 0;
    // Command code and parameter bytes 1-5, filled just before each send. They keep their
    // values afterwards: a byte the caller leaves unset goes out as the previous command left it.
    std::array<std::int16_t, 6> cmd{};
    std::int16_t devcount = 0;
    bool devconnected = false;
    bool activated = false;  // the generator window's first activation has run
};

// The calibration values of the instrument's file (47 rows).
struct Calibration {
    float ampfullscale = 0;
    double clkcorr = 0;
    float offzero = 0;
    float flat1M = 0, flat10M = 0, flat50M = 0, flat100M = 0, flat150M = 0, flat200M = 0;
    float offgain = 0;
    float arbvoffset = 0;
    float fmoffset = 0;
    float rampoffset = 0;
    float rfdetoffset = 0, rfdetintercept = 0, rfdetslope = 0;
    float sweepconst1 = 0;
    float ch1gaindv = 0, ch1gainv = 0, ch1gainmv = 0, ch1offv = 0;
    std::int32_t adcref = 0;
    float ch2gaindv = 0, ch2gainv = 0, ch2gainmv = 0;
    std::int16_t ch2offv = 0;
    float sweepconst2 = 0;
    std::int16_t sq2level1 = 0, sq2level2 = 0, sq2level3 = 0, sq2level4 = 0, sq2level5 = 0;
    float ch1offslopev = 0;
    std::int16_t ch1offmv = 0;
    float ch1offslopemv = 0, ch2offslopev = 0;
    std::int16_t ch2offmv = 0;
    float ch2offslopemv = 0;
    float sweepconst3 = 0;
    std::int16_t sq2offset = 0;
    float flat20M = 0, flat30M = 0, flat40M = 0, flat60M = 0, flat70M = 0, flat80M = 0, flat90M = 0;
    float sgbias = 0;  // measured output offset, mV
};

// Values of the generator.
struct GeneratorState {
    std::int32_t sgfreq = 0;
    bool sgerror = false;
    std::string clklabel;  // empty at start: the first frequency command is a clock change
    bool undersmonflag = false;
    std::int32_t undersdiv = 0;
    double undersratio = 0;
    float undersshift = 0;
    // Output level setting (0-2046, 2040 with the output stage closed): the level DAC pair that
    // sgrelayon sends. Not to be confused with the flag below.
    std::int16_t sgaten = 0;
    // The 20 dB attenuator is on (the "20 dB Atten" box): switch line 3/15 of sgrelayon.
    bool sgatten = false;
    std::int32_t levelDac3 = 0;  // the level DAC pair last computed
    std::int32_t levelDac7 = 0;
    std::int32_t ramclk = 0;
    bool singlemode = false;
    bool triangle = false;
    bool lowgain = false;
    bool compon = false;
    double ampgain = 0;
};

// Texts of the machine the program runs on.
struct HostSettings {
    std::string installDir;  // installation folder, with its trailing separator
    // The user's data folder, with its trailing separator, where calibration files are looked
    // up first; "" for none.
    std::string userDataDir;
    // The serial number of the instrument to open (the command line's --serial); "" for the
    // first attached.
    std::string serial;
    char groupSeparator = ',';
};

// Every module-level value of one run of the program; both windows hold it by reference.
struct SharedState {
    LinkState link;
    Calibration cal;
    GeneratorState gen;
    MonitorState mon;
    HostSettings host;
};

}  // namespace tunx
