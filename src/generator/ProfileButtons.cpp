#include "dds/WaveRam.h"
#include "generator/frmMain.h"

namespace tunx {

void frmMain::loadfile_Click() {
    tunx::loadfile_Click(*this, link_);
}
void frmMain::SelectFile1_Click() {
    tunx::SelectFile1_Click(*this, link_);
}

}  // namespace tunx
