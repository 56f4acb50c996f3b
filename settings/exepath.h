// Where the running program lives; the settings file and the help file sit beside it.
#pragma once

#include <string>
#include <string_view>

namespace settings {

// The running program's full path (UTF-8), or the path set by SetExecutablePath.
std::string ExecutablePath();

// Makes the program seem to run from another path (tests use a temporary folder).
void SetExecutablePath(std::string path);

// The settings file's path for an executable path: the extension (from the last "." after the
// last separator) replaced by ".ini", or ".ini" appended when there is none.
std::string IniPathFor(std::string_view exePath);

}  // namespace settings
