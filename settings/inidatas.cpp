#include "settings/inidatas.h"

#include <cstdio>
#include <exception>
#include <system_error>
#include <utility>

#include "base/convert.h"
#include "safefile/replace.h"
#include "settings/location.h"
#include "settings/profile.h"
#include "settings/profilefile.h"

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kKey = "bChinese";
constexpr const char* kUnableToWrite = "Unable to write to %s";
constexpr const char* kTooLarge = "Settings file %s is larger than 1 MiB and was left unchanged";
static_assert(settings::kMaxSettingsFileBytes == 1 << 20, "the message names the limit");

std::function<void(const std::string&)>& WriteFailureHandler() {
  static std::function<void(const std::string&)> handler;
  return handler;
}

void ReportWriteFailure(const std::string& message) {
  try {
    if (const auto& handler = WriteFailureHandler()) {
      handler(message);
      return;
    }
  } catch (...) {
    // The handler failed too; standard error is the last place the message can go.
  }
  std::fprintf(stderr, "%s\n", message.c_str());
}

}  // namespace

TIniDatas::TIniDatas() {
  SetDefault();
  MakeIniFileName();
  LoadIni();
}

TIniDatas::~TIniDatas() {
  try {
    SaveIni();
  } catch (const std::exception& error) {
    ReportWriteFailure(error.what());
  } catch (...) {
    ReportWriteFailure(bagfunc::FormatMessage(kUnableToWrite, IniFileName));
  }
}

void TIniDatas::SetDefault() {
  IniFileName.clear();
  bChinese = true;
}

std::string TIniDatas::MakeIniFileName() {
  IniFileName = settings::SettingsFilePath();
  return IniFileName;
}

std::int32_t TIniDatas::LoadIni() {
  if (IniFileName.empty()) return -1;
  // A file that is missing, cannot be read or is too large reads as empty: the default wins.
  settings::ProfileFile file;
  if (file.Open(settings::SettingsReadPath(IniFileName)) != settings::ProfileFile::Opened::Yes)
    return 0;
  try {
    const std::string text = settings::ReadProfileString(file, kSection, kKey);
    bChinese = bagfunc::TryConvertHeader(text).value_or(1) != 0;
  } catch (const std::system_error&) {
    bChinese = true;
  }
  return 0;
}

std::int32_t TIniDatas::SaveIni() {
  if (IniFileName.empty()) return -1;
  const std::string unableToWrite = bagfunc::FormatMessage(kUnableToWrite, IniFileName);
  if (!settings::MakeSettingsFolder(IniFileName)) throw EIniFileException(unableToWrite);
  settings::ProfileFile file;
  settings::BytesSource nothing("");
  settings::ProfileSource* source = &file;
  switch (file.Open(IniFileName)) {
    case settings::ProfileFile::Opened::Yes:
      break;
    case settings::ProfileFile::Opened::Missing:
      source = &nothing;  // only a missing file may start from nothing
      break;
    case settings::ProfileFile::Opened::Unreadable:
      // A file that exists but cannot be read would lose its other sections if it were
      // rewritten from what little we know.
      throw EIniFileException(unableToWrite);
    case settings::ProfileFile::Opened::TooLarge:
      throw EIniFileException(bagfunc::FormatMessage(kTooLarge, IniFileName));
  }
  // The old file streams through the editor into the new one, a line at a time.
  const auto produce = [&](safefile::Output& output) {
    settings::WriteProfileString(
        *source, [&output](std::string_view bytes) { output.Write(bytes); }, kSection, kKey,
        bChinese ? "1" : "0");
  };
  safefile::SaveResult saved;
  try {
    saved = safefile::ReplaceFile(IniFileName, produce);
  } catch (const std::system_error&) {
    throw EIniFileException(unableToWrite);  // the old file failed while read: it stays as it was
  }
  if (saved.failure == safefile::SaveFailure::kDamaged) {
    throw EIniFileException(unableToWrite + "\n" +
                            bagfunc::FormatMessage(safefile::kDamagedNote, IniFileName));
  }
  if (saved.Failed()) throw EIniFileException(unableToWrite);
  return 0;
}

void TIniDatas::SetWriteFailureHandler(std::function<void(const std::string&)> handler) {
  WriteFailureHandler() = std::move(handler);
}
