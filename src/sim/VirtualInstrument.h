#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ports/Clock.h"
#include "ports/UsbApi.h"
#include "sim/Acquisition.h"
#include "sim/Bench.h"
#include "sim/ByteQueue.h"
#include "sim/DeviceModel.h"
#include "sim/FrontEnd.h"
#include "sim/GeneratorOutput.h"
#include "sim/InstrumentTime.h"
#include "sim/Levels.h"
#include "sim/SignalPlan.h"
#include "sim/SimCalibration.h"

namespace tunx::sim {

inline constexpr const char* kDefaultSerial = "tunx4k-SIM0001";
inline constexpr std::uint8_t kNak = 21;

// A fault that starts after `delay` more frames pass normally and then hits `count` frames.
struct Fault {
    int count = 0;
    int delay = 0;
    // Whether this frame is hit; counts the frame either way.
    bool hits();
};

// A virtual TUNX4K behind the USB transport interface: checks every frame, answers like the
// instrument and keeps a model of what was programmed. Its measuring side samples a small
// virtual bench: the generator's output on a wire, optionally through a device under test,
// with noise and offset errors, into the scope converters, the level detector at "CH1 IN"
// and the counter at "CH2 IN".
class VirtualInstrument : public UsbApi {
  public:
    // `clock` is the one read time-outs wait on (the virtual clock returns at once); with the
    // virtual clock, records and counter readings are ready at once and the instrument's time
    // skips ahead instead.
    explicit VirtualInstrument(Clock& clock);

    // --- what the tests and the script's sim lines control ---
    // Applies the words of one `sim` instruction (without "sim"); the error text when the
    // words are not understood, and then nothing changed. `show` is answered by describe().
    std::optional<std::string> instruct(std::span<const std::string> words);

    void setDevices(std::vector<std::string> serials) { serials_ = std::move(serials); }
    void nakNext(int frames, int after = 0) { nak_ = {frames, after}; }
    void muteNext(int frames, int after = 0) { mute_ = {frames, after}; }
    void failWritesNext(int writes, int after = 0) { writeError_ = {writes, after}; }
    void failDeviceCount(int status) { deviceCountStatus_ = status; }
    void failOpen(int status) { openStatus_ = status; }
    void failBaudRate(int status) { baudStatus_ = status; }
    // The next record or counter read-out sends `bytes` fewer bytes than asked for.
    void cutNextRecord(int bytes) { cutNext_ = bytes; }

    const DeviceModel& model() const { return model_; }
    const SimCalibration& calibration() const { return cal_; }
    const Bench& bench() const { return bench_; }
    bool isOpen() const { return open_; }
    std::uint32_t readTimeout() const { return readTimeout_; }
    int framesReceived() const { return framesReceived_; }
    int badFrames() const { return badFrames_; }
    std::int64_t nowPs() const { return time_.nowPs(); }

    // What the generator now outputs, as the registers make it.
    const GeneratorOutput& output() const;
    // The voltage in mV at an input (0 CH1, 1 CH2) at t0 + n stepPs, for each n of `out`:
    // the signal on its wire plus the input's offset error and noise.
    void inputVolts(int channel, std::int64_t t0Ps, double stepPs, std::span<double> out) const;
    // The level detector's code at "CH1 IN" now.
    std::uint16_t detectorCode() const { return detectorCodeAt(time_.nowPs()); }

    // What the instrument now outputs and measures, in words (one line each).
    std::vector<std::string> describe() const;

    // --- UsbApi ---
    int SI_GetNumDevices(std::uint32_t& numDevices) override;
    int SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer, int options) override;
    int SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) override;
    int SI_Close(DeviceHandle handle) override;
    int SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    int SI_SetBaudRate(DeviceHandle handle, std::uint32_t baudRate) override;
    int SI_FlushBuffers(DeviceHandle handle, std::uint8_t tx, std::uint8_t rx) override;
    int SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                 std::uint32_t& bytesWritten) override;
    int SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                std::uint32_t& bytesReturned) override;

  private:
    void frame(std::span<const std::uint8_t> data);
    void ramData(std::span<const std::uint8_t> data);
    void execute(const std::array<int, 6>& cmd);
    std::uint16_t biasReading() const;
    void generatorChanged();

    // Measuring side (Measure.cpp).
    void arm(const std::array<int, 6>& cmd);
    void sendRecord(int bytes);
    void sendCounterSamples(int bytes);
    void deliverDueReplies(std::int64_t limitPs);
    void stream(std::span<std::uint8_t> buffer, std::uint32_t& bytesReturned);
    std::optional<std::int64_t> recordReadyPs(std::int64_t limitPs);
    void appendSamples(std::int64_t t0Ps, std::size_t samples, std::size_t bytes);
    void sourceCodes(int channel, bool twelveBit, std::int64_t t0Ps, double stepPs,
                     std::span<double> out) const;
    std::uint16_t detectorCodeAt(std::int64_t tPs) const;
    bool detectorRouted() const;
    int prescaler() const;
    bool counterHasInput() const;

    // Signals (Inputs.cpp).
    SignalPlan plan(int channel) const;
    SignalPlan generatorPlan(bool throughDut) const;
    const std::vector<double>& filteredTable(double hz, const Levels& levels) const;
    const SweepPlan& sweepPlan(bool throughDut) const;

    Clock& clock_;
    InstrumentTime time_;
    SimCalibration cal_;
    Bench bench_;
    std::vector<std::string> serials_{kDefaultSerial};
    int deviceCountStatus_ = 0;
    int openStatus_ = 0;
    int baudStatus_ = 0;
    Fault nak_, mute_, writeError_;
    int cutNext_ = 0;
    bool open_ = false;
    std::uint32_t readTimeout_ = 0;
    ByteQueue pending_;
    std::vector<std::uint8_t> partialWord_;
    DeviceModel model_;
    int framesReceived_ = 0;
    int badFrames_ = 0;

    // Measuring state.
    enum class Acquisition { None, Scope, Counter };
    Acquisition last_ = Acquisition::None;
    TriggerSetting trigger_;
    ScopeRecord record_;
    CounterRecording counter_;
    PrescalerSetting prescaler_;

    // The sine's phase stays continuous across reprogramming: periods done at anchorPs_.
    std::int64_t anchorPs_ = 0;
    long double anchorCycles_ = 0;
    double anchorHz_ = 0;

    // Worked out again only after the generator or the bench changed.
    struct Cache {
        bool stale = true;
        GeneratorOutput output;
        Levels pattern;      // the generator's pattern or comparator square
        Levels square;       // a bench square
        SweepPlan sweep[2];  // direct, through the device under test
        bool sweepStale[2] = {true, true};
        std::vector<double> table;  // the pattern through the device under test
        double tableHz = -1;
        double tableAcRms = 0;  // its varying part's rms, for a unit amplitude
        bool tableStale = true;
        std::vector<std::complex<double>> harmonics;
        std::vector<std::complex<double>> spectrum;
    };
    mutable Cache cache_;
    mutable std::array<std::vector<double>, kChannels> volts_;  // scratch, one per channel
};

}  // namespace tunx::sim
