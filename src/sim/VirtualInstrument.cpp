#include "sim/VirtualInstrument.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tunx::sim {

namespace {
constexpr std::uint8_t kLead = 4;
constexpr std::uint8_t kAck = 6;
constexpr std::size_t kFrameSize = 8;
constexpr std::size_t kWordSize = 4;
constexpr DeviceHandle kHandleBase = 0x7A00;
constexpr std::uint8_t kClockSyncByte = 133;
constexpr std::size_t kClockSyncSize = 20;

int signed16(int hi, int lo) {
    const int v = hi * 256 + lo;
    return v >= 32768 ? v - 65536 : v;
}
}  // namespace

bool Fault::hits() {
    if (count <= 0) {
        return false;
    }
    if (delay > 0) {
        --delay;
        return false;
    }
    --count;
    return true;
}

VirtualInstrument::VirtualInstrument(Clock& clock) : clock_(clock), time_(clock) {
    cache_.square.assign({{1.0, 1.0}, {-1.0, 1.0}});
}

int VirtualInstrument::SI_GetNumDevices(std::uint32_t& numDevices) {
    if (deviceCountStatus_ != usb::kSuccess) {
        numDevices = 0;
        return deviceCountStatus_;
    }
    numDevices = static_cast<std::uint32_t>(serials_.size());
    return usb::kSuccess;
}

int VirtualInstrument::SI_GetProductString(std::uint32_t deviceNum, std::span<char> buffer,
                                           int /*options*/) {
    if (buffer.empty()) {
        return usb::kInvalidHandle;
    }
    std::fill(buffer.begin(), buffer.end(), '\0');
    if (deviceNum >= serials_.size()) {
        return usb::kDeviceNotFound;
    }
    const std::string& s = serials_[deviceNum];
    const std::size_t n = std::min(s.size(), buffer.size() - 1);
    std::memcpy(buffer.data(), s.data(), n);
    return usb::kSuccess;
}

int VirtualInstrument::SI_Open(std::uint32_t deviceNum, DeviceHandle& handle) {
    if (openStatus_ != usb::kSuccess) {
        return openStatus_;
    }
    if (deviceNum >= serials_.size()) {
        return usb::kDeviceNotFound;
    }
    handle = kHandleBase + deviceNum;
    open_ = true;
    return usb::kSuccess;
}

int VirtualInstrument::SI_Close(DeviceHandle /*handle*/) {
    open_ = false;
    pending_.clear();
    record_ = {};
    counter_ = {};
    return usb::kSuccess;
}

int VirtualInstrument::SI_SetTimeouts(std::uint32_t readTimeout, std::uint32_t /*writeTimeout*/) {
    readTimeout_ = readTimeout;
    return usb::kSuccess;
}

int VirtualInstrument::SI_SetBaudRate(DeviceHandle handle, std::uint32_t /*baudRate*/) {
    if (!open_ || handle < kHandleBase) {
        return usb::kInvalidHandle;
    }
    return baudStatus_;
}

int VirtualInstrument::SI_FlushBuffers(DeviceHandle handle, std::uint8_t /*tx*/, std::uint8_t rx) {
    if (!open_ || handle < kHandleBase) {
        return usb::kInvalidHandle;
    }
    if (rx != 0) {
        pending_.clear();
        // Replies that have arrived by now are flushed with the rest.
        const std::int64_t now = time_.nowPs();
        if (record_.statusOwed && !record_.streaming) {
            const auto ready = recordReadyPs(now);
            record_.statusOwed = !(ready && *ready <= now);
        }
        if (counter_.owed && counter_.startPs + counter_.samples * kPsPerMs <= now) {
            counter_.owed = false;
        }
    }
    return usb::kSuccess;
}

int VirtualInstrument::SI_Write(DeviceHandle handle, std::span<const std::uint8_t> data,
                                std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    if (!open_ || handle < kHandleBase) {
        return usb::kInvalidHandle;
    }
    if (writeError_.hits()) {
        return usb::kWriteError;
    }
    bytesWritten = static_cast<std::uint32_t>(data.size());
    if (model_.ramWritten < model_.ramCount) {
        ramData(data);
    } else {
        frame(data);
    }
    return usb::kSuccess;
}

int VirtualInstrument::SI_Read(DeviceHandle handle, std::span<std::uint8_t> buffer,
                               std::uint32_t& bytesReturned) {
    bytesReturned = 0;
    if (!open_ || handle < kHandleBase) {
        return usb::kInvalidHandle;
    }
    if (pending_.empty() && record_.streaming) {
        stream(buffer, bytesReturned);
        if (bytesReturned > 0) {
            return usb::kSuccess;
        }
    } else if (pending_.empty()) {
        deliverDueReplies(time_.nowPs() + std::int64_t{readTimeout_} * kPsPerMs);
    }
    if (pending_.empty()) {
        clock_.Sleep(static_cast<int>(readTimeout_));
        return usb::kReadTimedOut;
    }
    bytesReturned = static_cast<std::uint32_t>(pending_.pop(buffer));
    return usb::kSuccess;
}

void VirtualInstrument::frame(std::span<const std::uint8_t> data) {
    ++framesReceived_;
    const bool muted = mute_.hits();
    const bool naked = nak_.hits();
    bool good = data.size() == kFrameSize && data[0] == kLead;
    if (good) {
        int sum = 0;
        for (std::size_t i = 1; i <= 6; ++i) {
            sum += data[i];
        }
        good = (sum & 0xFF) == data[7];
    }
    if (muted) {
        return;
    }
    if (!good) {
        ++badFrames_;
        pending_.push(kNak);
        return;
    }
    if (naked) {
        pending_.push(kNak);
        return;
    }
    execute({data[1], data[2], data[3], data[4], data[5], data[6]});
}

void VirtualInstrument::ramData(std::span<const std::uint8_t> data) {
    for (std::uint8_t b : data) {
        partialWord_.push_back(b);
        if (partialWord_.size() == kWordSize) {
            const std::uint32_t word = (std::uint32_t{partialWord_[0]} << 24) |
                                       (std::uint32_t{partialWord_[1]} << 16) |
                                       (std::uint32_t{partialWord_[2]} << 8) | partialWord_[3];
            partialWord_.clear();
            // The block fills from its highest address down.
            const auto address = static_cast<std::size_t>(model_.ramStart + model_.ramCount - 1 -
                                                          model_.ramWritten) %
                                 kRamWords;
            model_.ram[address] = word;
            ++model_.ramWritten;
            if (model_.ramWritten == model_.ramCount) {
                generatorChanged();
                pending_.push(kAck);
                return;
            }
        }
    }
}

namespace {

// Commands of the measuring side; every other command may change what the generator outputs.
bool measuring(const std::array<int, 6>& c) {
    switch (c[0]) {
        case 27:
        case 35:
        case 36:
        case 37:
        case 38:
        case 39:
        case 40:
        case 41:
        case 42:
            return true;
        case 31:  // only the level DAC pair belongs to the generator
            return c[3] != 3 && c[3] != 7;
        case 32:  // only the attenuator and the comparator lines do
            return !((c[1] == 3 && c[2] == 15) || (c[1] == 4 && c[2] == 6));
        default:
            return false;
    }
}

constexpr int kRamStartCommand = 3;  // code 20 byte 1 that starts a RAM pattern
constexpr int kSingleShot = 0x08;
constexpr int kBiasLineGroup = 6, kBiasLine = 4;

}  // namespace

void VirtualInstrument::execute(const std::array<int, 6>& c) {
    const long at = model_.commandCount++;
    model_.commands.push_back(c);
    if (model_.commands.size() > kKeptCommands) {
        model_.commands.pop_front();
    }
    const std::array<int, 5> bytes{c[1], c[2], c[3], c[4], c[5]};
    const std::int64_t now = time_.nowPs();
    if (!measuring(c)) {
        generatorChanged();
    }
    switch (c[0]) {
        case 1:
            model_.cfr1 = bytes;
            model_.cfr1At = at;
            model_.playStartPs = now;
            model_.playing = (c[1] & kSingleShot) == 0;
            break;
        case 2:
        case 24:
            model_.cfr2 = bytes;
            model_.lastClockCommand = c[0];
            break;
        case 3:
            model_.asf = c[1] * 256 + c[2];
            break;
        case 5:
            model_.ftw = (std::uint32_t(c[1]) << 24) | (std::uint32_t(c[2]) << 16) |
                         (std::uint32_t(c[3]) << 8) | std::uint32_t(c[4]);
            model_.tuningAt = at;
            break;
        case 6:
            model_.ftwUpdate = c[1];
            model_.tuningAt = at;
            break;
        case 13:
            model_.offsetCoarse = signed16(c[1], c[2]);
            model_.offsetFine = signed16(c[3], c[4]);
            model_.offsetSet = true;
            break;
        case 18:
            model_.ramCount = c[1] * 256 + c[2];
            model_.ramStart = c[3] * 256 + c[4];
            model_.ramWritten = 0;
            model_.ramWriteAt = at;
            partialWord_.clear();
            break;
        case 19: {
            // Read back in the order the block was written: from its highest address down.
            pending_.push(kAck);
            const int count = c[1] * 256 + c[2];
            const int startAt = c[3] * 256 + c[4];
            for (int i = count - 1; i >= 0; --i) {
                const std::uint32_t w =
                    model_.ram[static_cast<std::size_t>(startAt + i) % kRamWords];
                for (int shift = 24; shift >= 0; shift -= 8) {
                    pending_.push(static_cast<std::uint8_t>(w >> shift));
                }
            }
            return;
        }
        case 20:
            model_.start = bytes;
            ++model_.startCount;
            if (c[1] == kRamStartCommand) {
                model_.playStartPs = now;
                model_.playing = true;
            }
            break;
        case 21:
            model_.profile1 = bytes;
            model_.profile1At = at;
            break;
        case 22:
            model_.profile2 = bytes;
            model_.profile2At = at;
            break;
        case 23:
            model_.multipliers = bytes;
            break;
        case 25:
            ++model_.triggerCount;
            model_.playStartPs = now;
            model_.playing = true;
            break;
        case 26:
            model_.clockSetting = bytes;
            model_.clockSettingSet = true;
            break;
        case 27: {
            // The bias read-back while line 6.4 is on (or was never set), else the detector.
            const auto line = model_.switches.find({kBiasLineGroup, kBiasLine});
            const bool bias = line == model_.switches.end() || line->second != 0;
            const std::uint16_t raw = bias ? biasReading() : detectorCodeAt(now);
            pending_.push(static_cast<std::uint8_t>(raw >> 8));
            pending_.push(static_cast<std::uint8_t>(raw & 0xFF));
            return;
        }
        case 30:
            model_.outputClosed = true;
            ++model_.outputCloseCount;
            break;
        case 31:
            model_.dacs[c[3]] = c[1] * 256 + c[2];
            if (c[3] == 3 || c[3] == 7) {
                model_.outputClosed = false;
            }
            break;
        case 32:
            model_.switches[{c[1], c[2]}] = c[3];
            break;
        case 35:
            trigger_ = {c[1] * 256 + c[2], c[3], c[5]};
            break;
        case 36:
        case 42:
            arm(c);
            break;
        case 37: {
            // No acknowledgement: the answer is the bytes asked for.
            const int asked = c[1] * 256 + c[2];
            const int bytes = std::max(0, asked - cutNext_);
            cutNext_ = 0;
            if (last_ == Acquisition::Counter) {
                sendCounterSamples(bytes);
            } else {
                sendRecord(bytes);
            }
            return;
        }
        case 38:
            record_ = {};
            break;
        case 39:
            // A counter reading takes the place of any scope record.
            counter_ = {true, c[1] * 256 + c[2], now};
            record_.statusOwed = false;
            record_.streaming = false;
            last_ = Acquisition::Counter;
            break;
        case 40:
            (c[1] == 0 ? prescaler_.second : prescaler_.first) = bytes;
            break;
        case 41:
            for (std::size_t i = 0; i < kClockSyncSize; ++i) {
                pending_.push(kClockSyncByte);
            }
            return;
        default:
            break;
    }
    pending_.push(kAck);
}

// Keeps the sine's phase running on across the change and marks what follows from the
// registers as stale.
void VirtualInstrument::generatorChanged() {
    const std::int64_t now = time_.nowPs();
    anchorCycles_ += static_cast<long double>(anchorHz_) *
                     static_cast<long double>(now - anchorPs_) / kPsPerSecond;
    anchorPs_ = now;
    cache_.stale = true;
}

// The offset the DAC codes produce, read back through a 12-bit converter.
std::uint16_t VirtualInstrument::biasReading() const {
    double offsetMv = 0;
    if (model_.offsetSet) {
        const int r = (model_.offsetFine - model_.offsetCoarse) / 20;
        const double code = model_.offsetCoarse * 5000.0 / 1023.0 + r;
        offsetMv = (3120.0 - code) * cal_.offgain - cal_.offzero;
    }
    const double raw = (offsetMv / 2.0 + 900.0) * 4096.0 / cal_.adcref;
    return static_cast<std::uint16_t>(std::clamp(std::lround(raw), 0L, 4095L));
}

}  // namespace tunx::sim
