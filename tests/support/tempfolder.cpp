#include "tests/support/tempfolder.h"

#include <QDir>
#include <QFile>

#include "settings/exepath.h"

namespace testsupport {

TempFolder::TempFolder() {
  if (!dir_.isValid()) qFatal("no temporary folder: %s", qPrintable(dir_.errorString()));
}

QString TempFolder::File(const QString& name) const { return QDir(Path()).filePath(name); }

bool TempFolder::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(File(name));
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

std::optional<QByteArray> TempFolder::Read(const QString& name) const {
  QFile file(File(name));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

QStringList TempFolder::Names() const {
  return QDir(Path()).entryList(
      QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

ProgramFolder::ProgramFolder() { settings::SetExecutablePath(ExePath().toStdString()); }
ProgramFolder::~ProgramFolder() { settings::SetExecutablePath(std::string()); }

}  // namespace testsupport
