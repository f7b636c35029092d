// Placeholder definitions until the panel handlers land. Delete when implemented.
#include "generator/frmMain.h"

namespace tunx {
void frmMain::ModeSelect_Click() {}
void frmMain::arbit_Click() {}
void frmMain::atten_Click() {}
void frmMain::tbsgaten_Change() {}
void frmMain::undersmon_Click() {}
void frmMain::lowgain_Click() {}
void frmMain::compon_Click() {}
void frmMain::ampgain_Change() {}
void frmMain::MenuBar_SaveCfg_Click() {}
void frmMain::MenuBar_LoadCfg_Click() {}
}  // namespace tunx

#include "generator/Validation.h"
namespace tunx {
std::string InputValidation(Window&, Link&, const std::string&) { return "Ok"; }
}  // namespace tunx
