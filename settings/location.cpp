#include "settings/location.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "settings/exepath.h"

namespace settings {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRelativePath = "Trevana2023/Trevana2023.ini";

#ifdef TREVANA_PER_USER_SETTINGS
constexpr Location kBuildLocation = Location::PerUser;
#else
constexpr Location kBuildLocation = Location::BesideExecutable;
#endif

std::optional<Location>& LocationOverride() {
  static std::optional<Location> location;
  return location;
}

// An environment variable that holds an absolute path, or nothing.
std::optional<std::string> AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::string(value);
}

std::string HomeFolder() {
  if (auto home = AbsoluteFromEnvironment("HOME")) return *home;
  const passwd* entry = ::getpwuid(::getuid());
  if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') return entry->pw_dir;
  return {};
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace

Location CurrentLocation() { return LocationOverride().value_or(kBuildLocation); }

void SetLocation(std::optional<Location> location) { LocationOverride() = location; }

std::string SettingsFilePath() {
  if (CurrentLocation() == Location::BesideExecutable) return IniPathFor(ExecutablePath());
  return UserSettingsPath();
}

std::string SettingsReadPath(const std::string& settingsFile) {
  if (CurrentLocation() == Location::BesideExecutable || Exists(settingsFile)) return settingsFile;
  const std::string fallback = AdministratorDefaultPath();
  return fallback.empty() ? settingsFile : fallback;
}

bool MakeSettingsFolder(const std::string& settingsFile) {
  if (CurrentLocation() == Location::BesideExecutable) return true;
  const fs::path folder = fs::path(settingsFile).parent_path();
  fs::path partial;
  for (const fs::path& part : folder) {
    partial /= part;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  std::error_code error;
  return fs::is_directory(folder, error);
}

std::string UserSettingsPath() {
  fs::path base;
  if (auto config = AbsoluteFromEnvironment("XDG_CONFIG_HOME")) {
    base = *config;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    base = fs::path(home) / ".config";
  }
  return (base / kRelativePath).string();
}

std::string AdministratorDefaultPath() {
  const char* value = std::getenv("XDG_CONFIG_DIRS");
  const std::string_view folders = value != nullptr && value[0] != '\0' ? value : "/etc/xdg";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string_view::npos) end = folders.size();
    const std::string_view folder = folders.substr(start, end - start);
    if (!folder.empty() && folder.front() == '/') {
      const std::string path = (fs::path(folder) / kRelativePath).string();
      if (IsFile(path)) return path;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace settings
