#include "textio/files.h"

#include "safefile/readfile.h"
#include "safefile/replace.h"

#include <QDir>
#include <QFile>

namespace textio {
namespace {

std::string NativeName(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

std::string SystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

FileOpenError::FileOpenError(const QString& path)
    : Error(bagfunc::FormatMessage(kCannotOpenFile, NativeName(path))) {}

FileCreateError::FileCreateError(const QString& path)
    : Error(bagfunc::FormatMessage(kCannotCreateFile, NativeName(path))) {}

QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::string& tooLargeMessage) {
  QByteArray bytes;
  const auto error = safefile::ReadFile(SystemName(path), static_cast<std::size_t>(maxBytes), bytes);
  if (error == std::errc::file_too_large) throw FileTooLargeError(tooLargeMessage);
  if (error) throw FileOpenError(path);
  return bytes;
}

void ReplaceFile(const QString& path, const QByteArray& bytes,
                 const std::string& writeErrorMessage) {
  const auto result = safefile::ReplaceFile(
      SystemName(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  switch (result.failure) {
    case safefile::SaveFailure::kNone:
      return;
    case safefile::SaveFailure::kCreate:
      throw FileCreateError(path);
    case safefile::SaveFailure::kWrite:
      throw FileWriteError(writeErrorMessage);
    case safefile::SaveFailure::kDamaged:
      throw FileWriteError(writeErrorMessage + "\n" +
                           bagfunc::FormatMessage(safefile::kDamagedNote, NativeName(path)));
  }
}

}  // namespace textio
