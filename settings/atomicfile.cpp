#include "settings/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

namespace settings {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

// Closes a descriptor and removes the temporary file unless the rename has taken it over.
class TempFile {
 public:
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  std::error_code Create(const std::string& target) {
    // Named after the file it replaces, shortened so that a long name still fits the limit.
    const auto slash = target.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    const std::string stem = target.substr(0, nameAt) + "." + target.substr(nameAt, 100) + ".";
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string candidate = stem + std::to_string(device() % 1000000000u) + ".tmp";
      // Mode 0666 so that a new settings file gets the user's usual permissions (umask).
      fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        path_ = std::move(candidate);
        return {};
      }
      if (errno != EEXIST) return LastError();
    }
    return std::make_error_code(std::errc::file_exists);
  }
  std::error_code Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        return LastError();
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
  }
  std::error_code CopyOwnership(const struct stat& old) {
    if (::fchmod(fd_, old.st_mode & 07777) != 0) return LastError();
    // Only the superuser may give the file away; anyone else keeps it as their own.
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0 && errno != EPERM) return LastError();
    return {};
  }
  std::error_code Finish() {
    if (::fsync(fd_) != 0) return LastError();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return LastError();
    return {};
  }
  std::error_code RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return LastError();
    path_.clear();
    return {};
  }

 private:
  int fd_ = -1;
  std::string path_;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a write to path really changes: the target of a symbolic link.
std::error_code ResolveTarget(const std::string& path, std::string& target) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
    target = path;
    return {};
  }
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return LastError();
  target = resolved;
  return {};
}

}  // namespace

std::error_code ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  // Non-blocking, so that a pipe or device in the file's place cannot stall the start.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return LastError();
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::make_error_code(std::errc::invalid_argument);
  }
  char buffer[16384];
  std::error_code error;
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      bytes.clear();
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return error;
}

std::error_code CheckReplaceable(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0)
    return errno == ENOENT ? std::error_code() : LastError();
  if (S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0)
    return std::make_error_code(std::errc::permission_denied);
  return {};
}

std::error_code ReplaceFile(const std::string& path, std::string_view bytes) {
  std::string target;
  if (auto error = ResolveTarget(path, target)) return error;
  if (auto error = CheckReplaceable(target)) return error;

  TempFile temp;
  if (auto error = temp.Create(target)) return error;
  if (auto error = temp.Write(bytes)) return error;
  struct stat old;
  if (::stat(target.c_str(), &old) == 0)
    if (auto error = temp.CopyOwnership(old)) return error;
  if (auto error = temp.Finish()) return error;
  if (auto error = temp.RenameTo(target)) return error;

  // The rename itself reaches the disk with the folder's entry.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

}  // namespace settings
