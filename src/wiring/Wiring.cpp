#include "wiring/Wiring.h"

namespace tunx {

Wiring::Wiring(const WiringOptions& options, Ui& ui, Canvas* picture)
    : transcript_(options.transcriptOut),
      clock_(options.fast ? static_cast<Clock&>(virtualClock_) : realClock_),
      instrument_(clock_),
      transport_(options.simulate            ? static_cast<UsbApi&>(instrument_)
                 : options.device != nullptr ? *options.device
                                             : noUsb_),
      picture_(picture != nullptr ? *picture : blank_),
      recUsb_(transport_, transcript_),
      recClock_(clock_, transcript_),
      recUi_(ui, transcript_),
      recCanvas_(picture_, transcript_),
      programUsb_(options.record ? static_cast<UsbApi&>(recUsb_) : transport_),
      programClock_(options.record ? static_cast<Clock&>(recClock_) : clock_),
      program_(programUsb_, programClock_, options.record ? static_cast<Ui&>(recUi_) : ui,
               options.record ? static_cast<Canvas&>(recCanvas_) : picture_, options.installDir,
               options.groupSeparator) {
    HostSettings& host = program_.state().host;
    host.userDataDir = options.userDataDir;
    host.serial = options.serial;
}

}  // namespace tunx
