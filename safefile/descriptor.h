// A file descriptor that closes itself, and the write loop every writer needs.
#pragma once

#include <cerrno>
#include <string_view>
#include <system_error>

namespace safefile {

inline std::error_code LastError() { return {errno, std::generic_category()}; }

class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release();
  void Reset();
  // Closes and reports what close() says: the last write error may only show here.
  std::error_code Close();

 private:
  int fd_ = -1;
};

// Writes every byte at the descriptor's position, going on after interrupted or short writes.
// written counts the bytes that reached the file before a failure.
std::error_code WriteAll(int fd, std::string_view bytes, std::size_t* written = nullptr);

}  // namespace safefile
