#include "textio/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace textio {
namespace {

std::string NativeName(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

}  // namespace

FileOpenError::FileOpenError(const QString& path)
    : Error(trevana::FormatMessage(kCannotOpenFile, NativeName(path))) {}

FileCreateError::FileCreateError(const QString& path)
    : Error(trevana::FormatMessage(kCannotCreateFile, NativeName(path))) {}

QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::string& tooLargeMessage) {
  // Only regular files: opening a pipe would wait for a writer, a device may never end.
  if (!QFileInfo(path).isFile()) throw FileOpenError(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw FileOpenError(path);
  if (file.size() > maxBytes) throw FileTooLargeError(tooLargeMessage);
  // The file may grow while it is read: never take more than one byte past the limit.
  QByteArray bytes = file.read(maxBytes + 1);
  if (file.error() != QFileDevice::NoError) throw FileOpenError(path);
  if (bytes.size() > maxBytes) throw FileTooLargeError(tooLargeMessage);
  return bytes;
}

void ReplaceFile(const QString& path, const QByteArray& bytes,
                 const std::string& writeErrorMessage) {
  // A folder, pipe or device is never replaced by a file, whoever runs the program.
  if (const QFileInfo info(path); info.exists() && !info.isFile()) throw FileCreateError(path);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw FileCreateError(path);
  // commit() alone does not see every failed write: a write into the buffer succeeds and the
  // flush that fails later only sets the error state. Check each step before the rename.
  const bool written = file.write(bytes) == bytes.size() && file.flush() &&
                       file.error() == QFileDevice::NoError;
  if (!written) {
    file.cancelWriting();
    throw FileWriteError(writeErrorMessage);
  }
  if (!file.commit()) throw FileWriteError(writeErrorMessage);
}

}  // namespace textio
