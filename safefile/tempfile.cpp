#include "safefile/tempfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <random>
#include <string_view>

namespace safefile {
namespace {

constexpr std::size_t kNameShownInTemporary = 100;  // a long name still fits the limit
constexpr std::string_view kTemporarySuffix = ".tmp";

std::string TemporaryPrefix(const std::string& name) {
  return "." + name.substr(0, kNameShownInTemporary) + ".";
}

// ".<name>.<digits>.tmp" for this name, and nothing else.
bool IsTemporaryOf(std::string_view entry, const std::string& prefix) {
  if (!entry.starts_with(prefix) || !entry.ends_with(kTemporarySuffix)) return false;
  entry.remove_prefix(prefix.size());
  entry.remove_suffix(kTemporarySuffix.size());
  if (entry.empty()) return false;
  for (const char c : entry)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string RandomDigits() {
  static std::random_device device;
  return std::to_string(device() % 1000000000u);
}

// Any open file description of the file keeps this lock until the writer closes it or dies.
void LockWhileInUse(int fd) { ::flock(fd, LOCK_EX | LOCK_NB); }

}  // namespace

TempFile::~TempFile() {
  fd_.Reset();
  if (!moved_ && !tempName_.empty()) ::unlinkat(folderFd_, tempName_.c_str(), 0);
}

std::error_code TempFile::Create(int folderFd, const std::string& name) {
  folderFd_ = folderFd;
  name_ = name;
  const int unnamed = ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (unnamed >= 0) {
    fd_ = Descriptor(unnamed);
    LockWhileInUse(unnamed);
    return {};
  }
  // Only a file system without unnamed files falls back to names; a refusal stands.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return LastError();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryPrefix(name) + RandomDigits() + std::string(kTemporarySuffix);
    const int fd = ::openat(folderFd, candidate.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0) {
      fd_ = Descriptor(fd);
      LockWhileInUse(fd);
      tempName_ = std::move(candidate);
      return {};
    }
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code TempFile::Finish() {
  if (::fsync(fd_.Get()) != 0) return LastError();
  // An unnamed file gets its name while still open: closing it first would delete it.
  return IsNamed() ? std::error_code() : LinkUnnamed();
}

std::error_code TempFile::LinkUnnamed() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_.Get());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryPrefix(name_) + RandomDigits() + std::string(kTemporarySuffix);
    int linked = ::linkat(AT_FDCWD, self.c_str(), folderFd_, candidate.c_str(), AT_SYMLINK_FOLLOW);
    // Without /proc, the superuser may still link the descriptor itself.
    if (linked != 0 && errno == ENOENT)
      linked = ::linkat(fd_.Get(), "", folderFd_, candidate.c_str(), AT_EMPTY_PATH);
    if (linked == 0) {
      tempName_ = std::move(candidate);
      return {};
    }
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code TempFile::MoveOver() {
  // Still open, so still locked: no other save takes the file for a stale one meanwhile.
  if (::renameat(folderFd_, tempName_.c_str(), folderFd_, name_.c_str()) != 0) return LastError();
  moved_ = true;
  fd_.Reset();  // every byte is on the disk already (Finish)
  return {};
}

void RemoveStaleTemporaries(int folderFd, const std::string& name) {
  const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return;  // a folder that cannot be listed keeps what it holds
  DIR* folder = ::fdopendir(listFd);
  if (folder == nullptr) {
    ::close(listFd);
    return;
  }
  const std::string prefix = TemporaryPrefix(name);
  while (const dirent* entry = ::readdir(folder)) {
    if (!IsTemporaryOf(entry->d_name, prefix)) continue;
    int fd = ::openat(folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) fd = ::openat(folderFd, entry->d_name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    const Descriptor file(fd);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) continue;
    // A writer that is still at work holds the lock; a dead one no longer does.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlinkat(folderFd, entry->d_name, 0);
  }
  ::closedir(folder);
}

}  // namespace safefile
