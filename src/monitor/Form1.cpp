#include "monitor/Form1.h"

namespace tunx {

Form1::Form1(SharedState& state) : Window("Form1", kMonitorCaption), s_(state) {
    on("Form_Activate", [this] { Form_Activate(); });
}

}  // namespace tunx
