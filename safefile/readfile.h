// Reading a whole regular file, up to a size limit.
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <system_error>

namespace safefile {

inline constexpr std::size_t kNoSizeLimit = std::numeric_limits<std::size_t>::max() - 1;

// Reads the whole file into a buffer that resize(n) makes n bytes long and returns. Only a
// regular file is read: a folder, pipe or device fails with errc::invalid_argument (opening
// never waits for a pipe's writer). A file of more than maxBytes fails with
// errc::file_too_large, found from its size before anything is read and checked again while
// reading, as the file may grow. On failure the buffer is left empty.
std::error_code ReadFileInto(const std::string& path, std::size_t maxBytes,
                             const std::function<char*(std::size_t)>& resize);

// The same into any byte container with resize() and data(): std::string, QByteArray.
template <class Bytes>
std::error_code ReadFile(const std::string& path, std::size_t maxBytes, Bytes& bytes) {
  return ReadFileInto(path, maxBytes, [&bytes](std::size_t n) {
    bytes.resize(static_cast<decltype(bytes.size())>(n));
    return bytes.data();
  });
}

}  // namespace safefile
