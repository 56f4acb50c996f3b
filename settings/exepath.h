// Where the running program lives; the settings file and the help file sit beside it.
#pragma once

#include <string>
#include <string_view>

namespace settings {

// The running program's full path (UTF-8), or the path set by SetExecutablePath.
std::string ExecutablePath();

// Makes the program seem to run from another path (tests use a temporary folder); an empty
// path removes the override again.
void SetExecutablePath(std::string path);

// Which characters end a folder name: "/" everywhere; on Windows also "\" and the colon of a
// drive letter (any colon counts, as no file name may hold one).
enum class PathStyle { Posix, Windows };
#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// The settings file's path for an executable path: the extension (from the last "." after the
// last separator) replaced by ".ini", or ".ini" appended when there is none.
std::string IniPathFor(std::string_view exePath);
std::string IniPathFor(std::string_view exePath, PathStyle style);

}  // namespace settings
