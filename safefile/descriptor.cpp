#include "safefile/descriptor.h"

#include <unistd.h>

namespace safefile {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.Release();
  }
  return *this;
}

int Descriptor::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void Descriptor::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::error_code Descriptor::Close() {
  if (fd_ < 0) return {};
  const int fd = Release();
  // Linux closes the descriptor even when close() fails; it must never be closed again.
  return ::close(fd) == 0 ? std::error_code() : LastError();
}

std::error_code WriteAll(int fd, std::string_view bytes, std::size_t* written) {
  std::size_t done = 0;
  std::error_code error;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      break;
    }
    if (n == 0) {  // no progress and no reason given: count it as a full disk
      error = std::make_error_code(std::errc::no_space_on_device);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (written != nullptr) *written = done;
  return error;
}

}  // namespace safefile
