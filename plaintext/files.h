// Whole-file reading and atomic replacing, failing with the program's own messages. Paths are
// the system's bytes (UTF-8 on the systems the program runs on); messages show them as they
// are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/errors.h"

namespace plaintext {

inline constexpr char kCannotOpenFile[] = "Cannot open file %s";
inline constexpr char kCannotCreateFile[] = "Cannot create file %s";

// A file that cannot be opened or read: missing, no access, a folder, a device.
class FileOpenError : public bagfunc::Error {
 public:
  explicit FileOpenError(std::string_view path);
};

// A file that cannot be created or replaced.
class FileCreateError : public bagfunc::Error {
 public:
  explicit FileCreateError(std::string_view path);
};

// A file larger than the caller takes; the message is the caller's.
class FileTooLargeError : public bagfunc::Error {
 public:
  using Error::Error;
};

// Bytes the disk did not take; the message is the caller's.
class FileWriteError : public bagfunc::Error {
 public:
  using Error::Error;
};

// The whole content of a regular file of at most maxBytes bytes; a larger one fails with
// FileTooLargeError(tooLargeMessage). Other programs may read the file meanwhile.
std::string ReadFileBytes(const std::string& path, std::int64_t maxBytes,
                          const std::string& tooLargeMessage);

// Replaces the file's content by bytes (safefile::ReplaceFile: atomic where the folder allows
// it, else in place after reserving the space). FileCreateError when no file may be written
// there, FileWriteError(writeErrorMessage) when the disk refuses the bytes; the old file is
// then as it was. Only a failure half way through an in-place write can damage it: the
// message then says so on a second line.
void ReplaceFile(const std::string& path, std::string_view bytes,
                 const std::string& writeErrorMessage);

}  // namespace plaintext
