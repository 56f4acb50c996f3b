#include "safefile/readfile.h"

#include "safefile/descriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace safefile {

namespace {

std::error_code ReadWhole(const std::string& path, std::size_t maxBytes,
                          const std::function<char*(std::size_t)>& resize) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.IsOpen()) return LastError();
  struct stat info;
  if (::fstat(file.Get(), &info) != 0) return LastError();
  if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
  const auto fileSize = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
  const auto tooLarge = std::make_error_code(std::errc::file_too_large);
  if (fileSize > maxBytes) return tooLarge;

  // One byte more than the size says, to see a file that grew; more room only if it did.
  std::size_t capacity = fileSize + 1;
  std::size_t size = 0;
  char* data = resize(capacity);
  for (;;) {
    const ssize_t got = ::read(file.Get(), data + size, capacity - size);
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
    if (size > maxBytes) return tooLarge;
    if (size == capacity) {
      capacity = std::min(std::max(capacity * 2, std::size_t{4096}), maxBytes + 1);
      data = resize(capacity);
    }
  }
  resize(size);
  return {};
}

}  // namespace

std::error_code ReadFileInto(const std::string& path, std::size_t maxBytes,
                             const std::function<char*(std::size_t)>& resize) {
  const std::error_code error = ReadWhole(path, maxBytes, resize);
  if (error) resize(0);
  return error;
}

}  // namespace safefile
