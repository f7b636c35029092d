#pragma once

#include <ostream>
#include <string>

#include "platform/NoUsbBackend.h"
#include "platform/RealClock.h"
#include "ports/Recording.h"
#include "program/Program.h"
#include "sim/VirtualInstrument.h"

namespace tunx {

// How a run is wired to the world.
struct WiringOptions {
    bool simulate = false;                  // the virtual instrument instead of the USB transport
    UsbApi* device = nullptr;               // the USB transport; none: no device is ever attached
    bool fast = false;                      // the virtual clock: pauses are counted, not waited for
    bool record = false;                    // every port call goes into the transcript
    std::ostream* transcriptOut = nullptr;  // where the transcript is written as it happens
    std::string installDir;
    std::string userDataDir{};  // where calibration files are looked up first; "" for nowhere
    std::string serial{};       // the instrument to open; "" for the first attached
    char groupSeparator = ',';
};

// The program wired to its ports, in the one place that does it for the Qt app, the script
// runner, the tests and the benchmarks: the clock (real or virtual), the transport (the
// virtual instrument or the USB backend), the recording decorators when recording, and the
// Program. The caller brings the window system and, when it shows one, the picture.
class Wiring {
  public:
    Wiring(const WiringOptions& options, Ui& ui, Canvas* picture = nullptr);
    Wiring(const Wiring&) = delete;
    Wiring& operator=(const Wiring&) = delete;

    Program& program() { return program_; }
    Transcript& transcript() { return transcript_; }
    sim::VirtualInstrument& instrument() { return instrument_; }
    VirtualClock& virtualClock() { return virtualClock_; }
    // The recorder of the picture's lines (writes only while its lines are on).
    RecordingCanvas& recordingCanvas() { return recCanvas_; }
    // The transport and the clock as the program uses them (recorded when recording).
    UsbApi& usb() { return programUsb_; }
    Clock& clock() { return programClock_; }

  private:
    Transcript transcript_;
    VirtualClock virtualClock_;
    RealClock realClock_;
    Clock& clock_;
    sim::VirtualInstrument instrument_;
    NoUsbBackend noUsb_;
    UsbApi& transport_;
    BlankCanvas blank_;
    Canvas& picture_;
    RecordingUsbApi recUsb_;
    RecordingClock recClock_;
    RecordingUi recUi_;
    RecordingCanvas recCanvas_;
    UsbApi& programUsb_;
    Clock& programClock_;
    Program program_;
};

}  // namespace tunx
