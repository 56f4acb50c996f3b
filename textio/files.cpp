#include "textio/files.h"

#include <QFile>

#include "textio/gbk.h"

namespace textio {
namespace {

// The system's name for the file; on the systems the program runs on it is also the name a
// message shows (UTF-8, "/" separators).
std::string SystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QByteArray ReadFileBytes(const QString& path, qint64 maxBytes, const std::string& tooLargeMessage) {
  return FromBytes(plaintext::ReadFileBytes(SystemName(path), maxBytes, tooLargeMessage));
}

void ReplaceFile(const QString& path, const QByteArray& bytes,
                 const std::string& writeErrorMessage) {
  plaintext::ReplaceFile(SystemName(path), BytesView(bytes), writeErrorMessage);
}

}  // namespace textio
