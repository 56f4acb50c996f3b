// The settings file as the editor reads it: a regular file of bounded size, opened so that
// nothing in its place (a pipe, a device) can stall the program.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "settings/profile.h"

namespace settings {

// A larger settings file is neither read nor written: no settings file needs a megabyte, and
// the program must start and end in a moment whatever lies beside it.
inline constexpr std::size_t kMaxSettingsFileBytes = 1024 * 1024;

class ProfileFile : public ProfileSource {
 public:
  enum class Opened { Yes, Missing, Unreadable, TooLarge };

  ProfileFile() = default;
  ~ProfileFile() override;
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  // Missing: no such file (the folder may still lack); Unreadable: no access, or a folder,
  // pipe or device in the file's place; TooLarge: more than kMaxSettingsFileBytes.
  Opened Open(const std::string& path);

  // A read error, or a file that grows past the limit while it is read, throws
  // std::system_error.
  std::size_t Read(std::span<char> buffer) override;
  void Rewind() override;

 private:
  int fd_ = -1;
  std::size_t taken_ = 0;  // bytes read since the last rewind
};

}  // namespace settings
