#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "monitor/spectrum/Fft.h"
#include "state/ScopeCapture.h"

namespace tunx {

class Form1;

// How many spectra the spectrum averages, in the list's order ("Off": the last record's alone).
inline constexpr std::array<std::string_view, 7> kFftAverageTexts = {"Off", "2",  "4", "8",
                                                                     "16",  "32", "64"};

// The transform's input of the channel the spectrum shows (CH2 in "Scope CH2", CH1 otherwise):
// an 8-bit CH1 record from its first sample, the others from their second.
SpectrumInput spectrumInputOf(const ScopeCapture& record, bool ch2);

// The lines 1..512 of a record's own samples (less their mean, windowed over their length,
// zeros after them) as amplitudes in codes: 2 |X[k]| / n, so that a sine of amplitude a codes
// gives a line of a. Empty without samples.
std::vector<double> lineAmplitudes(const SpectrumInput& in, std::string_view window);

// The number of spectra an entry of the list averages: 1 for "Off" or an unknown text.
std::size_t spectraAveraged(std::string_view text);

// A record was kept: with the average or the max hold on, its spectrum joins the last ones
// (which start afresh when the settings they were taken with change).
void stackSpectrum(Form1& w);

// What the spectrum shows of the last record: its line amplitudes, or with the average on the
// root of the mean power of each line over the last records (`averaged` of them), and with the
// max hold on the highest amplitude each line reached since the settings last changed.
struct ShownLines {
    std::vector<double> amplitudes;
    std::vector<double> maxHold;  // empty with the max hold off
    std::size_t averaged = 1;
};
ShownLines shownLines(Form1& w, std::vector<double> last);

}  // namespace tunx
