// Whole-file reading and atomic replacing for the box commands (plaintext/files.h with Qt's
// paths and bytes), failing with the program's own messages.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

#include "plaintext/files.h"
#include "plaintext/lines.h"

namespace textio {

using plaintext::kCannotCreateFile;
using plaintext::kCannotOpenFile;

// The largest text the program reads: a file loaded into either box, bagsolve's input (16 MiB).
inline constexpr qint64 kMaxTextFileBytes = plaintext::kMaxTextFileBytes;

using plaintext::FileCreateError;
using plaintext::FileOpenError;
using plaintext::FileTooLargeError;
using plaintext::FileWriteError;

// The whole content of a regular file of at most maxBytes bytes; a larger one fails with
// FileTooLargeError(tooLargeMessage). Other programs may read the file meanwhile.
QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::string& tooLargeMessage);

// plaintext::ReplaceFile for a QString path.
void ReplaceFile(const QString& path, const QByteArray& bytes,
                 const std::string& writeErrorMessage);

}  // namespace textio
