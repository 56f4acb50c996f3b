#include "settings/profilefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace settings {
namespace {

[[noreturn]] void ThrowLastError(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

ProfileFile::~ProfileFile() {
  if (fd_ >= 0) ::close(fd_);
}

ProfileFile::Opened ProfileFile::Open(const std::string& path) {
  // Non-blocking, so that opening a pipe does not wait for a writer.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return errno == ENOENT ? Opened::Missing : Opened::Unreadable;
  struct stat info;
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return Opened::Unreadable;
  if (static_cast<std::size_t>(info.st_size) > kMaxSettingsFileBytes) return Opened::TooLarge;
  return Opened::Yes;
}

std::size_t ProfileFile::Read(std::span<char> buffer) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowLastError("read settings file");
    taken_ += static_cast<std::size_t>(got);
    if (taken_ > kMaxSettingsFileBytes)
      throw std::system_error(std::make_error_code(std::errc::file_too_large),
                              "settings file grew while read");
    return static_cast<std::size_t>(got);
  }
}

void ProfileFile::Rewind() {
  if (::lseek(fd_, 0, SEEK_SET) != 0) ThrowLastError("rewind settings file");
  taken_ = 0;
}

}  // namespace settings
