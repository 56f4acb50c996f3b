#include "plaintext/files.h"

#include "safefile/readfile.h"
#include "safefile/replace.h"

namespace plaintext {

FileOpenError::FileOpenError(std::string_view path)
    : Error(bagfunc::FormatMessage(kCannotOpenFile, path)) {}

FileCreateError::FileCreateError(std::string_view path)
    : Error(bagfunc::FormatMessage(kCannotCreateFile, path)) {}

std::string ReadFileBytes(const std::string& path, std::int64_t maxBytes,
                          const std::string& tooLargeMessage) {
  std::string bytes;
  const auto error = safefile::ReadFile(path, static_cast<std::size_t>(maxBytes), bytes);
  if (error == std::errc::file_too_large) throw FileTooLargeError(tooLargeMessage);
  if (error) throw FileOpenError(path);
  return bytes;
}

void ReplaceFile(const std::string& path, std::string_view bytes,
                 const std::string& writeErrorMessage) {
  const auto result = safefile::ReplaceFile(path, bytes);
  switch (result.failure) {
    case safefile::SaveFailure::kNone:
      return;
    case safefile::SaveFailure::kCreate:
      throw FileCreateError(path);
    case safefile::SaveFailure::kWrite:
      throw FileWriteError(writeErrorMessage);
    case safefile::SaveFailure::kDamaged:
      throw FileWriteError(writeErrorMessage + "\n" +
                           bagfunc::FormatMessage(safefile::kDamagedNote, path));
  }
}

}  // namespace plaintext
