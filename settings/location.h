// Where the settings file lives. A program run from its build folder or from a copied folder
// keeps it beside the executable (exepath.h); an installed program, built with the CMake option
// TREVANA_PER_USER_SETTINGS, keeps one file per user in the XDG configuration folders, whoever
// runs it, and never writes beside its executable.
#pragma once

#include <optional>
#include <string>

namespace settings {

enum class Location { BesideExecutable, PerUser };

// The build's choice, unless SetLocation chose another.
Location CurrentLocation();
// Tests choose the location; nullopt restores the build's choice.
void SetLocation(std::optional<Location> location);

// The settings file the program writes: beside the executable, or the per-user file. Empty
// when there is none (a user without a home folder).
std::string SettingsFilePath();

// The file to read the settings from: the settings file itself, except that a per-user file
// that does not exist yet gives way to the administrator's default, when there is one.
std::string SettingsReadPath(const std::string& settingsFile);

// Creates the missing folders above the per-user settings file, each readable by its owner
// only. True when the folder is there afterwards (or the file lives beside the executable).
bool MakeSettingsFolder(const std::string& settingsFile);

// The rules, from the environment as it stands:
// "$XDG_CONFIG_HOME/Trevana2023/Trevana2023.ini", or under "$HOME/.config" when the variable
// is unset, empty or not an absolute path (the XDG rule); the home folder from the user
// database when HOME is no absolute path either.
std::string UserSettingsPath();
// The first file "Trevana2023/Trevana2023.ini" under the folders of $XDG_CONFIG_DIRS
// (separated by ":", most important first; relative ones ignored), or under /etc/xdg when the
// variable is unset or empty. Empty when none exists.
std::string AdministratorDefaultPath();

}  // namespace settings
