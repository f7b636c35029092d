#pragma once

#include <QString>
#include <string>

namespace tunx::app {

// Where the program keeps the user's settings (QSettings): ~/.config/tunx4k/tunx4k.conf.
inline constexpr const char* kSettingsOrganization = "tunx4k";
inline constexpr const char* kSettingsApplication = "tunx4k";

// The application name the settings are kept under: with an instrument chosen by its serial
// number (--serial), that instrument's own (~/.config/tunx4k/SERIAL.conf, characters a file
// name should not have replaced by '_'), so that two programs at two instruments keep theirs.
QString settingsApplication(const std::string& serial);

// The folder a file dialog starts in: the folder of the file last chosen in one, kept in the
// user's settings from run to run while it exists; else the user's documents folder; else the
// home folder. Never the installation folder, which an installed program cannot write to.
QString dialogStartFolder();

// Keeps the folder of a file chosen in a dialog for the next one.
void rememberDialogFolder(const QString& chosenFile);

}  // namespace tunx::app
