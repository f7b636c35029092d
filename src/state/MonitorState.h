#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Colour.h"
#include "state/References.h"
#include "state/ScopeCapture.h"
#include "state/SpectrumHistory.h"
#include "state/Statistics.h"
#include "state/TraceAverage.h"

namespace tunx {

// The shared record buffer: status bytes, then the record (indices 0 to 5000).
inline constexpr std::size_t kRecordBufferSize = 5001;
using RecordBuffer = std::array<std::uint8_t, kRecordBufferSize>;

// The rolling display of the very slow time bases: where the next sample goes, the last
// point of each channel, and whether data arrived in this read and in the one before.
struct RollingState {
    std::int16_t column = 2;
    std::int16_t ch1Column = 2, ch1Row = 2;
    std::int16_t ch2Column = 2, ch2Row = 2;
    bool dataNow = true;
    bool dataBefore = true;
    // Peak detect: the samples streamed in this pass, and the lowest and highest code of each
    // channel (CH1, CH2) in the column being filled and in the one before it.
    std::int64_t samples = 0;
    std::array<std::int32_t, 2> low{}, high{};
    std::array<std::int32_t, 2> lowBefore{}, highBefore{};
    bool columnBefore = false;
};

// Plot row last drawn at each column (indices 0 to 1000), per channel.
using TraceRows = std::array<std::int16_t, 1001>;

// One point of a sweep: where it was taken (hertz, or the amplitude in the unit of combstarta)
// and the level measured there in dBV; none when the detector's reading did not come.
struct SweepSample {
    double at = 0;
    std::optional<float> dbv;
};

// The three sweeps: their points go to different columns of the plot.
enum class SweepKind { Frequency, Amplitude, Fast };

// What the last sweep and spectrum measured, kept for redrawing and export.
struct KeptMeasurements {
    std::vector<SweepSample> sweep;
    SweepKind sweepKind = SweepKind::Frequency;
    std::string amplitudeUnit;         // of an amplitude sweep
    std::string scale;                 // the display scale the sweep is shown and exported in
    long long sweepStartMs = 0;        // when the sweep began, on the program's clock
    std::vector<double> spectrum;      // levels of bins 1..512 in the scale's unit
    std::vector<double> spectrumHold;  // with the max hold on, its levels of bins 1..512
    std::size_t spectrumAveraged = 1;  // the records whose spectra the levels average
    double binHz = 0;
    std::string spectrumUnit;
};

// The monitor's run state (`monstate`): what the timer's next tick does.
enum class RunState {
    IdleAtStart,  // before the first START
    StartFrequencySweep,
    FrequencySweeping,
    StartAmplitudeSweep,
    AmplitudeSweeping,
    StartScope,
    Scope,
    Counter,
    Stopped,  // by STOP, at the end of a run, or after a failure
    Idle,     // a single shot was taken, or a read-out failed
};
// The states as the instrument's program names them; the program compares none of these
// texts, they name the states in the glossary and in test reports.
inline constexpr std::array<std::pair<RunState, std::string_view>, 10> kRunStateNames = {{
    {RunState::IdleAtStart, "Idle"},
    {RunState::StartFrequencySweep, "startfrsweep"},
    {RunState::FrequencySweeping, "frsweeping"},
    {RunState::StartAmplitudeSweep, "startampsweep"},
    {RunState::AmplitudeSweeping, "ampsweeping"},
    {RunState::StartScope, "startscope"},
    {RunState::Scope, "scope"},
    {RunState::Counter, "Frequency Counter"},
    {RunState::Stopped, "stoped"},
    {RunState::Idle, "idle"},
}};
constexpr std::string_view nameOf(RunState state) {
    for (const auto& [s, name] : kRunStateNames) {
        if (s == state) {
            return name;
        }
    }
    return {};
}

// Values of the monitor window, shared with the generator window through SharedState.
struct MonitorState {
    // Run state and flags.
    RunState monstate = RunState::IdleAtStart;
    bool fftflag = false;
    std::int16_t cursorch = 1;
    bool moninit = false;

    // Display settings of the first activation.
    Colour ch1colour = colour::kBlack;  // the traces' and the cursors' colours
    Colour ch2colour = colour::kBlack;
    Colour cursor1colour = colour::kBlack;
    Colour cursor2colour = colour::kBlack;
    std::int16_t originx = 0;  // plot origin inside Picture1
    std::int16_t originy = 0;
    std::int16_t plotscale = 0;  // scales the cursor lines

    // Cursors and position controls.
    std::int16_t vcur1 = 0, vcur2 = 0, hcur1 = 0, hcur2 = 0;
    std::int16_t vcur1drawn = 0, vcur2drawn = 0, hcur1drawn = 0, hcur2drawn = 0;
    std::int16_t cursorsel = 0;
    // The trigger marks in the plot's margins, drawn for the trigger level at this row; -1: none.
    std::int16_t triggerMarkRow = -1;
    std::int16_t cursordelta = 0;
    bool cursorflag = false;
    std::int16_t ch1pos = 0, ch2pos = 0;
    std::int16_t triglevel = 0;
    std::int16_t horpos = 0;

    // Time base and acquisition.
    std::int16_t adcclk = 0;
    std::int16_t adcclkset = 0;
    std::int32_t adcdiv = 0;
    bool slowtb = false;
    bool vslowtb = false;
    float hexpand = 0;
    double fftrate = 0;

    // Channel scales of the volts-per-division settings.
    std::int32_t spanadc = 0;
    float ch1scale = 0, ch2scale = 0;
    std::int16_t ch1span = 0, ch2span = 0;
    std::int16_t ch1offcal = 0, ch2offcal = 0;
    float ch1offslope = 0, ch2offslope = 0;

    // The last record and what was drawn of it.
    RecordBuffer record{};
    std::size_t recordBytes = 0;  // bytes the last read brought into it from index 0
    TraceRows ch1rows{};
    TraceRows ch2rows{};
    RollingState rolling;
    std::int16_t scopeavg1 = 0, scopeavg2 = 0;

    // Sweep analyser.
    std::int32_t sweepfreq = 0;
    std::int32_t sweepstep = 0;
    std::int32_t sweepclk = 400'000'000;  // set from the start: amplitude sweeps divide by it
    double sweepstartf = 0, sweepstopf = 0;
    float sweepamp = 0, sweepampstep = 0;
    std::int16_t sweepx = 0, sweepy = 0, prevx = 0, prevy = 0;
    float detmv = 0;
    std::int16_t detcode = 0;
    float leveldbv = 0;
    double leveldbmv = 0;
    double levelmv = 0;

    // Frequency counter.
    std::int32_t fcprescale = 1;
    std::int32_t fcsamples = 0;
    // The last reading in hertz; none before the first and after a failed one.
    std::optional<double> countedHz;
    // The last readings, oldest first (none: above the range), since the range or START.
    std::deque<std::optional<double>> counterHistory;

    // How many scope records were kept and counter readings taken: whoever waits for the next
    // one compares.
    std::uint64_t recordsKept = 0;
    std::uint64_t readingsTaken = 0;

    // The last record the scope accepted, with its settings, and whether the plot shows it
    // still (a new set-up or mode clears the plot).
    std::optional<ScopeCapture> capture;
    bool captureShown = false;
    // The time-base entry in force: the last one taken (a refused one is not), the seconds
    // between the samples it records, and whether they are in equivalent time (undersampling).
    std::string timeBaseInForce;
    double sampleInterval = 0;
    bool equivalentTime = false;

    // What the last sweep and spectrum measured, kept for the readouts and export.
    KeptMeasurements kept;

    // The measurement statistics of each channel since their reset (CH1, CH2).
    std::array<ChannelStats, 2> stats{};

    // The reference traces REF A and REF B.
    References refs;
    // The display's average of the last records, and when the picture last faded (program's
    // clock, ms) while earlier traces persist.
    TraceAverage average;
    long long fadedAtMs = 0;

    // Spectrum.
    // The last records' spectra, for the average and the max hold.
    SpectrumHistory spectra;
    std::int16_t sigpp = 0;
    double sigrms = 0;
    std::array<double, 1025> fftmag{};
};

}  // namespace tunx
