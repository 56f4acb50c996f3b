// The one temporary folder of the tests: private to a test, removed with everything in it when
// the object goes. ProgramFolder also makes the program seem to run from it, so the settings
// file and the help file are looked for there.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace testsupport {

class TempFolder {
 public:
  TempFolder();  // a test cannot go on without its folder: aborts when none can be made
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  QString Path() const { return dir_.path(); }
  // name relative to the folder; an absolute name stays as it is
  QString File(const QString& name) const;

  // Creates or replaces the file (name relative to the folder); false when it cannot.
  bool Write(const QString& name, const QByteArray& bytes) const;
  // The file's bytes, or nothing when it cannot be read.
  std::optional<QByteArray> Read(const QString& name) const;
  // Names of everything in the folder, sorted: shows that nothing was left behind.
  QStringList Names() const;

 private:
  QTemporaryDir dir_;
};

// The program seems to run from <folder>/Trevana2023 while this object lives.
class ProgramFolder : public TempFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();

  QString ExePath() const { return File(QStringLiteral("Trevana2023")); }
  QString IniPath() const { return File(QStringLiteral("Trevana2023.ini")); }
  // The settings file's bytes, or an empty array when there is none.
  QByteArray IniBytes() const { return Read(IniPath()).value_or(QByteArray()); }
  void WriteIni(const QByteArray& bytes) const { Write(IniPath(), bytes); }
};

}  // namespace testsupport
