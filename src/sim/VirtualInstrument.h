#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "ports/Clock.h"
#include "ports/UsbApi.h"
#include "sim/DeviceModel.h"

namespace tunx::sim {

inline constexpr const char* kDefaultSerial = "tunx4k-SIM0001";
inline constexpr std::uint8_t kNak = 21;

// The calibration the virtual instrument behaves by (its own file holds the same values).
struct SimCalibration {
    double ampfullscale = 7090;
    double offzero = -10;
    double offgain = 1.0;
    double adcref = 3600;
};

// A fault that starts after `delay` more frames pass normally and then hits `count` frames.
struct Fault {
    int count = 0;
    int delay = 0;
    // Whether this frame is hit; counts the frame either way.
    bool hits();
};

// A virtual TUNX4K behind the USB transport interface: checks every frame, answers like the
// instrument and keeps a model of what was programmed.
class VirtualInstrument : public UsbApi {
  public:
    // `clock` is the one read time-outs wait on (the virtual clock returns at once).
    explicit VirtualInstrument(Clock& clock);

    // --- what the tests and the script's sim lines control ---
    void setDevices(std::vector<std::string> serials) { serials_ = std::move(serials); }
    void nakNext(int frames, int after = 0) { nak_ = {frames, after}; }
    void muteNext(int frames, int after = 0) { mute_ = {frames, after}; }
    void failWritesNext(int writes, int after = 0) { writeError_ = {writes, after}; }
    void failDeviceCount(int status) { deviceCountStatus_ = status; }
    void failOpen(int status) { openStatus_ = status; }
    void failBaudRate(int status) { baudStatus_ = status; }

    const DeviceModel& model() const { return model_; }
    const SimCalibration& calibration() const { return cal_; }
    bool isOpen() const { return open_; }
    std::uint32_t readTimeout() const { return readTimeout_; }
    int framesReceived() const { return framesReceived_; }
    int badFrames() const { return badFrames_; }

    // What the instrument now outputs, in words (one line each).
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

    Clock& clock_;
    SimCalibration cal_;
    std::vector<std::string> serials_{kDefaultSerial};
    int deviceCountStatus_ = 0;
    int openStatus_ = 0;
    int baudStatus_ = 0;
    Fault nak_, mute_, writeError_;
    bool open_ = false;
    std::uint32_t readTimeout_ = 0;
    std::deque<std::uint8_t> pending_;
    std::vector<std::uint8_t> partialWord_;
    DeviceModel model_;
    int framesReceived_ = 0;
    int badFrames_ = 0;
};

}  // namespace tunx::sim
