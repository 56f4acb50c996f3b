#include "safefile/replace.h"

#include "safefile/descriptor.h"
#include "safefile/tempfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>

namespace safefile {
namespace {

constexpr std::size_t kWriteBlock = 1 << 16;

std::error_code Errc(std::errc code) { return std::make_error_code(code); }
std::error_code Errno(int code) { return {code, std::generic_category()}; }

SaveResult Fail(SaveFailure failure, std::error_code reason,
                SaveMethod method = SaveMethod::kReplaced) {
  return {failure, reason, method};
}

bool IsDiskFull(std::error_code error) {
  return error == std::errc::no_space_on_device || error.value() == EDQUOT ||
         error == std::errc::file_too_large || error == std::errc::io_error;
}

// Passes the content on to a descriptor in blocks, or keeps all of it when there is none yet.
class BufferedOutput : public Output {
 public:
  explicit BufferedOutput(int fd) : fd_(fd) {}

  void Write(std::string_view bytes) override {
    if (error_) return;
    if (fd_ >= 0 && buffer_.empty() && bytes.size() >= kWriteBlock) {
      error_ = WriteAll(fd_, bytes);
      return;
    }
    buffer_.append(bytes);
    if (fd_ >= 0 && buffer_.size() >= kWriteBlock) Drain();
  }
  std::error_code Flush() {
    if (fd_ >= 0 && !error_) Drain();
    return error_;
  }
  const std::string& Collected() const { return buffer_; }

 private:
  void Drain() {
    error_ = WriteAll(fd_, buffer_);
    buffer_.clear();
  }

  int fd_;
  std::string buffer_;
  std::error_code error_;
};

// The file a write to path changes, split into its folder and its name there.
struct Target {
  std::string folder;
  std::string name;
};

std::error_code Resolve(const std::string& path, Target& target) {
  std::string resolved = path;
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr) return LastError();
    resolved = buffer;
  }
  const auto slash = resolved.rfind('/');
  if (slash == std::string::npos) {
    target = {".", resolved};
  } else {
    target = {slash == 0 ? "/" : resolved.substr(0, slash), resolved.substr(slash + 1)};
  }
  if (target.name.empty()) return Errc(std::errc::is_a_directory);
  return {};
}

// Whether an existing file may be written: besides what the system allows, a file without any
// write permission bit counts as read-only for every user, the superuser included.
std::error_code CheckWritable(int folderFd, const std::string& name, const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return Errc(std::errc::is_a_directory);
  if (!S_ISREG(info.st_mode)) return Errc(std::errc::invalid_argument);
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return Errc(std::errc::permission_denied);
  if (::faccessat(folderFd, name.c_str(), W_OK, AT_EACCESS) != 0) return LastError();
  return {};
}

// In a folder with the sticky bit only the owners of the file or the folder may rename over
// the file; anyone else who may write it has to write it in place.
bool StickyFolderForbidsRename(int folderFd, const struct stat& file) {
  struct stat folder;
  if (::fstat(folderFd, &folder) != 0 || (folder.st_mode & S_ISVTX) == 0) return false;
  const uid_t me = ::geteuid();
  return me != 0 && me != file.st_uid && me != folder.st_uid;
}

// The old file's permission bits, and its owner and group as far as this user may give them.
std::error_code CopyOwnership(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    if (errno != EPERM) return LastError();
    if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM)
      return LastError();
  }
  // After the owner: a change of owner clears the set-user-ID bit.
  if (::fchmod(fd, old.st_mode & 07777) != 0) return LastError();
  return {};
}

void SyncFolder(int folderFd) {
  const Descriptor folder(::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.IsOpen()) ::fsync(folder.Get());
}

SaveResult WriteInPlace(int folderFd, const std::string& name,
                        const std::function<void(Output&)>& produce) {
  const SaveMethod method = SaveMethod::kInPlace;
  // All of the content first: nothing of the old file is touched before it is complete.
  BufferedOutput collected(-1);
  produce(collected);
  const std::string& bytes = collected.Collected();
  const auto size = static_cast<off_t>(bytes.size());

  Descriptor file(::openat(folderFd, name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!file.IsOpen()) return Fail(SaveFailure::kCreate, LastError(), method);
  struct stat old;
  if (::fstat(file.Get(), &old) != 0) return Fail(SaveFailure::kCreate, LastError(), method);
  // Puts the old size back after a failure that only added to the end of the file.
  const auto undoGrowth = [&] {
    struct stat now;
    if (::fstat(file.Get(), &now) == 0 && now.st_size != old.st_size)
      ::ftruncate(file.Get(), old.st_size);
  };
  if (size > 0) {
    if (const int error = ::posix_fallocate(file.Get(), 0, size); error != 0) {
      undoGrowth();
      return Fail(SaveFailure::kWrite, Errno(error), method);
    }
  }
  std::size_t written = 0;
  if (auto error = WriteAll(file.Get(), bytes, &written)) {
    if (written > 0) return Fail(SaveFailure::kDamaged, error, method);
    undoGrowth();
    return Fail(SaveFailure::kWrite, error, method);
  }
  if (::ftruncate(file.Get(), size) != 0 || ::fsync(file.Get()) != 0)
    return Fail(SaveFailure::kDamaged, LastError(), method);
  if (auto error = file.Close()) return Fail(SaveFailure::kDamaged, error, method);
  return {SaveFailure::kNone, {}, method};
}

}  // namespace

SaveResult ReplaceFile(const std::string& path, const std::function<void(Output&)>& produce) {
  Target target;
  if (auto error = Resolve(path, target)) return Fail(SaveFailure::kCreate, error);
  const Descriptor folder(
      ::open(target.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!folder.IsOpen()) return Fail(SaveFailure::kCreate, LastError());
  const int folderFd = folder.Get();

  struct stat old;
  const bool exists = ::fstatat(folderFd, target.name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) return Fail(SaveFailure::kCreate, LastError());
  if (exists) {
    if (auto error = CheckWritable(folderFd, target.name, old))
      return Fail(SaveFailure::kCreate, error);
  }
  RemoveStaleTemporaries(folderFd, target.name);

  // A rename would split hard links and needs a folder this user may change.
  if (exists && (old.st_nlink > 1 || StickyFolderForbidsRename(folderFd, old)))
    return WriteInPlace(folderFd, target.name, produce);
  TempFile temp;
  if (auto error = temp.Create(folderFd, target.name)) {
    if (exists && (error == std::errc::permission_denied ||
                   error == std::errc::operation_not_permitted))
      return WriteInPlace(folderFd, target.name, produce);
    return Fail(IsDiskFull(error) ? SaveFailure::kWrite : SaveFailure::kCreate, error);
  }

  BufferedOutput output(temp.Fd());
  produce(output);
  if (auto error = output.Flush()) return Fail(SaveFailure::kWrite, error);
  if (exists) {
    if (auto error = CopyOwnership(temp.Fd(), old)) return Fail(SaveFailure::kCreate, error);
  }
  if (auto error = temp.Finish()) return Fail(SaveFailure::kWrite, error);
  if (auto error = temp.MoveOver()) return Fail(SaveFailure::kWrite, error);
  SyncFolder(folderFd);  // the rename itself reaches the disk with the folder's entry
  return {};
}

SaveResult ReplaceFile(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, [bytes](Output& output) { output.Write(bytes); });
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace safefile
