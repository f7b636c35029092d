#pragma once

#include <string>

#include "ports/Ui.h"
#include "state/SharedState.h"
#include "window/Window.h"

namespace tunx {

class frmMain;

// Texts of the File menu's configuration commands.
namespace config {
inline constexpr const char* kSaveTitle = "Save To File";
inline constexpr const char* kLoadTitle = "Load From File";
inline constexpr const char* kFilter = "Text files (*.TXT)|*.TXT|All Files (*.*)|*.*";
inline constexpr int kFilterIndex = 1;
inline constexpr const char* kMissingFile = " does not exist";
inline constexpr const char* kUnreadableFile = " could not be read";
inline constexpr const char* kSaveFailed =
    " could not be saved. A file already there under that name was left as it was.";
}  // namespace config

// The configuration text of the panel: one line per enabled check box ("name=value"), text
// box and drop-down list ("name = text", carriage returns removed), in the window's control
// order, each line ended by CR LF.
std::string ConfigText(const Window& panel);

// Writes the panel's configuration to filename. The new file is written completely beside the
// old one before it replaces it (a link keeps pointing at the new file); false when that
// failed, the old file then being untouched.
bool SaveConfigs(const std::string& filename, const Window& panel);

// Reads a configuration file into the panel's controls, with the side effects of a user's
// change, and lays the panel out when the mode line is read. Lines that name no entry control
// are skipped. False when the file could not be read, or has a line longer than 64 KB or more
// than 65,536 lines; nothing is applied then.
bool LoadConfigs(const std::string& filename, frmMain& panel, SharedState& state, Ui& ui);

// The File menu's "Save Configs As ..." and "Load Configs From ...".
void MenuBar_SaveCfg_Click(const Window& panel, Ui& ui);
void MenuBar_LoadCfg_Click(frmMain& panel, SharedState& state, Ui& ui);

}  // namespace tunx
