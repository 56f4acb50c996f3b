#include "settings/exepath.h"

#include <QCoreApplication>
#include <filesystem>
#include <optional>
#include <system_error>

namespace settings {
namespace {

std::optional<std::string>& PathOverride() {
  static std::optional<std::string> path;
  return path;
}

bool IsSeparator(char c, PathStyle style) {
  if (c == '/') return true;
  return style == PathStyle::Windows && (c == '\\' || c == ':');
}

}  // namespace

std::string ExecutablePath() {
  if (const auto& path = PathOverride()) return *path;
  if (QCoreApplication::instance() != nullptr)
    return QCoreApplication::applicationFilePath().toStdString();
  // Before the application object exists Qt knows no path; the kernel still does.
  std::error_code error;
  auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.string();
}

void SetExecutablePath(std::string path) {
  if (path.empty())
    PathOverride().reset();
  else
    PathOverride() = std::move(path);
}

std::string IniPathFor(std::string_view exePath, PathStyle style) {
  std::size_t stem = exePath.size();
  for (std::size_t i = exePath.size(); i > 0; --i) {
    const char c = exePath[i - 1];
    if (IsSeparator(c, style)) break;
    if (c == '.') {
      stem = i - 1;
      break;
    }
  }
  std::string path(exePath.substr(0, stem));
  path += ".ini";
  return path;
}

std::string IniPathFor(std::string_view exePath) { return IniPathFor(exePath, kNativePathStyle); }

}  // namespace settings
