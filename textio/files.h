// Whole-file reading and atomic replacing for the box commands, failing with the program's
// own messages.
#pragma once

#include "engine/errors.h"

#include <QByteArray>
#include <QString>

#include <string>

namespace textio {

inline constexpr char kCannotOpenFile[] = "Cannot open file %s";
inline constexpr char kCannotCreateFile[] = "Cannot create file %s";

// The largest text the program reads: a file loaded into either box, bagsolve's input (16 MiB).
inline constexpr qint64 kMaxTextFileBytes = 16LL * 1024 * 1024;

// A file that cannot be opened or read: missing, no access, a folder, a device.
class FileOpenError : public bagfunc::Error {
 public:
  explicit FileOpenError(const QString& path);
};

// A file that cannot be created or replaced.
class FileCreateError : public bagfunc::Error {
 public:
  explicit FileCreateError(const QString& path);
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
QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::string& tooLargeMessage);

// Replaces the file's content by bytes (safefile::ReplaceFile: atomic where the folder allows
// it, else in place after reserving the space). FileCreateError when no file may be written
// there, FileWriteError(writeErrorMessage) when the disk refuses the bytes; the old file is
// then as it was. Only a failure half way through an in-place write can damage it: the
// message then says so on a second line.
void ReplaceFile(const QString& path, const QByteArray& bytes,
                 const std::string& writeErrorMessage);

}  // namespace textio
