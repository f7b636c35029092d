// Placeholder definitions until the command buttons land. Delete when implemented.
#include "generator/frmMain.h"

namespace tunx {
void frmMain::RefreshBtn_Click() {}
void frmMain::RUN_Click() {}
void frmMain::STOP_Click() {}
}  // namespace tunx
